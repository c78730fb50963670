#!/bin/sh
# Builds everything and runs every test: the full Release build (unit, GUI
# and end-to-end tests under Xvfb, the Python module's tests, and a sweep
# on a one-node Slurm cluster it starts), the unit tests and then the GUI tests
# again under AddressSanitizer and UndefinedBehaviorSanitizer, the window
# tests that drive the simulation's worker thread under ThreadSanitizer, and
# a minute of fuzzing the grid file reader.
set -e
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
./scripts/install-slurm.sh

jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

# One sanitizer build serves the unit tests here and the GUI tests after.
# Left out under it: three tests that repeat the paths of shorter ones many
# times over (Gauss-Seidel reference solves, the same steps with one to
# three threads, every example grid for hundreds of steps); they took two
# thirds of the sanitizer run and still run in the Release build above.
./scripts/build-asan.sh
repeats="MultigridPressure.MatchesGaussSeidelOnEverySetUp|MultigridPressure.SameBitsWithAnyNumberOfThreads"
repeats="$repeats|ExampleGrids.EachRunsFiniteWithoutHittingTheSweepCap"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE gui -E "^($repeats)\$"

./scripts/run-gui-asan.sh

./scripts/run-gui-tsan.sh

./scripts/run-fuzz.sh 60
