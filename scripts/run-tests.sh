#!/bin/sh
# Builds everything and runs every test: the full Release build (unit, GUI
# and end-to-end tests under Xvfb, the Python module's tests, and a sweep
# on a one-node Slurm cluster it starts), the unit tests and then the GUI tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer, the window
# tests that drive the simulation's worker thread under ThreadSanitizer, and
# a minute of fuzzing the grid file reader.
set -e
cd "$(dirname "$0")/.."

# Each phase says when it starts, so a slow run shows where its time went.
phase() { echo "run-tests.sh: $* at $(date -u +%H:%M:%S)"; }

phase "installing what is missing"
./scripts/install-deps.sh
./scripts/install-slurm.sh

jobs=$(nproc)

phase "the Release build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$jobs"
phase "the Release tests"
ctest --test-dir build --output-on-failure -j"$jobs"

# One sanitizer build serves the unit tests here and the GUI tests after.
# Left out under it: three tests that repeat the paths of shorter ones many
# times over (Gauss-Seidel reference solves, the same steps with one to
# three threads, every example grid for hundreds of steps); they took two
# thirds of the sanitizer run and still run in the Release build above.
phase "the sanitizer build"
./scripts/build-asan.sh
phase "the unit tests under the sanitizers"
repeats="MultigridPressure.MatchesGaussSeidelOnEverySetUp|MultigridPressure.SameBitsWithAnyNumberOfThreads"
repeats="$repeats|ExampleGrids.EachRunsFiniteWithoutHittingTheSweepCap"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE gui -E "^($repeats)\$"

phase "the window tests under the sanitizers"
./scripts/run-gui-asan.sh

phase "the worker's window tests under ThreadSanitizer"
./scripts/run-gui-tsan.sh

phase "fuzzing"
./scripts/run-fuzz.sh 60
phase "done"
