#!/bin/sh
# Runs the Reynolds-number sweep of the square obstacle with kelvo-sweep and
# prints the README's table (Markdown) from its summary.csv.
#
#   square_cylinder_re.sh BUILD_DIR WORK_DIR [JOBS]
# JOBS runs at a time (default 2).
set -eu
build=$1
work=$2
jobs=${3:-2}
here=$(cd "$(dirname "$0")" && pwd)

start=$(date +%s)
status=0
"$build/kelvo-sweep" "$here/square_cylinder_re.csv" "$work" --jobs "$jobs" || status=$?
seconds=$(($(date +%s) - start))

# name,grid,re,dt,steps,convection,pressure,status,steps_run,time,cd_mean,
# cl_mean,cd_amplitude,cl_amplitude,strouhal
echo "| Re_D | Re (grid) | steps | time | St | mean C_D | C_D amplitude | C_L amplitude |"
echo "|---|---|---|---|---|---|---|---|"
awk -F, 'NR > 1 {
    red = substr($1, 4)
    if ($8 != "ok") { printf "| %s | %s | %s | | | | | |\n", red, $3, $8; next }
    st = $15 == "" ? "no shedding" : sprintf("%.4f", $15)
    printf "| %s | %s | %s | %.1f | %s | %.3f | %.4f | %.3f |\n", red, $3, $9, $10, st, $11, $13, $14
}' "$work/summary.csv"
echo
echo "$seconds s for the sweep, $jobs runs at a time"
exit "$status"
