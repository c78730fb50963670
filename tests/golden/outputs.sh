#!/bin/sh
# Runs kelvo-batch on the example grids with every element, PPM frames, an
# AVI file (full frames and Motion JPEG) and the CSV dump, and prints one
# "sha256  name" line per file written, sorted by name.
#
#   outputs.sh KELVO_BATCH GRID_DIR WORK_DIR
set -eu
batch=$1
grids=$2
work=$3
rm -rf "$work"
mkdir -p "$work"
cd "$work"
for name in channel cavity step; do
  "$batch" "$grids/$name.grid" --convection designed --steps 12 --interval 3 --size 5 \
    --elements boundary,streamlines,u,v,p,vectors --ppm="ppm_$name" \
    --avi "$name.avi" --dump-csv "$name.csv" >/dev/null
  "$batch" "$grids/$name.grid" --convection designed --steps 6 --interval 2 --size 2 \
    --elements u,vectors --avi "${name}_mjpeg.avi" --codec mjpeg --quality 70 >/dev/null
done
find . -type f | sort | while read -r f; do
  sha256sum "$f"
done
