#!/usr/bin/env bash
# Builds Brightsum (installing what is missing) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/bin/brightsum "$@"
