#!/usr/bin/env bash
# Builds Brightsum (installing what is missing) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset release >/dev/null
# Only what the program folder holds: the program and its wave files (the help page is
# copied when configuring).
cmake --build --preset release --target brightsum brightsum_sounds
exec build/release/bin/brightsum "$@"
