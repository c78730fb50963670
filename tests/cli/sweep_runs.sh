#!/bin/sh
# kelvo-sweep as a user runs it: a three-line table through GNU parallel,
# the same table as a Slurm job array whose task body runs once per index
# (sbatch itself is not needed), and the refusals that come before any run.
#
#   sweep_runs.sh KELVO_SWEEP GRIDS_DIR
set -eu
sweep=$1
grids=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# GNU parallel keeps its state under HOME; keep it out of the user's.
HOME=$work/home
export HOME
mkdir -p "$HOME" "$work/tables"

fail() { echo "FAIL: $*" >&2; exit 1; }

# Grid paths are relative to the table's folder.
cp "$grids/channel.grid" "$work/tables/"
cat >"$work/tables/runs.csv" <<'TABLE'
name,grid,re,dt,steps,probe
re50,channel.grid,50,0.003,10,"1.0,0.5"
re100 auto,channel.grid,100.25,auto,10,
"it's, quoted",channel.grid,,,12,"1.0,0.5;1.5,0.25"
TABLE

# Each of the three runs has its summary, and summary.csv one ok row each.
check_runs() {
    out=$1
    for name in re50 "re100 auto" "it's, quoted"; do
        [ -s "$out/$name/summary.json" ] || fail "no summary.json in $out/$name"
        [ -s "$out/$name/log.txt" ] || fail "no log.txt in $out/$name"
    done
    [ "$(wc -l <"$out/summary.csv")" -eq 4 ] || fail "summary.csv of $out has not 3 rows"
    head -n 1 "$out/summary.csv" | grep -q '^name,grid,re,dt,steps,probe,status,steps_run,time,cd_mean,' ||
        fail "summary.csv header: $(head -n 1 "$out/summary.csv")"
    [ "$(grep -c ',ok,' "$out/summary.csv")" -eq 3 ] || fail "not every run is ok in $out/summary.csv"
    grep -q '^re50,channel.grid,50,0.003,10,"1.0,0.5",ok,10,0.03' "$out/summary.csv" || fail "re50 row"
    grep -q '^"it'"'"'s, quoted",channel.grid,,,12,.*,ok,12,' "$out/summary.csv" || fail "quoted row"
    grep -q '"x": 1.5, "y": 0.25' "$out/it's, quoted/summary.json" || fail "second probe not passed on"
    grep -q '"reynolds": 100.25,' "$out/re100 auto/summary.json" || fail "fractional re not passed on"
}

# GNU parallel, started from another folder.
(cd "$work" && "$sweep" tables/runs.csv out --jobs 2) || fail "the sweep ended with status $?"
check_runs "$work/out"
[ "$(grep -c "kelvo-batch" "$work/out/joblog.txt")" -eq 3 ] || fail "joblog.txt lacks runs"
[ "$(wc -l <"$work/out/commands.txt")" -eq 3 ] || fail "commands.txt has not 3 lines"

# Slurm: the script's header, then its body once per array index.
"$sweep" --slurm "$work/tables/runs.csv" "$work/slurm" || fail "--slurm ended with status $?"
script=$work/slurm/sweep.sbatch
grep -qx '#SBATCH --array=0-2' "$script" || fail "no --array=0-2 in sweep.sbatch"
grep -qx '#SBATCH --job-name=kelvo-slurm' "$script" || fail "no job name in sweep.sbatch"
grep -qx "#SBATCH --output=$work/slurm/slurm-%A_%a.out" "$script" || fail "no output in sweep.sbatch"
[ ! -e "$work/slurm/summary.csv" ] || fail "--slurm merged before any run"
for index in 0 1 2; do
    SLURM_ARRAY_TASK_ID=$index sh "$script" || fail "array task $index ended with status $?"
done
if SLURM_ARRAY_TASK_ID=3 sh "$script" 2>/dev/null; then fail "array task 3 of 3 runs succeeded"; fi
# submit.sh against a stand-in sbatch that runs a --wrap job at once, as the
# dependent merge runs after the array.
mkdir -p "$work/bin"
cat >"$work/bin/sbatch" <<'SBATCH'
#!/bin/sh
echo "$*" >>"$SBATCH_CALLS"
[ "$1" = --parsable ] && echo "4242;cluster"
while [ $# -gt 1 ]; do
    [ "$1" = --wrap ] && exec sh -c "$2"
    shift
done
SBATCH
chmod +x "$work/bin/sbatch"
SBATCH_CALLS=$work/sbatch.calls PATH=$work/bin:$PATH sh "$work/slurm/submit.sh" >/dev/null ||
    fail "submit.sh ended with status $?"
grep -q "^--parsable $script\$" "$work/sbatch.calls" || fail "submit.sh did not submit the array"
grep -q -- '--dependency=afterany:4242 ' "$work/sbatch.calls" || fail "the merge does not wait for the array"
check_runs "$work/slurm"

# A run that fails is a failed row and a failed sweep; the others still count.
printf 'name,grid,steps\ngood,channel.grid,5\nbad,missing.grid,5\n' >"$work/tables/failing.csv"
if "$sweep" "$work/tables/failing.csv" "$work/failing" 2>/dev/null; then fail "a sweep with a failed run succeeded"; fi
grep -q '^good,channel.grid,5,ok,5,' "$work/failing/summary.csv" || fail "the good run is not ok"
grep -q '^bad,missing.grid,5,exit 1,,' "$work/failing/summary.csv" || fail "the failed run is not 'exit 1'"

# A typo stops everything before anything runs, naming the line.
printf 'name,grid,re\na,channel.grid,100\nb,channel.grid,1OO\n' >"$work/tables/typo.csv"
status=0
"$sweep" "$work/tables/typo.csv" "$work/typo" 2>"$work/typo.err" || status=$?
[ "$status" -eq 2 ] || fail "a typo gave status $status, not 2"
grep -q 'typo.csv: line 3: --re needs a finite number above 0' "$work/typo.err" || fail "typo message: $(cat "$work/typo.err")"
[ ! -e "$work/typo" ] || fail "a refused table made its output folder"

# Without GNU parallel the sweep says so; --slurm does not need it.
status=0
PATH=/nonexistent "$sweep" "$work/tables/runs.csv" "$work/none" 2>"$work/none.err" || status=$?
[ "$status" -eq 2 ] || fail "a missing parallel gave status $status"
grep -q 'GNU parallel is not on PATH' "$work/none.err" || fail "no word of the missing parallel"

echo "sweep: 3 runs through GNU parallel and 3 array tasks merged, refusals checked"
