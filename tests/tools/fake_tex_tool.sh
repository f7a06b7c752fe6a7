#!/bin/sh
# Stands in for a TeX tool (called through a link named after it): records its name,
# working directory and arguments in $QUILLMERE_FAKE_TOOL_LOG, writes to both output
# streams as the real tools do, and exits with $QUILLMERE_FAKE_TOOL_STATUS (0 when unset).
name=${0##*/}
{
    printf 'tool=%s\n' "$name"
    printf 'cwd=%s\n' "$(pwd -P)"
    for argument in "$@"; do
        printf 'arg=%s\n' "$argument"
    done
    printf 'end\n'
} >> "$QUILLMERE_FAKE_TOOL_LOG"
printf 'This is fake %s\n' "$name"
printf '%s: a warning\n' "$name" >&2
exit "${QUILLMERE_FAKE_TOOL_STATUS:-0}"
