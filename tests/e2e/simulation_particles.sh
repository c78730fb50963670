#!/bin/sh
# The emitter tool of the simulation window: with it ticked, a drag across
# the channel ahead of the post places a line emitter, and Release from
# Inflow one along the inflow; started, the canvas shows the particles in
# the first two colours of the palette (orange, sky blue), and without
# the tool a drag places nothing.
# Usage: simulation_particles.sh PROGRAM GRIDS_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/editor_common.sh"
. "$here/simulation_common.sh"
. "$here/../docs/picture_checks.sh"
PAUSE_DX=185;  PAUSE_DY=254         # Pause
TOOL_DX=262;   TOOL_DY=412          # Emitter Tool
INFLOW_DX=316; INFLOW_DY=436        # Release from Inflow

# Drags on the canvas from (x, y) to (x, y + h), window-relative.
drag_down() {
    xdotool mousemove --sync $((SX + $1)) $((SY + $2))
    sleep 0.1
    xdotool mousedown 1
    sleep 0.1
    xdotool mousemove --sync $((SX + $1 + 2)) $((SY + $2 + $3))
    sleep 0.1
    xdotool mouseup 1
    sleep 0.3
}

# Pixels of colour r g b on the canvas of screenshot FILE.
canvas_colour() {
    count_colour "$1" $((SX + CANVAS_X0)) $((SY + CANVAS_Y0)) "$SIM_CANVAS_W" "$SIM_CANVAS_H" "$2" "$3" "$4"
}

open_channel_simulation "$(pwd)/simulation_particles" "$1" "$2"
drag_down 60 60 140                 # the tool is off: nothing placed
sim_click $TOOL_DX $TOOL_DY
drag_down 60 60 140
sim_click $INFLOW_DX $INFLOW_DY
sim_click $START_DX $START_DY
sleep 4
sim_click $PAUSE_DX $PAUSE_DY
sleep 0.5
import -window root "$out/running.png"
orange=$(canvas_colour "$out/running.png" 230 159 0)
blue=$(canvas_colour "$out/running.png" 86 180 233)
[ "$orange" -gt 500 ] || fail "only $orange orange pixels: the dragged line emitter releases nothing"
[ "$blue" -gt 500 ] || fail "only $blue sky-blue pixels: Release from Inflow releases nothing"
# A drag without the tool taking a colour would push the inflow's to the
# third, bluish green.
green=$(canvas_colour "$out/running.png" 0 158 115)
[ "$green" -eq 0 ] || fail "$green bluish-green pixels: a drag without the tool placed an emitter"
# The dragged line lies a fifth of the way along: nothing orange upstream.
upstream=$(count_colour "$out/running.png" $((SX + CANVAS_X0)) $((SY + CANVAS_Y0)) 40 "$SIM_CANVAS_H" 230 159 0)
[ "$upstream" -eq 0 ] || fail "$upstream orange pixels upstream of the line emitter"
# Closed (paused: at once), the window hands its emitters to the drawn
# grid, and Save writes them: a version-4 file.
xdotool mousemove --sync $((SX + 200)) $((SY + 130))
sleep 0.2
xdotool key Escape
sleep 0.8
click_at $((WX + 72)) $((WY + 39))
DID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Save As\.\.$' | head -n 1)
[ -n "$DID" ] || fail "the Save As.. dialog did not appear"
eval "$(xdotool getwindowgeometry --shell "$DID")"
xdotool windowfocus --sync "$DID"
sleep 0.3
click_at $((X + 240)) $((Y + HEIGHT - 54))
xdotool type --delay 20 "$out/Grids/with_emitters.grid"
sleep 0.3
xdotool key Return
wait_for_file "$out/Grids/with_emitters.grid" || fail "no grid file was written"
sleep 0.5
version=$(od -An -tu4 -j14 -N4 "$out/Grids/with_emitters.grid" | tr -d ' ')
[ "$version" = 4 ] || fail "the saved grid is not of version 4 (bytes 14..17: $version)"
kill "$PROGRAM_PID"
wait "$PROGRAM_PID" 2>/dev/null
echo "PASS: the emitter tool and Release from Inflow put particles into the running flow, and Save keeps them"
