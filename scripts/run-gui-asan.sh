#!/bin/sh
# The tests that need a display (editor and simulation windows, the compressor
# dialog, the programs driven with the mouse, the robustness runs), built with
# AddressSanitizer and UndefinedBehaviorSanitizer and run under Xvfb.
# Shared objects stay loaded to the end (Mesa's driver would otherwise leave
# anonymous leak reports); leaks inside fontconfig are suppressed, leaks in
# our own code are not.
set -e
cd "$(dirname "$0")/.."
root=$(pwd)

jobs=$(nproc)

./scripts/build-asan.sh

# LeakSanitizer's own stop-the-world tracer now and then crashes at exit
# ("Tracer caught signal 11"), after a test has passed: not a leak report.
# Only when that line appears are the failed tests run once more, and they
# must pass then.
log=build-asan/gui-tests.log
sanitized() {
    LD_PRELOAD="$root/build-asan/tests/robust/libkelvo_keep_loaded.so" \
    ASAN_OPTIONS=detect_leaks=1:verify_asan_link_order=0 \
    LSAN_OPTIONS=suppressions="$root/tests/robust/lsan-toolkit.supp":print_suppressions=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      "$@"
}
status=0
sanitized ctest --test-dir build-asan --output-on-failure -j"$jobs" -L gui >"$log" 2>&1 || status=$?
cat "$log"
if [ "$status" -ne 0 ] && grep -q "Tracer caught signal" "$log"; then
    echo "LeakSanitizer's tracer crashed: the failed tests run once more"
    sanitized ctest --test-dir build-asan --output-on-failure --rerun-failed
    status=0
fi
exit "$status"
