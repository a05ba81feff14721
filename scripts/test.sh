#!/usr/bin/env bash
# Builds Brightsum with its tests (installing what is missing) and runs every test on a
# private headless desktop: a bounded fuzz run of the high-score reader, the whole suite
# under AddressSanitizer and UndefinedBehaviorSanitizer, then the whole suite in the normal
# debug build. Ends with CTest's summary; fails when a test fails or none ran.
#
# Extra arguments go to the final ctest run (e.g. -L engine).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

source scripts/desktop-env.sh
desktop_start

echo "== fuzzing the high-score file reader for 60 s"
mkdir -p build
if scripts/fuzz.sh 60 >build/fuzz.log 2>&1; then
    grep -E '^#[0-9]+[[:space:]]+DONE|^Done|^stat::' build/fuzz.log
else
    tail -n 60 build/fuzz.log
    exit 1
fi

echo "== sanitizer build"
cmake --preset asan >/dev/null
cmake --build --preset asan
(
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    ctest --preset asan --no-tests=error --label-exclude "soak|install|e2e"
)

echo "== debug build"
cmake --preset debug >/dev/null
cmake --build --preset debug
ctest --preset debug --no-tests=error --label-exclude soak "$@"
