#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Brightsum with its tests (installing what is missing) and runs every test on a
# private headless desktop, quickest verdict first: the whole suite in the debug build, then
# the suite under AddressSanitizer and UndefinedBehaviorSanitizer, then a bounded fuzz run of
# the high-score file reader, then the Windows build's suites and its portable folder and
# installer under Wine. Stops at the first stage that fails; ends with CTest's summary.
#
# The debug, sanitizer and fuzz builds use clang; the release program folder, which players
# and packagers build, is compiled with g++, so both compilers' warnings are checked. The
# suites leave the processor mostly idle (they wait on windows and sound), so the g++ build
# runs beside the debug suite, and the fuzz build and the Windows build (with its Qt kit, the
# first time: scripts/windows.sh) beside the sanitizer suite, at the lowest priority, where
# the tests' own processes always come first.
#
# Extra arguments go to the debug ctest run (e.g. -L engine). BRIGHTSUM_WERROR=ON (set by CI)
# makes every compiler warning an error.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

werror="-DBRIGHTSUM_WERROR=${BRIGHTSUM_WERROR:-OFF}"
mkdir -p build

source scripts/desktop-env.sh
desktop_start

# Builds running beside a suite, each in a session of its own so that all of it can be
# stopped. Output goes to build/<name>.log.
background=()
background_start() {  # <name> <command...>
    local name=$1
    shift
    setsid -w nice -n 19 "$@" >"build/$name.log" 2>&1 &
    background+=("$!")
}
background_finish() {  # <name>: waits for the oldest build still running
    local pid=${background[0]}
    background=("${background[@]:1}")
    if ! wait "$pid"; then
        echo "== $1 failed:"
        tail -n 60 "build/$1.log"
        exit 1
    fi
}
stop_everything() {
    local pid
    for pid in "${background[@]}"; do
        pkill -TERM -s "$pid" 2>/dev/null || true
    done
    desktop_stop
}
trap stop_everything EXIT

stage() {  # prints a stage's heading with the time since the start, minutes:seconds
    printf '== [%d:%02d] %s\n' $((SECONDS / 60)) $((SECONDS % 60)) "$*"
}

stage "format check (clang-format)"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

stage "debug build (clang)"
cmake --preset debug "$werror" >/dev/null
cmake --build --preset debug

stage "debug suite, with the release program folder building beside it (g++)"
cmake --preset release "$werror" >/dev/null
background_start release-build cmake --build --preset release --target program_folder
ctest --preset debug --no-tests=error --label-exclude soak "$@" |
    tee build/ctest-debug.log
background_finish release-build

stage "sanitizer build (clang)"
cmake --preset asan "$werror" >/dev/null
cmake --build --preset asan

stage "sanitizer suite, with the fuzz target and the Windows program building beside it"
cmake --preset fuzz "$werror" >/dev/null
background_start fuzz-build cmake --build --preset fuzz --target fuzz_highscores
background_start windows-build scripts/windows.sh
(
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
    ctest --preset asan --no-tests=error --label-exclude "soak|install|e2e"
)
background_finish fuzz-build

stage "fuzzing the high-score file reader for 60 s"
if BRIGHTSUM_WERROR=${BRIGHTSUM_WERROR:-OFF} scripts/fuzz.sh 60 >build/fuzz.log 2>&1; then
    grep -E '^#[0-9]+[[:space:]]+DONE|^Done|^stat::' build/fuzz.log
else
    tail -n 60 build/fuzz.log
    exit 1
fi

stage "Windows suites, portable folder and installer, under Wine"
background_finish windows-build
grep -E '(zip|exe) ' build/windows-build.log
BRIGHTSUM_WINDOWS_KIT=$(scripts/windows-kit.sh | tail -n 1) \
    ctest --preset windows --no-tests=error | tee build/ctest-windows.log

# The run ends with the debug suite's summary.
stage "every stage passed; the debug suite:"
grep -E 'tests passed|tests failed' build/ctest-debug.log
