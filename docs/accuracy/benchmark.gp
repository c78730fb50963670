# Error of the steady drag and pressure difference of Schäfer & Turek's
# case 2D-1 against cells per diameter, the circle as an exact outline,
# beside the drag of the same circle painted as whole cells (before the
# outlines), with slopes 1 and 2 for reference.
#
#   gnuplot -e "data='WORK_DIR'; out='FILE.png'" benchmark.gp
# WORK_DIR holds convergence.dat (cells, |C_D error|, |dp error|), written by
# benchmark_table.py.
set terminal pngcairo size 720,560 font "DejaVu Sans,11"
set output out
set title "Circle in a channel, Re 20 (2D-1): error against the converged values"
set xlabel "cells per diameter"
set ylabel "error"
set logscale xy
set xrange [8:50]
set xtics ("10" 10, "20" 20, "40" 40)
set yrange [1e-4:1]
set grid
set key right top
$painted << EOD
10 0.4495
20 0.2495
EOD
plot data."/convergence.dat" using 1:2 with linespoints lw 2 pt 7 lc rgb "#1f77b4" title "C_D, outline", \
     data."/convergence.dat" using 1:3 with linespoints lw 2 pt 5 dt 2 lc rgb "#2ca02c" title "Δp, outline", \
     $painted using 1:2 with linespoints lw 2 pt 9 lc rgb "#d62728" title "C_D, painted cells", \
     0.02 * (10.0 / x)**2 with lines lc rgb "gray" dt 3 title "slope 2", \
     0.45 * (10.0 / x) with lines lc rgb "gray" dt 4 title "slope 1"
