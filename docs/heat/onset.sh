#!/bin/sh
# The growth rate of the kinetic energy in the heated layer of Grids/ at
# each Rayleigh number: negative below the onset of convection, positive
# above it. Prints "Ra rate" lines, the rate fitted between t = 60 and the
# end (the simulated time is that of the free-fall speed of Ra 5000, the
# file's Reynolds number, whatever Ra).
#   onset.sh KELVO_BATCH GRID WORK_DIR RAYLEIGH...
set -eu
batch=$1
grid=$2
work=$3
shift 3
mkdir -p "$work"
for ra in "$@"; do
  "$batch" "$grid" --rayleigh "$ra" --dt auto --threads 1 --steps 100000 --until-time 200 \
    --history "$work/onset$ra.csv" 2>/dev/null
  awk -F, -v ra="$ra" 'NR == 1 { for (k = 1; k <= NF; ++k) if ($k == "kinetic_energy") col = k; next }
       $2 >= 60 && !t1 { t1 = $2; e1 = $col } { t2 = $2; e2 = $col }
       END { printf "%s %.6g\n", ra, log(e2 / e1) / (2 * (t2 - t1)) }' "$work/onset$ra.csv"
done
