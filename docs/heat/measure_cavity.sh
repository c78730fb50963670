#!/bin/sh
# Runs the heated cavity of Grids/ at each Rayleigh number to a steady state
# and compares it with de Vahl Davis (1983).
#   measure_cavity.sh KELVO_BATCH GRID WORK_DIR [RAYLEIGH...]
set -eu
batch=$1
grid=$2
work=$3
shift 3
mkdir -p "$work"
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -eq 0 ]; then set -- 1e3 1e4 1e5 1e6; fi
for ra in "$@"; do
  # The free-fall speed's Reynolds number on the 130-cell cavity's height.
  re=$(awk -v ra="$ra" 'BEGIN { s = 128 / 130; printf "%.17g", sqrt(ra / (0.71 * s * s * s)) }')
  "$batch" "$grid" --rayleigh "$ra" --re "$re" --dt auto --threads 1 --steps 60000 --until-steady 1e-8 \
    --summary-json "$work/ra$ra.json" --dump-csv "$work/ra$ra.csv" 2>"$work/ra$ra.log"
  /usr/bin/python3 "$here/davis.py" "$work/ra$ra.json" "$work/ra$ra.csv" "$ra" 0.71 "$re"
done
