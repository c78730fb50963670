#!/bin/sh
# Draws the program's icons and the about picture as GIF files in this folder.
# Light grey (192, 192, 192) is the transparent colour; ppm_to_gif.py puts it
# at palette index 0, which is also the GIF's background index, so no other
# colour can be taken for transparent.
set -e
cd "$(dirname "$0")"
IM=/usr/bin/convert
GREY='rgb(192,192,192)'
FONT=DejaVu-Sans-Bold

# Writes a 16 x 16 icon: the first argument is the file, the rest draw on it.
icon() {
    out=$1; shift
    "$IM" -size 16x16 xc:"$GREY" +antialias "$@" -depth 8 "$out.ppm"
    python3 ppm_to_gif.py "$out.ppm" "$out"
    rm -f "$out.ppm"
}

# Application: a small blue grid with a green inflow arrow.
icon app.gif +antialias -fill 'rgb(217,219,255)' -stroke 'rgb(60,60,120)' \
     -draw 'rectangle 1,2 14,13' -draw 'line 5,2 5,13' -draw 'line 10,2 10,13' \
     -draw 'line 1,7 14,7' -stroke 'rgb(40,170,60)' -draw 'line 2,10 8,10' \
     -draw 'line 8,10 6,8' -draw 'line 8,10 6,12'

# New: a blank page with a folded corner.
icon new.gif +antialias -fill white -stroke black \
     -draw 'polygon 3,1 10,1 13,4 13,14 3,14' -draw 'line 10,1 10,4' -draw 'line 10,4 13,4'

# Load: an open yellow folder.
icon load.gif +antialias -fill 'rgb(230,200,60)' -stroke 'rgb(90,70,0)' \
     -draw 'polygon 1,4 5,4 6,5 12,5 12,7 1,7' -draw 'rectangle 1,7 12,13' \
     -fill 'rgb(250,225,110)' -draw 'polygon 3,8 15,8 12,13 1,13'

# Save: a blue floppy disk.
icon save.gif +antialias -fill 'rgb(40,70,160)' -stroke 'rgb(10,20,60)' \
     -draw 'rectangle 1,1 14,14' -fill white -stroke white \
     -draw 'rectangle 4,2 11,6' -fill 'rgb(150,150,150)' -stroke 'rgb(150,150,150)' \
     -draw 'rectangle 4,10 11,14' -fill 'rgb(40,70,160)' -draw 'rectangle 9,11 10,13'

# Calculate: a red exclamation mark.
icon calculate.gif +antialias -fill 'rgb(220,20,20)' -stroke 'rgb(120,0,0)' \
     -draw 'rectangle 6,1 9,10' -draw 'rectangle 6,12 9,14'

# About: a yellow question mark with a dark edge.
icon about.gif +antialias -font "$FONT" -pointsize 16 -gravity center \
     -fill 'rgb(110,80,0)' -draw 'text 1,1 "?"' -draw 'text -1,1 "?"' \
     -draw 'text 0,2 "?"' -draw 'text 0,0 "?"' \
     -fill 'rgb(250,210,20)' -draw 'text 0,1 "?"'

# Undo: a blue arrow bending back over to the left; Redo: its mirror image.
icon undo.gif +antialias -fill none -stroke 'rgb(30,80,190)' -strokewidth 2 \
     -draw 'arc 4,4 14,14 180,360' \
     -fill 'rgb(30,80,190)' -stroke 'rgb(20,50,130)' -strokewidth 1 \
     -draw 'polygon 0,8 8,8 4,13'
icon redo.gif +antialias -fill none -stroke 'rgb(30,80,190)' -strokewidth 2 \
     -draw 'arc 1,4 11,14 180,360' \
     -fill 'rgb(30,80,190)' -stroke 'rgb(20,50,130)' -strokewidth 1 \
     -draw 'polygon 7,8 15,8 11,13'

# The about picture: the name large on pale blue-grey, the author and a web
# address below.
"$IM" -size 296x273 xc:'rgb(206,214,228)' \
      -fill 'rgb(150,162,190)' -draw 'rectangle 0,0 295,8' -draw 'rectangle 0,264 295,272' \
      -font "$FONT" -fill 'rgb(30,50,110)' -pointsize 34 -gravity north \
      -annotate +0+60 'Kelvo' -annotate +0+102 '-Fluxeria' \
      -font DejaVu-Sans -pointsize 15 -fill 'rgb(40,40,60)' -annotate +0+168 'Tobiah Vossen' \
      -pointsize 10 -fill 'rgb(70,70,110)' -annotate +0+222 'kelvo-fluxeria.example.org' \
      -colors 200 +dither -depth 8 about_picture.ppm
python3 ppm_to_gif.py about_picture.ppm about_picture.gif
rm -f about_picture.ppm
