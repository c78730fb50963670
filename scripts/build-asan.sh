#!/bin/sh
# The AddressSanitizer and UndefinedBehaviorSanitizer build of everything
# but the benchmarks, in build-asan: the unit tests and the GUI tests both
# run from it.
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVO_SANITIZE=ON \
      -DKELVO_BUILD_GUI=ON -DKELVO_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j"$(nproc)"
