#!/bin/sh
# The AddressSanitizer and UndefinedBehaviorSanitizer build of everything
# but the benchmarks, in build-asan: the unit tests and the GUI tests both
# run from it. -O1 with line tables only: about half the compile time of
# -O2 -g, and the reports still name file and line.
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
      -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DKELVO_SANITIZE=ON \
      -DKELVO_BUILD_GUI=ON -DKELVO_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j"$(nproc)"
