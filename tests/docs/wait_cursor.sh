#!/bin/sh
# Starting an AVI file at the largest size (a 120 x 80 grid at Output Size
# 15, 1800 x 1200 pixels) takes seconds for its title and fade-in: the
# pointer must show the busy cursor meanwhile, the normal one while the
# compressor dialog waits for the user, and the normal one again after. The
# size change itself draws nothing large (the canvas shows a picture drawn
# for the screen), so the cursor stays normal through it.
# Usage: wait_cursor.sh PROGRAM CURSOR_PROBE
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../e2e/editor_common.sh"
. "$here/../e2e/simulation_common.sh"
program=$1
probe=$2
out=$(pwd)/docs_wait_cursor
rm -rf "$out"
mkdir -p "$out/Grids"
cd "$out"

# The size spinner's text, from the simulation window's corner.
SIZE_TEXT_DX=440; SIZE_UP_DY=482
# "Motion JPEG" in the compressor dialog, from its corner.
MJPEG_DX=29; MJPEG_DY=68

# A 120 x 80 grid of fluid cells: magic text, Reynolds number, default U and
# V, NX, NY, four unused bytes, then (flag, u, v) per cell. No byte is 10,
# so no line break needs storing.
{
    printf '!KELVO-FLUXERIA-T.VOSSEN-v1.6a 100'
    printf '\000\000\170\120\000\000\000\000'
    printf '\001\000\000%.0s' $(seq 9600)
} >"$out/Grids/large.grid"

start_program "$program"
find_main_window
load_grid "$out/Grids/large.grid"
open_simulation
# The window takes clicks only once its first picture of the large grid is up.
sleep 2

# Output Size 4 -> 15, "An .avi Animation", Start.
# Typed into the spinner: arrow clicks that come while a larger picture is
# being drawn get lost.
click_at $((SX + SIZE_TEXT_DX)) $((SY + SIZE_UP_DY))
xdotool key End BackSpace BackSpace
xdotool type --delay 50 15
sleep 0.5
idle=$("$probe") || fail "cannot read the cursor"
"$probe" 150 20 >"$out/size_samples.txt" &
probe_pid=$!
xdotool key Return
wait "$probe_pid" || fail "the cursor probe failed"
[ "$(tail -n 1 "$out/size_samples.txt")" = "$idle" ] || fail "the busy cursor stayed after the size change"
import -window root "$out/size15.png"
sim_click $AVI_DX $AVI_DY
sim_click $START_DX $START_DY
FID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Save Avi file As\.\.$' | head -n 1)
[ -n "$FID" ] || fail "the AVI file dialog did not appear"
eval "$(xdotool getwindowgeometry --shell "$FID")"
xdotool windowfocus --sync "$FID"
sleep 0.3
click_at $((X + 240)) $((Y + HEIGHT - 54))
xdotool type --delay 20 "$out/large"
sleep 0.3
xdotool key Return

CID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Video Compression$' | head -n 1)
[ -n "$CID" ] || fail "the compressor dialog did not appear"
eval "$(xdotool getwindowgeometry --shell "$CID")"
sleep 0.3
click_at $((X + MJPEG_DX)) $((Y + MJPEG_DY))
# The cursor while the dialog waits: the normal one.
normal=$("$probe") || fail "cannot read the cursor"
# OK, then watch the cursor for ten seconds.
xdotool mousemove --sync $((X + WIDTH - 43)) $((Y + HEIGHT - 29))
sleep 0.2
"$probe" 500 20 >"$out/samples.txt" &
probe_pid=$!
xdotool click 1
wait "$probe_pid" || fail "the cursor probe failed"
sim_click $STOP_DX $STOP_DY
sleep 0.5

busy=$(grep -c -v -x -F "$normal" "$out/samples.txt")
[ "$busy" -gt 0 ] || fail "the cursor never changed while the AVI file started"
last=$(tail -n 1 "$out/samples.txt")
[ "$last" = "$normal" ] || fail "the busy cursor stayed after the AVI file started"
# The file really has the 1800 x 1200 title frames, so the wait was real.
size=$(ffprobe -v error -select_streams v:0 -show_entries stream=width,height -of csv=p=0 "$out/large.avi")
[ "$size" = "1800,1200" ] || fail "the AVI frames are $size, not 1800 x 1200"

kill "$PROGRAM_PID" 2>/dev/null
echo "PASS: busy cursor in $busy of $(wc -l <"$out/samples.txt") samples (20 ms apart), normal before and after"
