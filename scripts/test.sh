#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Brightsum with its tests (installing what is missing) and runs every test on a
# private headless desktop, quickest verdict first: the whole suite in the debug build, then
# the suite under AddressSanitizer and UndefinedBehaviorSanitizer, then a bounded fuzz run of
# the high-score file reader. Stops at the first stage that fails; ends with CTest's summary.
#
# Extra arguments go to the debug ctest run (e.g. -L engine). BRIGHTSUM_WERROR=ON (set by CI)
# makes every compiler warning an error.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

werror="-DBRIGHTSUM_WERROR=${BRIGHTSUM_WERROR:-OFF}"

source scripts/desktop-env.sh
desktop_start

echo "== debug build"
cmake --preset debug "$werror" >/dev/null
cmake --build --preset debug
mkdir -p build
ctest --preset debug --no-tests=error --label-exclude soak "$@" |
    tee build/ctest-debug.log

echo "== sanitizer build"
cmake --preset asan "$werror" >/dev/null
cmake --build --preset asan
(
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    ctest --preset asan --no-tests=error --label-exclude "soak|install|e2e"
)

echo "== fuzzing the high-score file reader for 60 s"
if BRIGHTSUM_WERROR=${BRIGHTSUM_WERROR:-OFF} scripts/fuzz.sh 60 >build/fuzz.log 2>&1; then
    grep -E '^#[0-9]+[[:space:]]+DONE|^Done|^stat::' build/fuzz.log
else
    tail -n 60 build/fuzz.log
    exit 1
fi

# The run ends with the debug suite's summary.
echo "== every stage passed; the debug suite:"
grep -E 'tests passed|tests failed' build/ctest-debug.log
