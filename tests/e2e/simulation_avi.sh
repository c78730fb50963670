#!/bin/sh
# Records an animation in the real program with the mouse: "An .avi
# Animation", Start, a name typed into the file dialog, Full Frames in the
# compressor dialog, Stop. The file must hold a 160 x 80 video at 50 frames
# per second and an empty text stream, and be byte for byte the file
# kelvo-batch writes for the same grid, settings and number of frames.
# Usage: simulation_avi.sh PROGRAM BATCH GRIDS_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/editor_common.sh"
. "$here/simulation_common.sh"
program=$1
batch=$2
open_channel_simulation "$(pwd)/simulation_avi" "$program" "$3"

# "An .avi Animation", an interval of 3, Start: the file dialog.
sim_click $AVI_DX $AVI_DY
interval_up 2
sim_click $START_DX $START_DY
FID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Save Avi file As\.\.$' | head -n 1)
[ -n "$FID" ] || fail "the AVI file dialog did not appear"
eval "$(xdotool getwindowgeometry --shell "$FID")"
[ "$WIDTH" -eq 500 ] && [ "$HEIGHT" -eq 300 ] || fail "the file dialog is $WIDTH x $HEIGHT"
xdotool windowfocus --sync "$FID"
sleep 0.3
click_at $((X + 240)) $((Y + HEIGHT - 54))
xdotool type --delay 20 "$out/movie"
sleep 0.3
xdotool key Return

# The compressor dialog: Full Frames, OK.
CID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Video Compression$' | head -n 1)
[ -n "$CID" ] || fail "the compressor dialog did not appear"
eval "$(xdotool getwindowgeometry --shell "$CID")"
sleep 0.3
import -window root "$out/compressor.png"
click_at $((X + 29)) $((Y + 45))
click_at $((X + WIDTH - 43)) $((Y + HEIGHT - 29))
# Title and fade first, then the run's frames: give it a few seconds.
sleep 3
import -window root "$out/recording.png"
sim_click $STOP_DX $STOP_DY
sleep 0.5
import -window root "$out/stopped.png"

# ".avi" was added to the typed name; the file is complete once stopped.
[ -s "$out/movie.avi" ] || fail "no movie.avi was written"
[ ! -e "$out/movie" ] || fail "the name without the extension was used"
probe=$(ffprobe -v error -count_frames -show_entries \
        stream=codec_type,codec_name,width,height,r_frame_rate,nb_read_frames \
        -of default=nw=1 "$out/movie.avi")
echo "$probe" > "$out/probe.txt"
[ "$(echo "$probe" | grep -c '^codec_type=')" -eq 2 ] || fail "not two streams: $probe"
echo "$probe" | grep -q '^codec_name=rawvideo$' || fail "not full frames: $probe"
echo "$probe" | grep -q '^width=160$' || fail "width: $probe"
echo "$probe" | grep -q '^height=80$' || fail "height: $probe"
echo "$probe" | grep -q '^r_frame_rate=50/1$' || fail "rate: $probe"
read_frames=$(echo "$probe" | sed -n 's/^nb_read_frames=\([0-9]*\)$/\1/p' | head -n 1)
# 38 growing titles, the complete title and 38 fade frames come first.
frames=$((read_frames - 77))
[ "$frames" -ge 1 ] || fail "no simulation frames: $probe"

# kelvo-batch with the same grid and settings and as many frame cycles.
steps=$((3 * (frames - 1) + 1))
"$batch" "$out/Grids/channel.grid" --steps "$steps" --interval 3 --avi "$out/batch.avi" \
    --codec raw 2>"$out/batch.log" || fail "kelvo-batch failed"
cmp -s "$out/movie.avi" "$out/batch.avi" || fail "the window's movie.avi differs from kelvo-batch's"

kill "$PROGRAM_PID" 2>/dev/null
echo "PASS: the window recorded $frames frames after the title, identical to kelvo-batch's file"
