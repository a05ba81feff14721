#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the release preset and measures Brightsum against the floor program, side by side,
# on a private headless desktop. Prints the figures and appends them to bench/results.jsonl.
#
#   scripts/bench.sh [--runs N] [--plateau SECONDS] ...   (options of bench/bench.py)
#   scripts/bench.sh --only-slow-flush     only exec to first paint with every flush slowed
#                                          50 ms (strace fault injection)
#   scripts/bench.sh --sound-server pipewire ...   the desktop's sound server: pulseaudio (the
#                                          default) or pipewire with pipewire-pulse
#
# BRIGHTSUM_BENCH_BUILD=<folder> measures an already configured build folder instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

args=()
export BRIGHTSUM_SOUND_SERVER=pulseaudio
while [ $# -gt 0 ]; do
    case $1 in
    --sound-server) BRIGHTSUM_SOUND_SERVER=${2:?--sound-server needs pulseaudio or pipewire}; shift 2 ;;
    --sound-server=*) BRIGHTSUM_SOUND_SERVER=${1#*=}; shift ;;
    *) args+=("$1"); shift ;;
    esac
done

build=${BRIGHTSUM_BENCH_BUILD:-}
if [ -z "$build" ]; then
    build=build/release
    cmake --preset release >/dev/null
fi
# The floor program is built only for the benchmark.
cmake -S . -B "$build" -DBRIGHTSUM_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target program_folder brightsum_floor

# Bare windows, without a window manager: the figures compare with the earlier runs'.
BRIGHTSUM_DESKTOP_BARE=1
source scripts/desktop-env.sh
desktop_start

# Debian's own python: the script needs nothing beyond its standard library and libX11.
/usr/bin/python3 bench/bench.py --brightsum "$build/bin/brightsum" \
    --floor "$build/bench/brightsum-floor" --results bench/results.jsonl \
    --sound-server "$BRIGHTSUM_SOUND_SERVER" "${args[@]}"
