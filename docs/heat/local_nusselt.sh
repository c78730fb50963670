#!/bin/sh
# The local Nusselt number along the hot wall of the heated cavity at each
# Rayleigh number, from the CSV dumps measure_cavity.sh leaves in WORK_DIR,
# drawn into docs/images/hot_wall_nusselt.png.
#   local_nusselt.sh WORK_DIR
set -eu
work=$1
here=$(cd "$(dirname "$0")" && pwd)
images="$here/../images"
for ra in 1e3 1e4 1e5 1e6; do
  # Column 1 beside the wall (i = 0, T = 1): Nu = (1 - T) / (h / 2) L / dT
  # with L = (N - 2) h and dT = 1, at y = (j - 1/2) / (N - 2).
  awk -F, 'NR == 1 { for (k = 1; k <= NF; ++k) if ($k == "T") col = k; next }
       { if ($1 + 1 > n) n = $1 + 1 }
       $1 == 1 { T[$2] = $col }
       END { for (j = 1; j <= n - 2; ++j) printf "%.6f %.6f\n", (j - 0.5) / (n - 2), 2 * (n - 2) * (1 - T[j]) }' \
    "$work/ra$ra.csv" >"$work/nu$ra.dat"
done
gnuplot -e "
  set terminal pngcairo size 800,360 font ',10';
  set output '$images/hot_wall_nusselt.png';
  set xlabel 'local Nusselt number on the hot wall';
  set ylabel 'height y / L';
  set key outside right;
  set grid;
  plot '$work/nu1e3.dat' using 2:1 with lines lw 2 title 'Ra 10^3',
       '$work/nu1e4.dat' using 2:1 with lines lw 2 title 'Ra 10^4',
       '$work/nu1e5.dat' using 2:1 with lines lw 2 title 'Ra 10^5',
       '$work/nu1e6.dat' using 2:1 with lines lw 2 title 'Ra 10^6'"
