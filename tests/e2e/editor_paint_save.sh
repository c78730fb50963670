#!/bin/sh
# Paints cells with the mouse in the real program, saves the grid through
# the real file dialog, checks the file's bytes, and checks the canvas on a
# screenshot. Usage: editor_paint_save.sh PROGRAM
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/editor_common.sh"
start_in_fresh_folder "$(pwd)/editor_paint_save" "$1"

# Start-up grid: the canvas shows the fluid colour (0.85, 0.86, 1.0).
set -- $(cell_xy 20 5 40 20)
shot_when_colour "$out/startup.png" "$(($1 + 3))" "$(($2 + 3))" 217 219 255 ||
    fail "start-up cell colour is $(pixel_of "$out/startup.png" "$(($1 + 3))" "$(($2 + 3))")"

# The tool-bar icons are drawn with their light grey left out.
grey=$(/usr/bin/convert "$out/startup.png" -crop "150x22+$((WX + 8))+$((WY + 28))" +repage \
       -fill black +opaque 'rgb(192,192,192)' -fill white -opaque 'rgb(192,192,192)' \
       -format '%[fx:int(mean*w*h+0.5)]' info:)
[ "$grey" -eq 0 ] || fail "$grey pixels of the icons' transparent grey show in the tool bar"

# Inflow tool (Alt+I), a click on the west border; then the moving-wall
# tool (Alt+M), which keeps the inflow's velocity 1.0, 0.0, for two cells
# further in.
xdotool mousemove --sync $((WX + 400)) $((WY + 500))
xdotool windowfocus --sync "$WID"
xdotool key alt+i
sleep 0.3
set -- $(cell_xy 0 10 40 20)
click_at "$1" "$2"
xdotool key alt+m
sleep 0.3
set -- $(cell_xy 10 10 40 20)
click_at "$1" "$2"
set -- $(cell_xy 11 10 40 20)
click_at "$1" "$2"
# Back to a cell off the painted ones so that the canvas redraws.
set -- $(cell_xy 20 15 40 20)
xdotool mousemove --sync "$1" "$2"
set -- $(cell_xy 11 10 40 20)
shot_when_colour "$out/painted.png" "$1" "$(($2 + 4))" 130 133 135 ||
    fail "the last painted cell shows $(pixel_of "$out/painted.png" "$1" "$(($2 + 4))")"

# The inflow cell: green below its shaft, a white arrow across its middle.
set -- $(cell_xy 0 10 40 20)
colour=$(pixel_of "$out/painted.png" "$1" "$(($2 + 4))")
near_colour "$colour" 79 209 84 2 || fail "inflow cell colour is $colour"
white=0
for d in -2 -1 0 1 2; do
    colour=$(pixel_of "$out/painted.png" "$1" "$(($2 + d))")
    near_colour "$colour" 255 255 255 2 && white=$((white + 1))
done
[ "$white" -ge 1 ] || fail "no white arrow in the inflow cell"
set -- $(cell_xy 10 10 40 20)
colour=$(pixel_of "$out/painted.png" "$1" "$(($2 + 4))")
near_colour "$colour" 130 133 135 2 || fail "moving-wall cell colour is $colour"

# Save through the tool bar's Save button and the real file dialog.
click_at $((WX + 72)) $((WY + 39))
DID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Save As\.\.$' | head -n 1)
[ -n "$DID" ] || fail "the Save As.. dialog did not appear"
eval "$(xdotool getwindowgeometry --shell "$DID")"
xdotool windowfocus --sync "$DID"
sleep 0.3
# Into the "File Name" field, 54 pixels above the dialog's bottom edge.
click_at $((X + 240)) $((Y + HEIGHT - 54))
import -window root "$out/save_dialog.png"
xdotool type --delay 20 "$out/Grids/e2e.grid"
sleep 0.3
import -window root "$out/save_typed.png"
xdotool key Return
for n in 1 2 3 4 5 6 7 8 9 10; do
    [ -s "$out/Grids/e2e.grid" ] && break
    sleep 0.3
done
[ -s "$out/Grids/e2e.grid" ] || fail "no grid file was written"
sleep 0.3

# The bytes: 2442 in all, the magic text and " 200", the header, and the
# two painted records.
size=$(wc -c < "$out/Grids/e2e.grid")
[ "$size" -eq 2442 ] || fail "the file has $size bytes"
head -c 34 "$out/Grids/e2e.grid" > "$out/head.txt"
printf '!KELVO-FLUXERIA-T.VOSSEN-v1.6a 200' | cmp -s - "$out/head.txt" || fail "wrong magic or Reynolds number"
bytes() { od -An -tu1 -j "$1" -N "$2" "$out/Grids/e2e.grid" | tr -s ' ' | sed 's/^ //'; }
[ "$(bytes 34 8)" = "0 0 40 20 0 0 0 0" ] || fail "header bytes $(bytes 34 8)"
# Cell (0, 10) is record 10, cell (10, 10) record 210, (11, 10) record 230.
[ "$(bytes $((42 + 3 * 10)) 3)" = "80 1 0" ] || fail "inflow record $(bytes $((42 + 3 * 10)) 3)"
[ "$(bytes $((42 + 3 * 210)) 3)" = "2 1 0" ] || fail "wall record $(bytes $((42 + 3 * 210)) 3)"
[ "$(bytes $((42 + 3 * 230)) 3)" = "2 1 0" ] || fail "wall record $(bytes $((42 + 3 * 230)) 3)"
[ "$(bytes $((42 + 3 * 11)) 3)" = "1 0 0" ] || fail "fluid record $(bytes $((42 + 3 * 11)) 3)"
# Exactly three records differ from fluid.
painted=$(od -An -tu1 -v -j 42 "$out/Grids/e2e.grid" | tr -s ' ' '\n' | sed '/^$/d' |
          awk 'NR % 3 == 1 && $1 != 1 { n++ } END { print n + 0 }')
[ "$painted" -eq 3 ] || fail "$painted painted records"
# Quit (Alt+F4) ends the program with status 0.
xdotool mousemove --sync $((WX + 400)) $((WY + 500))
xdotool windowfocus --sync "$WID"
xdotool key alt+F4
expect_clean_exit Quit
echo "PASS: painted, saved, drawn and quit as expected"
