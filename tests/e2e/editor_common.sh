# Shared helpers of the editor's end-to-end scripts (sourced, not run).
# They need xdotool and ImageMagick, and an X display of 24 bits.

# The canvas lies at (8, 61) in the window: its frame at (2, 55) plus a
# 2-pixel groove and 4 pixels of padding; it is 588 x 388 pixels.
CANVAS_DX=8
CANVAS_DY=61
CANVAS_W=588
CANVAS_H=388

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts a program in the background; PROGRAM_PID is its pid. The trap ends
# it whatever way the script ends.
start_program() {
    "$@" &
    PROGRAM_PID=$!
    trap 'kill $PROGRAM_PID 2>/dev/null; wait $PROGRAM_PID 2>/dev/null' EXIT INT TERM
}

# Makes OUT an empty folder with an empty Grids/ in it, and enters it.
enter_fresh_folder() {
    out=$1
    rm -rf "$out"
    mkdir -p "$out/Grids"
    cd "$out" || fail "cannot enter $out"
}

# Starts PROGRAM in the fresh folder OUT (enter_fresh_folder) and waits for
# its main window.
start_in_fresh_folder() {
    enter_fresh_folder "$1"
    start_program "$2"
    find_main_window
}

# Waits for the main window and sets WID, WX, WY.
find_main_window() {
    WID=$(timeout 20 xdotool search --sync --onlyvisible --name '^Kelvo -Fluxeria v1\.0$' | head -n 1)
    [ -n "$WID" ] || fail "the main window did not appear"
    eval "$(xdotool getwindowgeometry --shell "$WID")"
    WX=$X
    WY=$Y
    sleep 1
}

# Screen position of the centre of cell (i, j) of an NX x NY grid, as the
# editor draws it fitted: square cells, the grid centred and 95% of the
# canvas along its tighter direction.
cell_xy() {
    awk -v i="$1" -v j="$2" -v nx="$3" -v ny="$4" -v wx="$WX" -v wy="$WY" \
        -v dx="$CANVAS_DX" -v dy="$CANVAS_DY" -v w="$CANVAS_W" -v h="$CANVAS_H" 'BEGIN {
        s = 0.95 * (w / nx < h / ny ? w / nx : h / ny)
        x = (w - nx * s) / 2 + (i + 0.5) * s
        y = (h - ny * s) / 2 + (ny - j - 0.5) * s
        printf "%d %d\n", wx + dx + int(x), wy + dy + int(y)
    }'
}

# Moves the pointer to a screen position (x y) and clicks the left button.
click_at() {
    xdotool mousemove --sync "$1" "$2"
    sleep 0.1
    xdotool click 1
    sleep 0.1
}

# The colour "r g b" of a screen pixel in a screenshot.
pixel_of() {
    /usr/bin/convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- |
        sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}

# Whether colour "r g b" lies within tol of the expected r g b.
near_colour() {
    echo "$1" | awk -v r="$2" -v g="$3" -v b="$4" -v t="$5" '{
        d1 = $1 - r; d2 = $2 - g; d3 = $3 - b
        if (d1 < 0) d1 = -d1; if (d2 < 0) d2 = -d2; if (d3 < 0) d3 = -d3
        exit !(d1 <= t && d2 <= t && d3 <= t)
    }'
}

# Takes screenshots into file $1 until pixel ($2, $3) shows colour r g b
# ($4 $5 $6) within 2 units, for at most about 10 seconds; false if it never
# does. A loaded machine may draw late.
shot_when_colour() {
    tries=0
    while [ "$tries" -lt 20 ]; do
        import -window root "$1"
        near_colour "$(pixel_of "$1" "$2" "$3")" "$4" "$5" "$6" 2 && return 0
        tries=$((tries + 1))
        sleep 0.5
    done
    return 1
}

# Waits up to about 3 seconds for the started program to end, and fails
# unless it ended with status 0. $1 names what should have ended it.
expect_clean_exit() {
    for n in 1 2 3 4 5 6 7 8 9 10; do
        kill -0 "$PROGRAM_PID" 2>/dev/null || break
        sleep 0.3
    done
    kill -0 "$PROGRAM_PID" 2>/dev/null && fail "the program is still running after $1"
    wait "$PROGRAM_PID"
    status=$?
    [ "$status" -eq 0 ] || fail "the program ended with status $status"
}
