#!/bin/sh
# Esc in a running simulation window asks before it closes, in either
# language: No (here Esc again) keeps it running, Yes (Enter) closes it;
# a paused window closes at once.
# Usage: simulation_close.sh ENGLISH_PROGRAM POLISH_PROGRAM GRIDS_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/editor_common.sh"
. "$here/simulation_common.sh"
PAUSE_DX=185;  PAUSE_DY=254     # Pause
root=$(pwd)/simulation_close

# Esc with the pointer over the simulation window (keys go where it is).
press_escape() {
    xdotool mousemove --sync $((SX + 200)) $((SY + 130))
    sleep 0.2
    xdotool key Escape
    sleep 0.8
}

# Whether a window titled $1 is shown; sets QID.
window_shown() {
    QID=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$QID" ]
}

# A key pressed with the pointer over the question (window QID).
answer() {
    eval "$(xdotool getwindowgeometry --shell "$QID")"
    xdotool mousemove --sync $((X + 20)) $((Y + 10))
    xdotool windowfocus --sync "$QID"
    sleep 0.3
    xdotool key "$1"
    sleep 0.8
}

# LANG PROGRAM SIMULATION_TITLE QUESTION_TITLE
check_language() {
    SIM_TITLE=$3
    open_channel_simulation "$root/$1" "$2" "$grids"
    sim_click $START_DX $START_DY
    sleep 1
    press_escape
    window_shown "$4" || fail "$1: Esc while running asked nothing"
    import -window root "$out/question.png"
    answer Escape                 # No
    window_shown "$4" && fail "$1: the question stayed after No"
    window_shown "$3" || fail "$1: No closed the simulation window"
    # The time line above the canvas: a flow that has settled may leave the
    # picture as it was, but the step count moves on.
    /usr/bin/convert "$out/question.png" -crop "${TIME_LINE_W}x${TIME_LINE_H}+$((SX + TIME_LINE_X0))+$((SY + TIME_LINE_Y0))" \
        +repage "$out/before.png"
    sleep 1
    import -window root "$out/after.png"
    /usr/bin/convert "$out/after.png" -crop "${TIME_LINE_W}x${TIME_LINE_H}+$((SX + TIME_LINE_X0))+$((SY + TIME_LINE_Y0))" \
        +repage "$out/after_time_line.png"
    moved=$(/usr/bin/compare -metric AE "$out/before.png" "$out/after_time_line.png" null: 2>&1 | sed 's/ .*//')
    [ "$moved" -gt 0 ] || fail "$1: the run did not go on after No"

    press_escape
    window_shown "$4" || fail "$1: the second Esc asked nothing"
    answer Return                 # Yes, the default
    window_shown "$3" && fail "$1: Yes left the simulation window open"

    # The editor takes the first click after a modal run as its own.
    sleep 1
    click_at $((WX + 300)) $((WY + 495))
    sleep 1
    window_shown "$3" || open_simulation
    SID=$QID
    window_shown "$3" || fail "$1: the simulation window did not open again"
    sim_click $START_DX $START_DY
    sleep 0.5
    sim_click $PAUSE_DX $PAUSE_DY
    press_escape
    window_shown "$4" && fail "$1: a paused window asked"
    window_shown "$3" && fail "$1: Esc left the paused window open"
    kill "$PROGRAM_PID"
    wait "$PROGRAM_PID" 2>/dev/null
    cd "$root" || fail "cannot enter $root"
}

grids=$3
mkdir -p "$root"
check_language en "$1" 'Calculate Flow' 'Running Simulation'
# xdotool matches the titles' ASCII part only.
check_language pl "$2" 'Oblicz Przep.*' 'Trwaj.* symulacja'
echo "PASS: Esc asks before a running simulation window closes, in both languages"
