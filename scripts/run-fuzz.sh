#!/bin/sh
# Fuzzes grid files from strangers with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer: fuzz_grid_file decodes them (invariants and
# round trips of every loaded grid), fuzz_grid_run builds a solver from each
# loaded grid and steps it.
#
# usage: scripts/run-fuzz.sh [--merge] [SECONDS]
#
# Builds build-fuzz/ with clang (only the fuzz targets and what they link),
# then runs the targets for SECONDS in all (default 60; two thirds for the
# reader, the rest for the run), each over a fresh copy of the committed
# corpus, the hand-made seeds and the example grids. Exits non-zero on any
# finding (crash, broken invariant, leak, undefined behaviour, timeout); the
# input that caused it is kept in build-fuzz/findings/.
#
# --merge: afterwards, minimise everything the runs found into a new
# tests/fuzz/corpus/ (only inputs that add coverage to either target).
set -eu
cd "$(dirname "$0")/.."

merge=0
if [ "${1:-}" = "--merge" ]; then
    merge=1
    shift
fi
seconds=${1:-60}
case $seconds in
    ''|*[!0-9]*) echo "run-fuzz.sh: SECONDS must be a whole number, not '$seconds'" >&2; exit 2 ;;
esac
run_seconds=$((seconds / 3))
[ "$run_seconds" -ge 1 ] || run_seconds=1
file_seconds=$((seconds - run_seconds))
[ "$file_seconds" -ge 1 ] || file_seconds=1

build=build-fuzz
fuzz_dir=tests/fuzz
findings=$build/findings
max_len=8192

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKELVO_FUZZ=ON -DKELVO_BUILD_GUI=OFF -DKELVO_BUILD_BENCH=OFF -DKELVO_BUILD_TESTS=ON \
    -DKELVO_SANITIZE=OFF >/dev/null
cmake --build "$build" --target fuzz_grid_file fuzz_grid_run -j"$(nproc)"

export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-}:print_stacktrace=1:halt_on_error=1"

rm -rf "$findings"
mkdir -p "$findings"

# fuzz TARGET SECONDS: fuzzes TARGET over a fresh copy of the inputs in
# build-fuzz/corpus-TARGET; returns libFuzzer's status.
fuzz() {
    work=$build/corpus-$1
    rm -rf "$work"
    mkdir -p "$work"
    for src in "$fuzz_dir/corpus" "$fuzz_dir/seeds"; do
        if [ -d "$src" ] && [ -n "$(ls -A "$src")" ]; then
            cp "$src"/* "$work"/
        fi
    done
    cp Grids/*.grid "$work"/
    echo "run-fuzz.sh: $1 for $2 s"
    "$build/$1" "$work" -dict="$fuzz_dir/grid_file.dict" \
        -max_total_time="$2" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$findings/$1-" -print_final_stats=1
}

status=0
fuzz fuzz_grid_file "$file_seconds" || status=$?
fuzz fuzz_grid_run "$run_seconds" || status=$?

if [ -n "$(ls -A "$findings")" ]; then
    echo "run-fuzz.sh: findings in $findings:" >&2
    ls -l "$findings" >&2
    [ "$status" -ne 0 ] || status=1
fi
if [ "$status" -ne 0 ]; then
    echo "run-fuzz.sh: the fuzzer failed (status $status)" >&2
    exit "$status"
fi

if [ "$merge" -eq 1 ]; then
    fresh=$build/corpus-merged
    rm -rf "$fresh"
    mkdir -p "$fresh"
    for target in fuzz_grid_file fuzz_grid_run; do
        "$build/$target" -merge=1 -max_len="$max_len" "$fresh" "$build/corpus-$target"
    done
    # Merged inputs are named by their SHA-1; the seeds and example grids are
    # kept elsewhere already.
    for known in "$fuzz_dir"/seeds/* Grids/*.grid; do
        rm -f "$fresh/$(sha1sum "$known" | cut -d' ' -f1)"
    done
    rm -rf "$fuzz_dir/corpus"
    mv "$fresh" "$fuzz_dir/corpus"
    echo "run-fuzz.sh: $(ls "$fuzz_dir/corpus" | wc -l) inputs in $fuzz_dir/corpus"
fi
