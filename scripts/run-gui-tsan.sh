#!/bin/sh
# The window tests whose runs go on the simulation window's worker thread
# (the simulation and Measurements windows, and the files the window writes
# against kelvo-batch's), built with ThreadSanitizer and run under Xvfb.
# Only these are built: the rest of the program has no threads of its own
# beyond the solver's row bands, which the unit tests cover. Reports from
# inside the toolkit and the GL driver, which are not built with the
# sanitizer, are suppressed in tests/robust/tsan-toolkit.supp; any report
# in our own code fails the run. The deadlock detector is off: Mesa holds
# more locks at once than it can track, and the window and its worker share
# a single mutex. Only the tests that drive the worker are run (the build
# step it takes as the window opens, every order of the run loop, painting
# cells and dye and placing emitters, closing without waiting for the step,
# the measurements of a paused run, and the files against kelvo-batch's),
# so that the sanitizer's slower run stays short.
set -e
cd "$(dirname "$0")/.."
root=$(pwd)

jobs=$(nproc)

cmake -S . -B build-tsan-gui -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
      -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DKELVO_SANITIZE_THREAD=ON \
      -DKELVO_BUILD_GUI=ON -DKELVO_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan-gui -j"$jobs" --target test_calculate_window test_measure_window kelvo-batch

threaded="CalculateWindowTest.StartRunsCyclesAndStopReturnsToIdle"
threaded="$threaded:CalculateWindowTest.ClosingARunningSimulationAsksFirst"
threaded="$threaded:CalculateWindowTest.PauseKeepsTheStateAndResumeGoesOn"
threaded="$threaded:CalculateWindowTest.StepTakesExactlyOneCycleAndSavesItsFrame"
threaded="$threaded:CalculateWindowTest.FailedAviFrameStopsTheRunAndTellsOnce"
threaded="$threaded:CalculateWindowTest.ClosingDuringAnAviRunCompletesTheFile"
threaded="$threaded:CalculateWindowTest.AWallDraggedAcrossTheRunningChannelBlocksIt"
threaded="$threaded:CalculateWindowTest.TheEmitterToolAndThePaintToolsTakeTheLeftButtonInTurn"
threaded="$threaded:CalculateWindowTest.OpensBeforeTheBuildStepAndStartWaitsForIt"
threaded="$threaded:CalculateWindowTest.ClosingARunningWindowLeavesTheStepToTheWorker"
threaded="$threaded:CalculateWindowTest.DyeBrushedIntoTheRunningChannelGoesWithTheFlow"
threaded="$threaded:SavingMethods/WindowBatchFilesTest.*/ppm"
threaded="$threaded:MeasureWindowTest.ForcesShowAtOnceAndOnlyBodiesGetSheddingFigures"

GTEST_FILTER="$threaded" \
TSAN_OPTIONS="halt_on_error=1:detect_deadlocks=0:suppressions=$root/tests/robust/tsan-toolkit.supp" \
  ctest --test-dir build-tsan-gui --output-on-failure -j"$jobs" -R '^(calculate_window|measure_window)$'
