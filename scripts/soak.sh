#!/bin/sh
# The long runs that the test suite keeps short: 10,000 frame cycles of the
# example channel with PPM files (Stop and Start every 500, the Output Size
# changed now and then, memory compared) and a 5,000-frame AVI file read
# back whole by ffprobe. Lengths: soak.sh [CYCLES [AVI_FRAMES]].
set -e
cd "$(dirname "$0")/.."

cycles=${1:-10000}
frames=${2:-5000}

cmake -S . -B build-soak -DCMAKE_BUILD_TYPE=Release -DKELVO_BUILD_BENCH=OFF >/dev/null
cmake --build build-soak -j"$(nproc)" --target test_robust_window
KELVO_SOAK_CYCLES=$cycles KELVO_SOAK_AVI_FRAMES=$frames \
  xvfb-run -a -s "-screen 0 1024x768x24 -noreset" build-soak/tests/robust/test_robust_window --gtest_filter='SoakTest.*'
