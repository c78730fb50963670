#!/bin/sh
# Finds, for each example grid and two Reynolds numbers, which time steps
# keep the explicit scheme stable: every candidate runs for STEPS steps and
# counts as stable when all fields stay finite and no velocity grows past
# ten times the largest one the set-up starts with.
# Usage: measure-stability.sh KELVO_BATCH [GRIDS_DIR] [STEPS]
# Prints one line per grid and Reynolds number, as a Markdown table.
set -eu
batch=$1
grids=${2:-$(dirname "$0")/../Grids}
steps=${3:-5000}
candidates="0.001 0.002 0.003 0.005 0.008 0.01 0.02 0.05 0.1 0.2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Largest |u| or |v| in a CSV dump (columns i,j,flags,u,v,p); "nan" or
# "inf" anywhere gives "inf".
max_speed() {
    awk -F, 'NR > 1 {
        for (k = 4; k <= 5; k++) {
            s = $k
            if (s ~ /[nN][aA][nN]|[iI][nN][fF]/) { bad = 1; continue }
            a = s < 0 ? -s : s
            if (a > m) m = a
        }
    } END { if (bad) print "inf"; else printf "%.3g\n", m }' "$1"
}

# Whether a run of grid $1 at Re $2 and dt $3 stays bounded by $4.
stable() {
    log=$work/log
    "$batch" "$1" --steps "$steps" --re "$2" --dt "$3" --dump-csv "$work/end.csv" >"$log" 2>&1 || return 1
    grep -q 'all fields stayed finite' "$log" || return 1
    speed=$(max_speed "$work/end.csv")
    [ "$speed" != inf ] || return 1
    end_speed=$speed
    awk -v s="$speed" -v lim="$4" 'BEGIN { exit !(s <= lim) }'
}

echo "| grid | NX x NY | dx | Re | Re*dx^2/4 | start max speed | dx/max speed | 2/(Re*max speed^2) | largest stable dt | its end max speed | first unstable dt |"
echo "|---|---|---|---|---|---|---|---|---|---|---|"
for g in channel cavity step; do
    file=$grids/$g.grid
    # The set-up's own largest speed: the state after the build step.
    "$batch" "$file" --steps 0 --dump-csv "$work/start.csv" >/dev/null 2>&1
    umax=$(max_speed "$work/start.csv")
    size=$("$batch" "$file" --steps 0 2>&1 | sed -n 's/.*, \([0-9]* x [0-9]*\) cells.*/\1/p')
    nx=${size% x *}
    ny=${size#* x }
    # dx = (NX div NY) / NX
    dx=$(awk -v nx="$nx" -v ny="$ny" 'BEGIN { printf "%.4g", int(nx / ny) / nx }')
    limit=$(awk -v u="$umax" 'BEGIN { print 10 * u }')
    for re in 100 1000; do
        best=none
        best_speed=-
        first=none
        for dt in $candidates; do
            if stable "$file" "$re" "$dt" "$limit"; then
                best=$dt
                best_speed=$end_speed
            else
                first=$dt
                break
            fi
        done
        visc=$(awk -v re="$re" -v dx="$dx" 'BEGIN { printf "%.3g", re * dx * dx / 4 }')
        conv=$(awk -v dx="$dx" -v u="$umax" 'BEGIN { printf "%.3g", dx / u }')
        # dt < 2 / (Re |u|^2): central differences at a cell Reynolds
        # number above 2
        cell=$(awk -v re="$re" -v u="$umax" 'BEGIN { printf "%.3g", 2 / (re * u * u) }')
        echo "| $g | $size | $dx | $re | $visc | $umax | $conv | $cell | $best | $best_speed | $first |"
    done
done
