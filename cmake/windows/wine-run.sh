#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a cross-built Windows program under Wine: the emulator of the windows preset, through
# which CTest runs the suites and the build runs its own tools.
#
# Every run shares one Wine prefix (BRIGHTSUM_WINE_PREFIX, by default in the kit's cache), made
# once, under a lock, so that tests started together do not each make their own. Wine's debug
# channels stay quiet unless WINEDEBUG asks for them.
set -euo pipefail
cache=${BRIGHTSUM_CACHE:-$HOME/.cache/brightsum}
export WINEPREFIX=${BRIGHTSUM_WINE_PREFIX:-$cache/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No "install Mono / Gecko" prompt: the tests need neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

if [ ! -f "$WINEPREFIX/.made" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.made" ]; then
            wineboot -i >/dev/null 2>&1
            wineserver -w
            touch "$WINEPREFIX/.made"
        fi
    ) 9>"$WINEPREFIX.lock"
fi
exec wine "$@"
