#!/bin/sh
# kelvo-sweep on a real Slurm: a one-node cluster started on this machine
# (munged, slurmctld, slurmd), a three-line table submitted with
# `kelvo-sweep --slurm` and its submit.sh, and the merged summary.csv
# compared with that of the same table run through GNU parallel. The
# daemons this script starts are stopped by their process ids whatever
# happens. Where they cannot start (no root, no packages, a daemon that
# fails) it says why and exits 77, which CTest reports as skipped.
#
#   slurm_sweep_test.sh KELVO_SWEEP GRIDS_DIR
set -eu
sweep=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
grids=$2
skipped=77

skip() { echo "SKIPPED: $*" >&2; exit "$skipped"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

[ "$(id -u)" -eq 0 ] || skip "starting munged and slurmd needs root"
for program in munged munge unmunge slurmctld slurmd sbatch squeue sinfo scontrol parallel runuser; do
    command -v "$program" >/dev/null 2>&1 || skip "$program is not installed (scripts/install-slurm.sh installs Slurm and munge)"
done

work=$(mktemp -d)
# The munge user reaches its folder in here.
chmod 0755 "$work"
started=""   # process ids of the daemons started here
stop_daemons() {
    for pid in $started; do kill "$pid" 2>/dev/null || true; done
    for pid in $started; do
        # A daemon gets five seconds to end before it is killed.
        tries=50
        while kill -0 "$pid" 2>/dev/null && [ "$tries" -gt 0 ]; do sleep 0.1; tries=$((tries - 1)); done
        kill -9 "$pid" 2>/dev/null || true
    done
    started=""
}
show_logs() {
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- $(basename "$log"), last lines:" >&2; tail -n 15 "$log" >&2; }
    done
    return 0
}
trap 'status=$?; stop_daemons; [ "$status" -eq 0 ] || [ "$status" -eq "$skipped" ] || show_logs; rm -rf "$work"; exit "$status"' EXIT
trap 'exit 130' INT TERM
HOME=$work/home
export HOME
mkdir -p "$HOME" "$work/tables" "$work/state" "$work/spool"

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
    tries=$1
    shift
    until "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

# munge: the one already running on the standard socket, or one started
# here as the munge user, with its key made if the machine has none.
if ! munge -n 2>/dev/null | unmunge >/dev/null 2>&1; then
    id munge >/dev/null 2>&1 || skip "there is no munge user"
    mkdir -p /run/munge /etc/munge
    chown munge:munge /run/munge
    chmod 0755 /run/munge
    if [ ! -s /etc/munge/munge.key ]; then
        dd if=/dev/urandom of=/etc/munge/munge.key bs=1024 count=1 2>/dev/null
    fi
    chown munge:munge /etc/munge/munge.key
    chmod 0400 /etc/munge/munge.key
    mkdir -p "$work/munge"
    chown munge:munge "$work/munge"
    chmod 0700 "$work/munge"
    runuser -u munge -- munged --foreground --log-file="$work/munge/munged.log" \
        --seed-file="$work/munge/munged.seed" --pid-file="$work/munge/munged.pid" >"$work/munged.out" 2>&1 &
    started="$started $!"
    wait_for 50 sh -c 'munge -n | unmunge' ||
        skip "munged did not start: $(tail -n 2 "$work/munge/munged.log" 2>/dev/null | tr '\n' ' ')"
fi

# One node, this machine, with two CPUs; ports of this run's own so that it
# meets no other cluster.
host=$(hostname -s)
port=$((20000 + $$ % 20000))
conf=$work/slurm.conf
cat >"$conf" <<CONF
ClusterName=kelvotest
SlurmctldHost=$host
SlurmctldPort=$port
SlurmdPort=$((port + 1))
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/slurmctld.log
SlurmdLogFile=$work/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
SchedulerType=sched/builtin
SchedulerParameters=sched_interval=1
ReturnToService=2
MpiDefault=none
SwitchType=switch/none
JobCompType=jobcomp/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
NodeName=$host CPUs=2 State=UNKNOWN
PartitionName=kelvo Nodes=$host Default=YES MaxTime=INFINITE State=UP
CONF
SLURM_CONF=$conf
export SLURM_CONF
slurmctld -D -i -f "$conf" >"$work/slurmctld.out" 2>&1 &
started="$started $!"
wait_for 100 scontrol ping || skip "slurmctld did not start: $(tail -n 3 "$work/slurmctld.log" "$work/slurmctld.out" 2>/dev/null | tr '\n' ' ')"
slurmd -D -f "$conf" >"$work/slurmd.out" 2>&1 &
started="$started $!"
idle() { [ "$(sinfo -h -n "$host" -o %T)" = idle ]; }
wait_for 150 idle || skip "slurmd did not bring the node up: $(tail -n 3 "$work/slurmd.log" "$work/slurmd.out" 2>/dev/null | tr '\n' ' ')"

cp "$grids/channel.grid" "$work/tables/"
cat >"$work/tables/runs.csv" <<'TABLE'
name,grid,re,dt,steps,probe
re50,channel.grid,50,0.003,10,"1.0,0.5"
re100 auto,channel.grid,100.25,auto,10,
third,channel.grid,,,12,"1.0,0.5;1.5,0.25"
TABLE

"$sweep" --slurm "$work/tables/runs.csv" "$work/slurm" >/dev/null || fail "--slurm ended with status $?"
(cd "$work" && sh slurm/submit.sh) >"$work/submit.out" 2>&1 || fail "submit.sh ended with status $?: $(cat "$work/submit.out")"
# The same table through GNU parallel meanwhile.
(cd "$work" && "$sweep" tables/runs.csv parallel --jobs 2) >/dev/null 2>&1 || fail "the parallel sweep ended with status $?"

merged() { [ -s "$work/slurm/summary.csv" ] && [ -z "$(squeue -h -o %i)" ]; }
wait_for 450 merged || fail "no merged summary.csv within 45 s; queue: $(squeue -h 2>&1 | tr '\n' ' ')"
[ "$(grep -c ',ok,' "$work/slurm/summary.csv")" -eq 3 ] || fail "not every Slurm run is ok: $(cat "$work/slurm/summary.csv")"
for index in 0 1 2; do
    ls "$work"/slurm/slurm-*_"$index".out >/dev/null 2>&1 || fail "array task $index left no output file"
done
cmp -s "$work/slurm/summary.csv" "$work/parallel/summary.csv" ||
    fail "summary.csv differs between Slurm and GNU parallel:
$(diff "$work/slurm/summary.csv" "$work/parallel/summary.csv")"
echo "Slurm and GNU parallel give the same summary.csv"
