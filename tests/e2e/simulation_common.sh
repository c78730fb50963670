# Shared steps of the simulation window's end-to-end scripts (sourced after
# editor_common.sh). Positions inside the simulation window are measured
# from its top-left corner.
START_DX=37;   START_DY=254     # Start
STOP_DX=106;   STOP_DY=254      # Stop
NONE_DX=424;   NONE_DY=287      # "none"
AVI_DX=424;    AVI_DY=310       # "An .avi Animation"
PPM_DX=424;    PPM_DY=333       # "A .ppm frames"
VTK_DX=424;    VTK_DY=356       # "VTK fields (.vti)"
UP_DX=467;     UP_DY=418        # the interval spinner's up arrow
CANVAS_X0=8;   CANVAS_Y0=32     # the canvas: 392 x 192 pixels
SIM_CANVAS_W=392; SIM_CANVAS_H=192
TIME_LINE_X0=8; TIME_LINE_Y0=4  # the step and time line above the canvas
TIME_LINE_W=300; TIME_LINE_H=24

# Starts PROGRAM in a fresh folder OUT whose Grids/ holds the example
# channel from GRIDS_DIR, loads the channel and opens the simulation window.
# Sets out and everything load_grid and open_simulation set.
open_channel_simulation() {
    enter_fresh_folder "$1"
    cp "$3/channel.grid" "$out/Grids/"
    start_program "$2"
    find_main_window
    load_grid "$out/Grids/channel.grid"
    open_simulation
}

# Loads a grid file through the tool bar's Load button and the file dialog.
load_grid() {
    click_at $((WX + 47)) $((WY + 39))
    DID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Load\.\.\.$' | head -n 1)
    [ -n "$DID" ] || fail "the Load dialog did not appear"
    eval "$(xdotool getwindowgeometry --shell "$DID")"
    xdotool windowfocus --sync "$DID"
    sleep 0.3
    click_at $((X + 240)) $((Y + HEIGHT - 54))
    xdotool type --delay 20 "$1"
    sleep 0.3
    xdotool key Return
    sleep 1
}

# Presses "&Calculate It" and waits for the simulation window, titled
# SIM_TITLE (the English title unless set); sets SID, SX, SY.
open_simulation() {
    click_at $((WX + 300)) $((WY + 495))
    SID=$(timeout 10 xdotool search --sync --onlyvisible --name "^${SIM_TITLE:-Calculate Flow}\$" | head -n 1)
    [ -n "$SID" ] || fail "the simulation window did not appear"
    eval "$(xdotool getwindowgeometry --shell "$SID")"
    SX=$X
    SY=$Y
    sleep 0.5
}

# Clicks a point of the simulation window.
sim_click() {
    click_at $((SX + $1)) $((SY + $2))
}

# Clicks the interval spinner's up arrow n times (one pointer move: a
# synchronous move to where the pointer already is would wait in vain).
interval_up() {
    xdotool mousemove --sync $((SX + UP_DX)) $((SY + UP_DY))
    sleep 0.1
    xdotool click --repeat "$1" --delay 150 1
    sleep 0.2
}

# Waits until a file exists (at most about ten seconds).
wait_for_file() {
    n=0
    while [ ! -e "$1" ] && [ "$n" -lt 50 ]; do
        sleep 0.2
        n=$((n + 1))
    done
    [ -e "$1" ]
}

# Number of lit (not black) pixels of the simulation canvas in a screenshot.
canvas_lit_pixels() {
    /usr/bin/convert "$1" -crop "${SIM_CANVAS_W}x${SIM_CANVAS_H}+$((SX + CANVAS_X0))+$((SY + CANVAS_Y0))" +repage \
        -threshold 1% -format '%[fx:int(mean*w*h+0.5)]' info:
}
