#!/bin/sh
# Undo and redo from the keyboard in the real program, the "*" of the title,
# and the question before Quit throws an unsaved grid away.
# Usage: editor_undo.sh PROGRAM
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/editor_common.sh"
start_in_fresh_folder "$(pwd)/editor_undo" "$1"

# The slip tool, checked at start, one click on cell (12, 8).
xdotool mousemove --sync $((WX + 400)) $((WY + 500))
xdotool windowfocus --sync "$WID"
set -- $(cell_xy 12 8 40 20)
cx=$1
cy=$2
click_at "$cx" "$cy"
# Off the cell, so that the canvas redraws.
set -- $(cell_xy 20 15 40 20)
xdotool mousemove --sync "$1" "$2"
shot_when_colour "$out/painted.png" "$cx" "$((cy + 4))" 130 133 135 ||
    fail "the painted cell shows $(pixel_of "$out/painted.png" "$cx" "$((cy + 4))")"
title=$(xdotool getwindowname "$WID")
[ "$title" = "*Kelvo -Fluxeria v1.0" ] || fail "title after painting is '$title'"

# Ctrl+Z takes it back, Ctrl+Y brings it again, Ctrl+Z once more.
xdotool key ctrl+z
shot_when_colour "$out/undone.png" "$cx" "$((cy + 4))" 217 219 255 ||
    fail "after Ctrl+Z the cell shows $(pixel_of "$out/undone.png" "$cx" "$((cy + 4))")"
title=$(xdotool getwindowname "$WID")
[ "$title" = "Kelvo -Fluxeria v1.0" ] || fail "title after undo is '$title'"
xdotool key ctrl+y
shot_when_colour "$out/redone.png" "$cx" "$((cy + 4))" 130 133 135 ||
    fail "after Ctrl+Y the cell shows $(pixel_of "$out/redone.png" "$cx" "$((cy + 4))")"

# Quit with the grid unsaved: the question comes; Cancel keeps the program,
# Discard ends it with status 0.
xdotool key alt+F4
DID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Unsaved Changes$' | head -n 1)
[ -n "$DID" ] || fail "Quit did not ask about the unsaved changes"
sleep 0.3
import -window root "$out/question.png"
eval "$(xdotool getwindowgeometry --shell "$DID")"
xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
xdotool windowfocus --sync "$DID"
xdotool key Escape
sleep 0.5
kill -0 "$PROGRAM_PID" 2>/dev/null || fail "Cancel ended the program"
xdotool mousemove --sync $((WX + 400)) $((WY + 500))
xdotool windowfocus --sync "$WID"
xdotool key alt+F4
DID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Unsaved Changes$' | head -n 1)
[ -n "$DID" ] || fail "the second Quit did not ask"
eval "$(xdotool getwindowgeometry --shell "$DID")"
xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
xdotool windowfocus --sync "$DID"
xdotool key alt+d
expect_clean_exit Discard
echo "PASS: undone, redone, asked and quit as expected"
