# u on the vertical centre line of the lid-driven cavity at Re 1000 on
# 130 x 130 cells, for the four methods, with the points of
# Ghia, Ghia & Shin (1982), Table I.
#
#   gnuplot -e "data='WORK_DIR'; out='FILE.png'" centre_line.gp
# WORK_DIR holds rk3.dat, central.dat, blended.dat and designed.dat (y u), written by
# compare_ghia.py.
set terminal pngcairo size 720,600 font "DejaVu Sans,11"
set output out
set title "Lid-driven cavity, Re 1000, 130 x 130 cells: u on x = 1/2"
set xlabel "u / lid speed"
set ylabel "y"
set xrange [-0.5:1.05]
set yrange [0:1]
set grid
set key left top
$ghia << END
1.00000 1.0000
0.65928 0.9766
0.57492 0.9688
0.51117 0.9609
0.46604 0.9531
0.33304 0.8516
0.18719 0.7344
0.05702 0.6172
-0.06080 0.5000
-0.10648 0.4531
-0.27805 0.2813
-0.38289 0.1719
-0.29730 0.1016
-0.22220 0.0703
-0.20196 0.0625
-0.18109 0.0547
0.00000 0.0000
END
plot data."/rk3.dat" using 2:1 with lines lw 3 lc rgb "#9467bd" title "rk3 (default)", \
     data."/central.dat" using 2:1 with lines lw 2 lc rgb "#1f77b4" title "central", \
     data."/blended.dat" using 2:1 with lines lw 2 lc rgb "#2ca02c" title "upwind-blended", \
     data."/designed.dat" using 2:1 with lines lw 2 dt 2 lc rgb "#d62728" title "designed", \
     $ghia using 1:2 with points pt 7 ps 1.2 lc rgb "black" title "Ghia, Ghia and Shin (1982)"
