#!/bin/sh
# Draws the application icon for the desktop's hicolor theme: the same design
# as icons/app.gif (a pale blue grid of six cells with a green inflow arrow),
# drawn once at 128 x 128 on a transparent background and scaled down.
#
# The 16 x 16 design is drawn with one-pixel strokes on pixel centres, so a
# point p of it lies at p * 8 + 4 in the 128-pixel drawing.
set -e
cd "$(dirname "$0")"
IM=/usr/bin/convert
MASTER=128
SIZES="16 24 32 48 64"
NAME=org.example.kelvo

FILL='rgb(217,219,255)'
EDGE='rgb(60,60,120)'
ARROW='rgb(40,170,60)'

# Writes the 128-pixel icon to the file named by the first argument.
draw_master() {
    "$IM" -size ${MASTER}x${MASTER} xc:none \
          -fill "$FILL" -stroke "$EDGE" -strokewidth 6 \
          -draw 'rectangle 12,20 116,108' \
          -draw 'line 44,20 44,108' -draw 'line 84,20 84,108' \
          -draw 'line 12,60 116,60' \
          -fill none -stroke "$ARROW" -strokewidth 8 \
          -draw 'line 20,84 66,84' \
          -draw 'polyline 52,68 68,84 52,100' \
          -define png:exclude-chunks=date,time -strip "PNG32:$1"
}

mkdir -p hicolor/${MASTER}x${MASTER}/apps
draw_master hicolor/${MASTER}x${MASTER}/apps/$NAME.png
for size in $SIZES; do
    mkdir -p hicolor/${size}x${size}/apps
    "$IM" hicolor/${MASTER}x${MASTER}/apps/$NAME.png -filter Lanczos \
          -resize ${size}x${size} -define png:exclude-chunks=date,time -strip \
          "PNG32:hicolor/${size}x${size}/apps/$NAME.png"
done
