#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fuzzes the reader and writer of "hiscore.dat" with libFuzzer (clang 14) for the given number
# of seconds (default 60), on a copy of the test files of tests/scores/data plus the seeds in
# tests/scores/fuzz/corpus, and prints libFuzzer's final figures.
# A longer run: scripts/fuzz.sh 3600
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
build=build/fuzz

cmake --preset fuzz "-DBRIGHTSUM_WERROR=${BRIGHTSUM_WERROR:-OFF}" >/dev/null
cmake --build --preset fuzz --target fuzz_highscores

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp tests/scores/data/*.dat tests/scores/fuzz/corpus/*.dat "$corpus/"

# Inputs up to 16 KiB reach the 4096-byte field limit; a single input that takes more than
# ten seconds counts as a failure (reading must stay linear).
"$build/tests/scores/fuzz/fuzz_highscores" \
    -max_total_time="$seconds" -max_len=16384 -timeout=10 -print_final_stats=1 \
    -dict=tests/scores/fuzz/highscores.dict \
    "$corpus"
