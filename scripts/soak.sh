#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Plays the real program on a private headless desktop for a long time (ten minutes unless
# told otherwise) with random and hammering input, and fails on a crash, a warning about the
# event loop, or memory that keeps growing. Prints what it sent and what it measured.
#
#   scripts/soak.sh [minutes] [program folder] [seed] [child|hammer|solver]
#
# Without a program folder (or with "") it builds the release preset's program first. The
# seed repeats a run's choices; the last argument keeps the run to one pace.
set -euo pipefail
cd "$(dirname "$0")/.."

minutes=${1:-10}
folder=${2:-}
seed=${3:-}

if [ -z "$folder" ]; then
    scripts/deps.sh
    cmake --preset release >/dev/null
    cmake --build --preset release --target program_folder
    folder=build/release/bin
fi
program="$(cd "$folder" && pwd)/brightsum"
[ -x "$program" ] || { echo "no program at $program" >&2; exit 1; }

source scripts/desktop-env.sh
desktop_start

# Debian's python3, which has the accessibility client; not a python3 earlier on PATH.
status=0
/usr/bin/python3 tests/soak/soak_driver.py "$program" "$minutes" "${seed:--}" "${@:4}" || status=$?
exit $status
