#!/bin/sh
# Runs kelvo-batch on lid-driven cavities to a steady state and keeps the
# CSV dumps for compare_ghia.py.
#
#   measure.sh BUILD_DIR WORK_DIR [CASE...]
# A case is SCHEME:CELLS:RE, e.g. rk3:130:1000; without cases, every
# method on 66 and 130 cells at Re 100, 400 and 1000. RE is the cavity's:
# rk3 holds the walls on the cell faces, so its cavity is CELLS - 2 cells
# of a domain CELLS cells high, and the program's Re is RE CELLS/(CELLS-2).
set -eu
build=$1
work=$2
shift 2
mkdir -p "$work"
cases="$*"
if [ -z "$cases" ]; then
  for n in 66 130; do
    for re in 100 400 1000; do
      for scheme in rk3 central blended designed; do
        cases="$cases $scheme:$n:$re"
      done
    done
  done
fi
for c in $cases; do
  scheme=${c%%:*}
  rest=${c#*:}
  n=${rest%%:*}
  re=${rest#*:}
  grid="$work/cavity$n.grid"
  [ -f "$grid" ] || "$build/tests/validation/make_cavity_grid" "$n" 100 "$grid"
  # Steady: no u or v changes by more than 1e-6 in a step; 60000 steps at most.
  programRe=$re
  if [ "$scheme" = rk3 ]; then
    programRe=$(awk -v r="$re" -v n="$n" 'BEGIN { printf "%.17g", r * n / (n - 2) }')
  fi
  "$build/kelvo-batch" "$grid" --re "$programRe" --dt auto --convection "$scheme" \
    --until-steady 1e-6 --steps 60000 --dump-csv "$work/$scheme-$n-$re.csv" \
    2> "$work/$scheme-$n-$re.log"
  tail -2 "$work/$scheme-$n-$re.log"
done
