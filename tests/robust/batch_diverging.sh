#!/bin/sh
# kelvo-batch on the example channel with a time step of 0.05: the flow
# blows up, the run still takes every step, says in its summary that the
# fields became non-finite, and writes whole PPM frames and a whole AVI file.
# Usage: batch_diverging.sh KELVO_BATCH CHANNEL_GRID
set -u
batch=$1
grid=$2
work=$(mktemp -d /tmp/kelvo_batch_diverging_XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

steps=600
interval=100
"$batch" --steps $steps --dt 0.05 --interval $interval --elements boundary,streamlines,u,v,p,vectors \
    --ppm=out --avi diverging "$grid" >stdout.txt 2>stderr.txt
status=$?
[ $status -eq 0 ] || fail "exit status $status: $(cat stderr.txt)"
grep -q 'fields became non-finite at step [0-9]' stderr.txt stdout.txt ||
    fail "no non-finite summary: $(cat stderr.txt stdout.txt)"
grep -q 'all fields stayed finite' stderr.txt stdout.txt && fail "summary claims finite fields"

# Of the cycles 0..599, 0, 100, ..., 500 are frame cycles: six files, 160 x 80.
for n in 0 1 2 3 4 5; do
    file=out/frame_0000$n.ppm
    [ -f "$file" ] || fail "$file missing"
    header=$(head -n 3 "$file" | tr '\n' ' ')
    [ "$header" = "P3 159 79 255 " ] || fail "$file header '$header'"
    lines=$(wc -l <"$file")
    [ "$lines" -eq $((3 + 159 * 79)) ] || fail "$file has $lines lines"
    bad=$(tail -n +4 "$file" | awk 'NF != 3 || $1 < 0 || $1 > 255 || $2 < 0 || $2 > 255 || $3 < 0 || $3 > 255' | head -n 1)
    [ -z "$bad" ] || fail "$file pixel line '$bad'"
done
[ ! -f out/frame_00006.ppm ] || fail "a seventh frame"

# 77 title and fade samples, then the six frames.
frames=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames \
    -of default=nw=1:nk=1 diverging.avi)
[ "$frames" = 83 ] || fail "ffprobe counts '$frames' video frames"
echo "diverging batch run: non-finite summary, 6 whole PPM frames, 83 AVI frames"
