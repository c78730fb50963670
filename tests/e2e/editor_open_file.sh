#!/bin/sh
# A file named on the command line, as a file manager passes it: a grid is
# opened with its name in the title, a picture is imported after the size
# question, and a file that cannot be read is reported (in Polish by the
# Polish program) while the start-up grid stays.
# Usage: editor_open_file.sh PROGRAM_EN PROGRAM_PL GRIDS_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/editor_common.sh"
en=$1
pl=$2
grids=$3
enter_fresh_folder "$(pwd)/editor_open_file"

# Waits up to 20 s for a visible window whose title matches $1; sets QID.
wait_window() {
    QID=$(timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1)
    [ -n "$QID" ]
}

# Ends the started program by its pid.
end_program() {
    kill "$PROGRAM_PID" 2>/dev/null
    wait "$PROGRAM_PID" 2>/dev/null
}

# A key pressed into the shown window QID, the pointer over it.
answer() {
    eval "$(xdotool getwindowgeometry --shell "$QID")"
    xdotool mousemove --sync $((X + 20)) $((Y + 10))
    xdotool windowfocus --sync "$QID"
    sleep 0.3
    xdotool key "$1"
    sleep 0.8
}

# The example step: 60 x 20 cells, the step's no-slip block at the lower
# left, fluid above it, the inflow column on the west border.
start_program "$en" "$grids/step.grid"
wait_window '^step\.grid - Kelvo -Fluxeria v1\.0$' || fail "no window titled after step.grid"
WID=$QID
eval "$(xdotool getwindowgeometry --shell "$WID")"
WX=$X
WY=$Y
set -- $(cell_xy 5 3 60 20)
shot_when_colour "$out/step.png" "$1" "$2" 79 82 84 ||
    fail "cell (5, 3) of the step shows $(pixel_of "$out/step.png" "$1" "$2"), not a no-slip wall"
set -- $(cell_xy 5 15 60 20)
near_colour "$(pixel_of "$out/step.png" "$1" "$2")" 217 219 255 2 ||
    fail "cell (5, 15) above the step shows $(pixel_of "$out/step.png" "$1" "$2"), not fluid"
end_program

# A picture: the size question first, then the imported 60 x 24 grid; it
# has no file yet, so the title is the program's, starred.
start_program "$en" "$grids/cylinder.png"
wait_window '^Import Image$' || fail "the picture did not ask for the grid's size"
answer Return
wait_window '^\*Kelvo -Fluxeria v1\.0$' || fail "no starred title after the import"
WID=$QID
eval "$(xdotool getwindowgeometry --shell "$WID")"
WX=$X
WY=$Y
# Below the cell's centre, where its arrow does not reach.
set -- $(cell_xy 0 12 60 24)
shot_when_colour "$out/imported.png" "$(($1 - 2))" "$(($2 + 2))" 79 209 84 ||
    fail "the inflow column of the picture shows $(pixel_of "$out/imported.png" "$(($1 - 2))" "$(($2 + 2))")"
end_program

# A missing file, in the Polish program: the message as Load gives it, then
# the usual 40 x 20 fluid grid under the program's own title.
start_program "$pl" "$out/missing.grid"
wait_window '^Nie mo' || fail "the missing file was not reported"
answer Return
wait_window '^Kelvo -Fluxeria v1\.0$' || fail "the main window did not stay after the message"
WID=$QID
eval "$(xdotool getwindowgeometry --shell "$WID")"
WX=$X
WY=$Y
set -- $(cell_xy 39 19 40 20)
shot_when_colour "$out/missing.png" "$1" "$2" 217 219 255 ||
    fail "the corner cell of the start-up grid shows $(pixel_of "$out/missing.png" "$1" "$2")"
end_program
echo "PASS: a grid, a picture and a missing file named on the command line"
