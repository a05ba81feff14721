#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Brightsum (installing what is missing) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset release >/dev/null
# Only what the program folder holds: the program, its wave files and its help page.
cmake --build --preset release --target program_folder
exec build/release/bin/brightsum "$@"
