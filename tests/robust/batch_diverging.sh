#!/bin/sh
# kelvo-batch on the example channel with a time step of 0.05: the flow
# blows up, the run stops at the step that broke it with status 3 and the
# instability message, draws no frame of the broken state, writes no dump,
# and leaves whole PPM frames and a whole AVI file of the cycles before.
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
interval=5
"$batch" --steps $steps --dt 0.05 --convection central --interval $interval --elements boundary,streamlines,u,v,p,vectors \
    --ppm=out --avi diverging --dump-csv state.csv "$grid" >stdout.txt 2>stderr.txt
status=$?
[ $status -eq 3 ] || fail "exit status $status: $(cat stderr.txt)"
message=$(tail -n 1 stderr.txt)
cycle=$(echo "$message" | sed -n 's/^kelvo-batch: The flow became unstable at cycle \([0-9]*\) (t = [0-9.]*)\. Use a smaller Delta Time (about [0-9.e-]* or less for this grid) or tick Automatic\.$/\1/p')
[ -n "$cycle" ] || fail "no instability message: $message"
[ "$cycle" -ge 2 ] && [ "$cycle" -lt $steps ] || fail "blew up at cycle $cycle"
[ ! -f state.csv ] || fail "a dump of the broken state"

# Step n is the cycle counted n - 1 since the build step; frame cycles are
# the multiples of the interval before the one that blew up.
frames=$(( (cycle - 2) / interval + 1 ))
for n in $(seq 0 $((frames - 1))); do
    file=$(printf 'out/frame_%05d.ppm' "$n")
    [ -f "$file" ] || fail "$file missing"
    header=$(head -n 3 "$file" | tr '\n' ' ')
    [ "$header" = "P3 159 79 255 " ] || fail "$file header '$header'"
    lines=$(wc -l <"$file")
    [ "$lines" -eq $((3 + 159 * 79)) ] || fail "$file has $lines lines"
    bad=$(tail -n +4 "$file" | awk 'NF != 3 || $1 < 0 || $1 > 255 || $2 < 0 || $2 > 255 || $3 < 0 || $3 > 255' | head -n 1)
    [ -z "$bad" ] || fail "$file pixel line '$bad'"
done
extra=$(printf 'out/frame_%05d.ppm' "$frames")
[ ! -f "$extra" ] || fail "a frame of the broken state: $extra"

# 77 title and fade samples, then the frames.
counted=$(ffprobe -v error -count_frames -select_streams v:0 -show_entries stream=nb_read_frames \
    -of default=nw=1:nk=1 diverging.avi)
[ "$counted" = $((77 + frames)) ] || fail "ffprobe counts '$counted' video frames, not $((77 + frames))"
echo "diverging batch run: stopped at cycle $cycle with status 3, $frames whole PPM frames, $((77 + frames)) AVI frames"
