#!/bin/sh
# Takes the README's pictures: the editor with the example channel, painting
# cells, the simulation window running and paused, and one rendered frame of each
# element, and the Measurements window. Every picture is checked (size, file size, colours that must be
# there), so a window drawn wrong fails.
# Usage: screenshots.sh PROGRAM BATCH GRIDS_DIR [--update DOCS_IMAGES_DIR]
# Without --update the pictures stay in ./docs_screenshots; with it they are
# copied into DOCS_IMAGES_DIR, e.g.
#   xvfb-run -a -s "-screen 0 2048x1200x24 -noreset" sh tests/docs/screenshots.sh \
#       build/kelvo-en build/kelvo-batch Grids --update docs/images
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../e2e/editor_common.sh"
. "$here/../e2e/simulation_common.sh"
. "$here/picture_checks.sh"
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
batch=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
grids=$(cd "$3" && pwd)
update=
if [ "${4:-}" = --update ]; then
    [ -n "${5:-}" ] || fail "--update needs a directory"
    mkdir -p "$5" || fail "cannot create $5"
    update=$(cd "$5" && pwd)
fi
out=$(pwd)/docs_screenshots
# An update leaves nothing behind in the source tree.
if [ -n "$update" ]; then
    out=$(mktemp -d)/docs_screenshots
fi
rm -rf "$out"
mkdir -p "$out/Grids" "$out/images"
cp "$grids/channel.grid" "$out/Grids/"
cd "$out"

# Pause, from the simulation window's top-left corner.
PAUSE_DX=177; PAUSE_DY=254
# Measure, from the simulation window's top-left corner.
MEASURE_DX=270; MEASURE_DY=290
# Simulation window check buttons, from the window's top-left corner.
CHECK_DX=428
U_FIELD_DY=102; V_FIELD_DY=125; P_FIELD_DY=148; VECTORS_DY=171

# The part of a screenshot that a window covers, as a small PNG.
crop_window() {
    /usr/bin/convert "$1" -crop "$4x$5+$2+$3" +repage -strip "$6" ||
        fail "cannot crop $1"
}

# --- The editor with the example channel --------------------------------
start_program "$program"
find_main_window
load_grid "$out/Grids/channel.grid"
# A cell in the middle of the channel is fluid once the grid has drawn.
set -- $(cell_xy 30 10 40 20)
shot_when_colour "$out/editor_full.png" "$1" "$(($2 + 3))" 217 219 255 ||
    fail "the channel did not show: $(pixel_of "$out/editor_full.png" "$1" "$(($2 + 3))")"
crop_window "$out/editor_full.png" "$WX" "$WY" 870 600 "$out/images/editor.png"

# --- Painting: a no-slip plate dragged across four cells ----------------
xdotool mousemove --sync $((WX + 637)) $((WY + 164))
sleep 0.2
xdotool click 1
sleep 0.3
set -- $(cell_xy 24 6 40 20)
xdotool mousemove --sync "$1" "$2"
sleep 0.1
xdotool mousedown 1
for j in 7 8 9; do
    set -- $(cell_xy 24 "$j" 40 20)
    xdotool mousemove --sync "$1" "$2"
    sleep 0.1
done
xdotool mouseup 1
sleep 0.2
# Resting on an inflow cell of the west border: "Cell Info" shows its
# velocity, u in red.
set -- $(cell_xy 0 12 40 20)
xdotool mousemove --sync "$1" "$2"
sleep 0.3
set -- $(cell_xy 24 8 40 20)
shot_when_colour "$out/painting_full.png" "$1" "$(($2 + 3))" 79 82 84 ||
    fail "the painted plate shows $(pixel_of "$out/painting_full.png" "$1" "$(($2 + 3))")"
crop_window "$out/painting_full.png" "$WX" "$WY" 870 600 "$out/images/painting.png"
# Red text in the "Cell Info" group: the inflow cell's u is not zero.
red=$(count_colour "$out/images/painting.png" 623 435 152 105 255 0 0)
[ "$red" -gt 20 ] || fail "\"Cell Info\" shows no red u ($red red pixels)"

# --- The simulation window running --------------------------------------
open_simulation
for dy in $U_FIELD_DY $V_FIELD_DY $P_FIELD_DY $VECTORS_DY; do
    sim_click $CHECK_DX "$dy"
done
sim_click $START_DX $START_DY
sleep 4
import -window root "$out/simulation_full.png"
# Paused: the count stands still between two shots.
sim_click $PAUSE_DX $PAUSE_DY
sleep 0.5
import -window root "$out/paused_full.png"
sleep 0.5
import -window root "$out/paused_again.png"
crop_window "$out/paused_full.png" "$SX" "$SY" 650 533 "$out/images/paused.png"
crop_window "$out/paused_again.png" "$SX" "$SY" 650 533 "$out/paused_again.png"
/usr/bin/compare -metric AE "$out/images/paused.png" "$out/paused_again.png" null: 2>"$out/paused_diff" ||
    fail "the paused window changed: $(cat "$out/paused_diff") pixels"
sim_click $STOP_DX $STOP_DY
crop_window "$out/simulation_full.png" "$SX" "$SY" 650 533 "$out/images/simulation.png"
lit=$(canvas_lit_pixels "$out/simulation_full.png")
[ "$lit" -gt 40000 ] || fail "only $lit lit pixels on the running simulation canvas"
# The x velocity dominates the channel: most of the canvas is reddish.
reddish=$(/usr/bin/convert "$out/images/simulation.png" -crop "${SIM_CANVAS_W}x${SIM_CANVAS_H}+${CANVAS_X0}+${CANVAS_Y0}" +repage \
    -fx 'r > g + 0.1 && r > b + 0.1 ? 1 : 0' -format '%[fx:int(mean*w*h+0.5)]' info:)
[ "$reddish" -gt 10000 ] || fail "only $reddish red pixels on the simulation canvas"

# --- The Measurements window with a probe, running ----------------------
sim_click $MEASURE_DX $MEASURE_DY
MID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Measurements$' | head -n 1)
[ -n "$MID" ] || fail "the Measurements window did not appear"
# A probe in the fast stream above the posts, by a middle click on the
# picture: its u line stays clear of the lift line near zero.
xdotool mousemove --sync $((SX + CANVAS_X0 + 250)) $((SY + CANVAS_Y0 + 40))
sleep 0.2
xdotool click 2
sim_click $START_DX $START_DY
sleep 6
sim_click $PAUSE_DX $PAUSE_DY
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$MID")"
import -window root "$out/measure_full.png"
crop_window "$out/measure_full.png" "$X" "$Y" "$WIDTH" "$HEIGHT" "$out/images/measure.png"
check_size "$out/images/measure.png" 560 640
# The chart's C_D (blue), C_L (red) and probe (green) lines, 2 pixels wide.
for colour in "0 70 200" "205 30 30" "0 140 60"; do
    n=$(count_colour "$out/images/measure.png" 0 300 560 300 $colour)
    [ "$n" -gt 200 ] || fail "the chart shows $n pixels of its line coloured $colour"
done
sim_click $STOP_DX $STOP_DY
kill "$PROGRAM_PID" 2>/dev/null
wait "$PROGRAM_PID" 2>/dev/null

# --- One frame of each rendered element ---------------------------------
for element in boundary streamlines u v p vectors; do
    "$batch" "$out/Grids/channel.grid" --steps 1001 --interval 1000 --size 6 \
        --elements "$element" --ppm "$out/frames_$element" >"$out/batch_$element.log" 2>&1 ||
        fail "kelvo-batch failed for $element"
    last=$(ls "$out/frames_$element" | tail -n 1)
    /usr/bin/convert "$out/frames_$element/$last" -strip "$out/images/frame_$element.png" ||
        fail "cannot convert the $element frame"
    check_frame "$element" "$out/images/frame_$element.png"
done

# --- Sizes of every picture ---------------------------------------------
check_size "$out/images/editor.png" 870 600
check_size "$out/images/painting.png" 870 600
check_size "$out/images/simulation.png" 650 533
check_size "$out/images/paused.png" 650 533
for f in "$out"/images/*.png; do
    bytes=$(wc -c <"$f")
    [ "$bytes" -lt 150000 ] || fail "$(basename "$f") is $bytes bytes"
done

if [ -n "$update" ]; then
    cp "$out"/images/*.png "$update/" || fail "cannot copy into $update"
    echo "pictures written to $update"
fi
echo "PASS: $(ls "$out/images" | wc -l) pictures taken and checked"
