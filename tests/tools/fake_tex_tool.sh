#!/bin/sh
# Stands in for a TeX tool (called through a link named after it): records its name,
# working directory, arguments and max_print_line in $QUILLMERE_FAKE_TOOL_LOG, writes
# to both output streams as the real tools do, and exits with
# $QUILLMERE_FAKE_TOOL_STATUS (0 when unset); when $QUILLMERE_FAKE_FAILING_TOOL names
# a tool, only that tool exits with that status.
name=${0##*/}
{
    printf 'tool=%s\n' "$name"
    printf 'cwd=%s\n' "$(pwd -P)"
    for argument in "$@"; do
        printf 'arg=%s\n' "$argument"
    done
    printf 'max_print_line=%s\n' "${max_print_line-unset}"
    printf 'end\n'
} >> "$QUILLMERE_FAKE_TOOL_LOG"
printf 'This is fake %s\n' "$name"
printf '%s: a warning\n' "$name" >&2
status=${QUILLMERE_FAKE_TOOL_STATUS:-0}
if [ -n "$QUILLMERE_FAKE_FAILING_TOOL" ] && [ "$QUILLMERE_FAKE_FAILING_TOOL" != "$name" ]; then
    status=0
fi
exit "$status"
