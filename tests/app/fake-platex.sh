#!/bin/sh
# Stands in for pLaTeX: records its arguments in the folder it runs in, writes to both
# streams as the real one does, takes a moment, and leaves a DVI file.
printf '%s\n' "$@" > platex-arguments.txt
echo "This is a stand-in for pLaTeX, reading $1"
echo "LaTeX Warning: this one goes to standard error" >&2
sleep 0.2
: > "${1%.tex}.dvi"
exit 0
