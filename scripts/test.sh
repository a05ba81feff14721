#!/usr/bin/env bash
# Builds Brightsum with its tests (installing what is missing) and runs every test on a
# private headless desktop. Ends with CTest's summary; fails when a test fails or none ran.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset debug >/dev/null
cmake --build --preset debug

source scripts/desktop-env.sh
desktop_start

ctest --preset debug --no-tests=error --label-exclude soak "$@"
