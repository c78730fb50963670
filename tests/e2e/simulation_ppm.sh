#!/bin/sh
# Runs the example channel in the real program with the mouse: loads it,
# opens the simulation window, places a probe with the middle button,
# chooses PPM frames every fifth cycle, Start, Stop. The probe is marked on
# the canvas, and the frames must be byte for byte those kelvo-batch writes
# for the same grid and settings, without the mark.
# Usage: simulation_ppm.sh PROGRAM BATCH GRIDS_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/editor_common.sh"
. "$here/simulation_common.sh"
program=$1
batch=$2
open_channel_simulation "$(pwd)/simulation_ppm" "$program" "$3"
import -window root "$out/opened.png"

# A probe above the post: a white cross edged in black on the canvas,
# centred where the pointer is (read back, as the window may have settled
# a few pixels from where it first appeared).
xdotool mousemove --sync $((SX + CANVAS_X0 + 200)) $((SY + CANVAS_Y0 + 60))
sleep 0.1
eval "$(xdotool getmouselocation --shell)"
probe_x=$X
probe_y=$Y
xdotool click 2
sleep 0.5
import -window root "$out/probed.png"
for arm in "$((probe_x + 5)) $probe_y" "$((probe_x - 5)) $probe_y" "$probe_x $((probe_y + 5))" \
    "$probe_x $((probe_y - 5))"; do
    near_colour "$(pixel_of "$out/probed.png" $arm)" 255 255 255 2 ||
        fail "the probe's cross is not white at $arm: $(pixel_of "$out/probed.png" $arm)"
done
near_colour "$(pixel_of "$out/probed.png" $((probe_x + 3)) $((probe_y + 1)))" 0 0 0 2 ||
    fail "the probe's cross has no black edge"

# "A .ppm frames", the interval up from 1 to 5, Start.
sim_click $PPM_DX $PPM_DY
interval_up 4
sim_click $START_DX $START_DY
wait_for_file "$out/frames/frame_00005.ppm" || fail "no sixth frame was written"
import -window root "$out/running.png"
sim_click $STOP_DX $STOP_DY
sleep 0.5
import -window root "$out/stopped.png"

frames=$(ls "$out/frames" | wc -l)
[ "$frames" -ge 6 ] || fail "only $frames frames"
ls "$out/frames" | awk -v n="$frames" '{ want = sprintf("frame_%05d.ppm", NR - 1); if ($0 != want) bad = 1 }
    END { exit bad }' || fail "the frames are not numbered 0 .. $((frames - 1))"

# The same grid and settings in kelvo-batch: frames at the cycles 0, 5, ...
steps=$((5 * (frames - 1) + 1))
"$batch" "$out/Grids/channel.grid" --steps "$steps" --interval 5 --size 4 \
    --elements boundary,streamlines --ppm "$out/batch" 2>"$out/batch.log" || fail "kelvo-batch failed"
[ "$(ls "$out/batch" | wc -l)" -eq "$frames" ] || fail "kelvo-batch wrote $(ls "$out/batch" | wc -l) frames, not $frames"
for f in "$out"/frames/*.ppm; do
    cmp -s "$f" "$out/batch/$(basename "$f")" || fail "$(basename "$f") differs from kelvo-batch's"
done

# The running window showed the flow on its canvas, and the last frame is
# not black.
lit=$(canvas_lit_pixels "$out/running.png")
[ "$lit" -gt 5000 ] || fail "only $lit lit pixels on the canvas while running"
/usr/bin/convert "$out/frames/frame_00005.ppm" "$out/frame_00005.png"

kill "$PROGRAM_PID" 2>/dev/null
echo "PASS: $frames frames written by the window, identical to kelvo-batch's"
