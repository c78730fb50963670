#!/bin/sh
# Fuzzes the grid file reader with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer.
#
# usage: scripts/run-fuzz.sh [--merge] [SECONDS]
#
# Builds build-fuzz/ with clang (only the fuzz target and what it links),
# then runs the target for SECONDS (default 60) over a fresh copy of the
# committed corpus, the hand-made seeds and the example grids. Exits
# non-zero on any finding (crash, broken invariant, leak, undefined
# behaviour, timeout); the input that caused it is kept in
# build-fuzz/findings/.
#
# --merge: afterwards, minimise everything the run found into a new
# tests/fuzz/corpus/ (only the inputs that add coverage are kept).
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

build=build-fuzz
fuzz_dir=tests/fuzz
work=$build/corpus-run
findings=$build/findings

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKELVO_FUZZ=ON -DKELVO_BUILD_GUI=OFF -DKELVO_BUILD_BENCH=OFF -DKELVO_BUILD_TESTS=ON \
    -DKELVO_SANITIZE=OFF >/dev/null
cmake --build "$build" --target fuzz_grid_file -j"$(nproc)"

rm -rf "$work" "$findings"
mkdir -p "$work" "$findings"
for src in "$fuzz_dir/corpus" "$fuzz_dir/seeds"; do
    if [ -d "$src" ] && [ -n "$(ls -A "$src")" ]; then
        cp "$src"/* "$work"/
    fi
done
cp Grids/*.grid "$work"/

export ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-}:print_stacktrace=1:halt_on_error=1"

status=0
"$build/fuzz_grid_file" "$work" \
    -dict="$fuzz_dir/grid_file.dict" \
    -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$findings/" -print_final_stats=1 || status=$?

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
    "$build/fuzz_grid_file" -merge=1 -max_len=8192 "$fresh" "$work"
    # Merged inputs are named by their SHA-1; the seeds and example grids are
    # kept elsewhere already.
    for known in "$fuzz_dir"/seeds/* Grids/*.grid; do
        rm -f "$fresh/$(sha1sum "$known" | cut -d' ' -f1)"
    done
    rm -rf "$fuzz_dir/corpus"
    mv "$fresh" "$fuzz_dir/corpus"
    echo "run-fuzz.sh: $(ls "$fuzz_dir/corpus" | wc -l) inputs in $fuzz_dir/corpus"
fi
