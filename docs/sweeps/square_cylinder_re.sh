#!/bin/sh
# Runs the Reynolds-number sweep of the square obstacle with kelvo-sweep and
# prints the README's table (Markdown) from its summary.csv; given the
# README, also puts the table between its two "sweep table" marker lines.
#
#   square_cylinder_re.sh BUILD_DIR WORK_DIR [JOBS [README]]
# JOBS runs at a time (default 2), e.g.
#   docs/sweeps/square_cylinder_re.sh build /tmp/re 2 README.md
set -eu
build=$1
work=$2
jobs=${3:-2}
readme=${4:-}
here=$(cd "$(dirname "$0")" && pwd)

start=$(date +%s)
status=0
"$build/kelvo-sweep" "$here/square_cylinder_re.csv" "$work" --jobs "$jobs" || status=$?
seconds=$(($(date +%s) - start))

# summary.csv: name,grid,re,dt,steps,convection,pressure,threads,status,steps_run,
# time,cd_mean,cl_mean,cd_amplitude,cl_amplitude,strouhal
table=$work/readme_table.md
{
    echo "| Re_D | re (grid) | steps | time | St | mean C_D | C_D amplitude | C_L amplitude |"
    echo "|---|---|---|---|---|---|---|---|"
    awk -F, 'NR > 1 {
        red = substr($1, 4)
        if ($9 != "ok") { printf "| %s | %s | %s | | %s | | | |\n", red, $3, $5, $9; next }
        st = $16 == "" ? "none (steady)" : sprintf("%.3f", $16)
        printf "| %s | %s | %s | %.1f | %s | %.3f | %.4f | %.3f |\n", red, $3, $10, $11, st, $12, $14, $15
    }' "$work/summary.csv"
} >"$table"
cat "$table"
echo
echo "$seconds s for the sweep, $jobs runs at a time"

if [ -n "$readme" ]; then
    awk -v table="$table" '
        /^<!-- sweep table/ { print; while ((getline line < table) > 0) print line; skip = 1; next }
        /^<!-- end of sweep table/ { skip = 0 }
        !skip' "$readme" >"$work/README.new"
    grep -q '^<!-- end of sweep table' "$work/README.new" || { echo "no sweep table markers in $readme" >&2; exit 1; }
    cp "$work/README.new" "$readme"
fi
exit "$status"
