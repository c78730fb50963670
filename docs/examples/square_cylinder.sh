#!/bin/sh
# The worked example of the README: the square obstacle of
# Grids/square_cylinder.grid at Re_D = 100, its forces, shedding and field
# files, a plot of its lift and a picture of its vorticity.
#
#   square_cylinder.sh BUILD_DIR WORK_DIR [IMAGE_DIR]
# Writes WORK_DIR/{history.csv,summary.json,vtk/}, and the two pictures
# into IMAGE_DIR (default WORK_DIR). Needs gnuplot and python3-vtk9.
set -eu
build=$1
work=$2
images=${3:-$2}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work" "$images"

# 2041 steps of the default method with --dt auto: the last cycle (2040 =
# 51 x 40) is a frame cycle, so the last field file shows the final state;
# about 27 units of simulated time. The file's own Reynolds number, 816.67,
# gives Re_D = 100 on the obstacle's side of 6 cells.
"$build/kelvo-batch" "$here/../../Grids/square_cylinder.grid" --dt auto --steps 2041 \
    --interval 40 --elements none --vtk "$work/vtk" --probe 1.5,0.5 \
    --history "$work/history.csv" --summary-json "$work/summary.json"

# The lift and drag of the obstacle (columns t, body1_cd, body1_cl) over the
# last ten units of time.
last=$(tail -n 1 "$work/history.csv" | cut -d, -f2)
gnuplot -e "
  set datafile separator ',';
  set terminal pngcairo size 800,360 font ',10';
  set output '$images/square_cylinder_lift.png';
  set xlabel 'simulated time t (domain height 1, centre-line inflow speed 1)';
  set ylabel 'coefficient';
  set xrange [$last - 10:$last];
  set key outside right;
  set grid;
  plot '$work/history.csv' every ::1 using 2:9 with lines lw 2 title 'C_L',
       '' every ::1 using 2:(\$8 - 1) with lines lw 2 title 'C_D - 1'"

final=$(ls "$work"/vtk/fields_*.vti | tail -n 1)
/usr/bin/python3 "$here/vti_picture.py" "$final" vorticity "$images/square_cylinder_vorticity.png" 3 8
