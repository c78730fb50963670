# Largest difference of the cavity's centre-line velocities (Re 100) from
# the finest grid's, against the cells across, for rk3 and the central
# forward-Euler scheme, with a slope of 2 for reference.
#
#   gnuplot -e "data='WORK_DIR'; out='FILE.png'" convergence.gp
# WORK_DIR holds rk3.dat and central.dat (cells du dv), written by
# convergence.py.
set terminal pngcairo size 720,560 font "DejaVu Sans,11"
set output out
set title "Lid-driven cavity, Re 100: centre-line velocities against the finest grid"
set xlabel "cells across"
set ylabel "largest difference / lid speed"
set logscale xy
set xrange [28:160]
set grid
set key right top
plot data."/rk3.dat" using 1:2 with linespoints lw 2 pt 7 lc rgb "#1f77b4" title "rk3, u on x = 1/2", \
     data."/rk3.dat" using 1:3 with linespoints lw 2 pt 5 dt 2 lc rgb "#1f77b4" title "rk3, v on y = 1/2", \
     data."/central.dat" using 1:2 with linespoints lw 2 pt 7 lc rgb "#d62728" title "central, u", \
     data."/central.dat" using 1:3 with linespoints lw 2 pt 5 dt 2 lc rgb "#d62728" title "central, v", \
     0.1 * (34.0 / x)**2 with lines lc rgb "gray" dt 3 title "slope 2"
