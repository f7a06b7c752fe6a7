#!/bin/sh
# Captures the console output of the real TeX Live tools on the documents in this
# folder, as the editor runs them: unwrapped lines, nonstop, in the document's
# folder. Each document is compiled in a scratch copy, so no output file stays
# here; only the logs of the terminal output do. Run it again after changing a
# document, and update the expected findings in TexOutputReaderTest.cpp.
set -u
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export max_print_line=10000

# run CASE LOG COMMAND...: runs COMMAND in the scratch copy of CASE, its output to CASE/LOG.
run() {
    case_dir=$1 log=$2
    shift 2
    (cd "$scratch/$case_dir" && "$@") >"$here/$case_dir/$log" 2>&1
}

fresh() {
    rm -rf "${scratch:?}/$1"
    cp -R "$here/$1" "$scratch/$1"
    find "$scratch/$1" -name '*.log' -delete
}

for doc in utf8-error warnings; do
    fresh $doc
    run $doc platex-fle.log platex -interaction=nonstopmode -file-line-error -synctex=1 paper.tex
    run $doc platex.log platex -interaction=nonstopmode paper.tex
done
run warnings dvipdfmx.log dvipdfmx paper.dvi
run warnings dvips.log dvips -Ppdf paper.dvi

fresh sjis
run sjis platex-fle.log platex -kanji=sjis -interaction=nonstopmode -file-line-error -synctex=1 paper.tex
run sjis platex.log platex -kanji=sjis -interaction=nonstopmode paper.tex

fresh book
run book platex-fle.log platex -interaction=nonstopmode -file-line-error book.tex
run book platex.log platex -interaction=nonstopmode book.tex

fresh blanks
run blanks platex-fle.log platex -interaction=nonstopmode -file-line-error "main file.tex"
run blanks platex.log platex -interaction=nonstopmode "main file.tex"

fresh uplatex
run uplatex uplatex-fle.log uplatex -interaction=nonstopmode -file-line-error paper.tex
run uplatex upbibtex.log upbibtex paper
run uplatex pbibtex.log pbibtex paper
run uplatex uplatex.log uplatex -interaction=nonstopmode paper.tex
run uplatex dvipdfmx.log dvipdfmx paper.dvi
sed 's/refs/nothere/' "$scratch/uplatex/paper.aux" >"$scratch/uplatex/nodatabase.aux"
run uplatex pbibtex-nodatabase.log pbibtex nodatabase

fresh drivers
run drivers platex.log platex -interaction=nonstopmode special.tex
run drivers dvipdfmx-special.log dvipdfmx special.dvi
run drivers dvipdfmx-missing.log dvipdfmx missing.dvi
head -c 100 "$scratch/drivers/special.dvi" >"$scratch/drivers/broken.dvi"
run drivers dvipdfmx-broken.log dvipdfmx broken.dvi
run drivers dvips-missing.log dvips missing.dvi
run drivers dvips-broken.log dvips broken.dvi
run drivers dvips-special.log dvips special.dvi
