#!/bin/sh
# The streaklines of the README: Grids/square_cylinder_streaks.grid (the
# square obstacle at Re_D = 100 with a rake of four point emitters 2 D ahead
# of it) run with the default method until the wake sheds, drawn with the
# boundary cells and the particles, and the particles' places as CSV.
#
#   streaklines.sh BUILD_DIR WORK_DIR [IMAGE_DIR]
# Writes WORK_DIR/{frames/,particles/} and IMAGE_DIR/streaklines.png
# (default WORK_DIR). Needs ImageMagick's convert.
set -eu
build=$1
work=$2
images=${3:-$2}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work" "$images"

# 3001 steps with --dt auto, about 40 units of simulated time: the wake
# sheds from about t = 20. The last cycle (3000) is a frame cycle.
"$build/kelvo-batch" "$here/../../Grids/square_cylinder_streaks.grid" --dt auto --steps 3001 \
    --interval 500 --size 4 --elements boundary,particles --ppm="$work/frames" \
    --particles-csv "$work/particles"
/usr/bin/convert "$work/frames/frame_00006.ppm" "$images/streaklines.png"
