#!/bin/sh
# The Polish program shows its own texts and otherwise the same window:
# the two programs' menu bars differ where "File" and "Plik" stand, and the
# canvas and the window title are the same.
# Usage: editor_polish.sh ENGLISH_PROGRAM POLISH_PROGRAM
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/editor_common.sh"
enter_fresh_folder "$(pwd)/editor_polish"

# Screenshot of one program's window, cropped into the menu title, the cell
# tools, and the canvas.
shoot() {
    start_program "$2"
    find_main_window
    xdotool mousemove --sync $((WX + 300)) $((WY + 500))
    set -- "$1" $(cell_xy 20 5 40 20)
    shot_when_colour "$out/$1.png" "$(($2 + 3))" "$(($3 + 3))" 217 219 255 ||
        fail "the $1 canvas was not drawn"
    /usr/bin/convert "$out/$1.png" -crop "60x20+$((WX + 12))+$((WY + 2))" +repage "$out/$1_menu.png"
    /usr/bin/convert "$out/$1.png" -crop "150x130+$((WX + 620))+$((WY + 75))" +repage "$out/$1_tools.png"
    /usr/bin/convert "$out/$1.png" -crop "588x388+$((WX + CANVAS_DX))+$((WY + CANVAS_DY))" +repage "$out/$1_canvas.png"
    kill "$PROGRAM_PID"
    wait "$PROGRAM_PID" 2>/dev/null
    sleep 0.3
}

# Number of pixels in which two crops differ.
differing() {
    /usr/bin/compare -metric AE "$1" "$2" null: 2>&1 | sed 's/ .*//'
}

shoot en "$1"
shoot pl "$2"

[ "$(differing "$out/en_canvas.png" "$out/pl_canvas.png")" -eq 0 ] || fail "the canvases differ"
menu=$(differing "$out/en_menu.png" "$out/pl_menu.png")
tools=$(differing "$out/en_tools.png" "$out/pl_tools.png")
[ "$menu" -gt 20 ] || fail "the File menu titles look the same ($menu pixels differ)"
[ "$tools" -gt 100 ] || fail "the cell tools look the same ($tools pixels differ)"
# Both menu titles hold dark text on the light bar.
for lang in en pl; do
    dark=$(/usr/bin/convert "$out/${lang}_menu.png" -colorspace Gray -threshold 50% -negate \
           -format '%[fx:int(mean*w*h+0.5)]' info:)
    [ "$dark" -gt 15 ] || fail "no text in the $lang menu title ($dark dark pixels)"
done
echo "PASS: the Polish program shows other texts in the same window"
