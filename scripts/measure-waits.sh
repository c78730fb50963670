#!/bin/sh
# Measures what a user waits for at the largest sizes: starting an AVI file
# (title and fade-in) at 1800 x 1200 for each compressor, reading a 255 x 255
# grid file, and rendering the first frame at 1800 x 1200.
# Usage: measure-waits.sh KELVO_BATCH [BENCH_PRESENT]
# BENCH_PRESENT (optional, needs a display) adds the canvas presentation.
set -eu
batch=$1
present=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A channel of nx x ny cells: no-slip walls south and north, inflow east
# at u = 1 on the west border, outflow on the east border.
make_grid() {
    python3 - "$1" "$2" "$3" <<'PY'
import sys
nx, ny, path = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
body = bytearray(b"!KELVO-FLUXERIA-T.VOSSEN-v1.6a" + b"%4d" % 100)
body += bytes([1, 0, nx, ny, 0, 0, 0, 0])
for i in range(nx):
    for j in range(ny):
        if j in (0, ny - 1):
            body += bytes([0x08, 0, 0])
        elif i == 0:
            body += bytes([0x50, 1, 0])
        elif i == nx - 1:
            body += bytes([0x60, 0, 0])
        else:
            body += bytes([0x01, 0, 0])
# Every logical line feed is stored as CR LF.
open(path, "wb").write(bytes(body).replace(b"\n", b"\r\n"))
PY
}

# Wall-clock seconds of a command, best of three.
seconds() {
    best=
    for k in 1 2 3; do
        t0=$(date +%s.%N)
        "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; return 1; }
        t1=$(date +%s.%N)
        best=$(awk -v a="$t0" -v b="$t1" -v m="$best" 'BEGIN { d = b - a; if (m == "" || d < m) m = d; printf "%.3f", m }')
    done
    echo "$best"
}

make_grid 120 80 "$work/large.grid"
make_grid 255 255 "$work/huge.grid"

# Reading plus the build step, with nothing else.
base=$(seconds "$batch" "$work/large.grid" --steps 0 --size 15)
echo "120 x 80 grid, read and build step: $base s"
huge=$(seconds "$batch" "$work/huge.grid" --steps 0)
echo "255 x 255 grid, read and build step: $huge s"

# The first frame cycle at 1800 x 1200, every element, as PPM: the render
# plus the text file.
all=boundary,streamlines,u,v,p,vectors
ppm=$(seconds "$batch" "$work/large.grid" --steps 1 --interval 2 --size 15 --elements "$all" --ppm "$work/frames")
echo "first frame at 1800 x 1200, all elements, written as PPM: $ppm s (minus $base)"

# aviOpen: title and fade-in at 1800 x 1200, no run frames.
for codec in raw mjpeg ffv1 utvideo; do
    t=$(seconds "$batch" "$work/large.grid" --steps 0 --size 15 --elements "$all" --avi "$work/title_$codec.avi" --codec "$codec")
    echo "AVI title and fade-in at 1800 x 1200, $codec: $t s (minus $base), $(wc -c <"$work/title_$codec.avi") bytes"
done

if [ -n "$present" ]; then
    "$present" --benchmark_filter=120x80 2>/dev/null | grep BM_
fi
