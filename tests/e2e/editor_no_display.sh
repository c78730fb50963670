#!/bin/sh
# Without a display the program says so in one line, points to the batch
# program, and fails. Usage: editor_no_display.sh PROGRAM
set -u
message=$(env -u DISPLAY "$1" 2>&1 >/dev/null)
status=$?
[ "$status" -ne 0 ] || { echo "FAIL: exit status 0" >&2; exit 1; }
[ "$(printf '%s\n' "$message" | wc -l)" -eq 1 ] || { echo "FAIL: not one line: $message" >&2; exit 1; }
printf '%s' "$message" | grep -qi 'display' || { echo "FAIL: no word of the display: $message" >&2; exit 1; }
printf '%s' "$message" | grep -q 'kelvo-batch' || { echo "FAIL: no pointer to kelvo-batch: $message" >&2; exit 1; }
echo "PASS: $message"
