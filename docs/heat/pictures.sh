#!/bin/sh
# The README's pictures of the heat and dye examples: one frame of each
# after its run, with the colour map of its quantity.
#   pictures.sh KELVO_BATCH WORK_DIR
set -eu
batch=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
grids="$here/../../Grids"
images="$here/../images"
mkdir -p "$work"

# name grid steps size map elements; frames every 1000 cycles (the most
# --interval takes is 1110), the picture the last of them.
picture() {
  rm -rf "$work/$1"
  "$batch" "$grids/$2" --dt auto --threads 1 --steps "$(($3 + 1))" --interval 1000 --size "$4" \
    --colour-map "$5" --elements "$6" --ppm="$work/$1" 2>/dev/null
  last=$(ls "$work/$1"/*.ppm | tail -n 1)
  ffmpeg -loglevel error -y -i "$last" "$images/$1.png"
}

picture heated_cavity heated_cavity.grid 1000 3 temperature boundary
picture heated_layer heated_layer.grid 4000 6 temperature boundary,vectors
picture dye_wake dye_wake.grid 6000 3 dye boundary
