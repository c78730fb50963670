#!/bin/sh
# Runs the flow past a circle of Schäfer & Turek (1996) with kelvo-batch:
# case 2D-1 (Re 20, steady) at 10, 20 and 40 cells per diameter and 2D-2
# (Re 100, periodic) at 10, 20 and 40, then prints the README's table and
# writes the convergence data for benchmark.gp.
#
#   benchmark.sh BUILD_DIR WORK_DIR
# The grids come from make_benchmark_grid (io/benchmark_grids.h: their
# lengths, the inflow and the Reynolds number in the program's units), which
# prints the run's --re, --probe and --ref-* arguments. Grids/dfg_2d1.grid
# and Grids/dfg_2d2.grid are its 20-cell grids.
set -eu
build=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work"
for d in 10 20 40; do
  args=$("$build/cli/make_benchmark_grid" "$d" 20 "$work/2d1-$d.grid")
  # Steady: no u or v changes by more than 1e-7 in a step.
  "$build/kelvo-batch" "$work/2d1-$d.grid" $args --dt auto --until-steady 1e-7 --steps 100000 --threads 1 \
    --summary-json "$work/2d1-$d.json" 2> "$work/2d1-$d.log"
done
for d in 10 20 40; do
  args=$("$build/cli/make_benchmark_grid" "$d" 100 "$work/2d2-$d.grid")
  # 30 units of time: the shedding is periodic from about t = 8 on; the
  # table reads the periods after t = 15.
  "$build/kelvo-batch" "$work/2d2-$d.grid" $args --dt auto --until-time 30 --steps 1000000 --threads 1 \
    --history "$work/2d2-$d.csv" --history-every 2 --summary-json "$work/2d2-$d.json" 2> "$work/2d2-$d.log"
done
/usr/bin/python3 "$here/benchmark_table.py" "$work" > "$work/table.md"
cat "$work/table.md"
