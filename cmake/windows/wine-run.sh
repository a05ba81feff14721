#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a cross-built Windows program under Wine: the emulator of the windows preset, through
# which CTest runs the suites and the build runs its own tools.
#
# Every run shares one Wine prefix (BRIGHTSUM_WINE_PREFIX, by default in the kit's cache), made
# once, under a lock, so that tests started together do not each make their own. Wine's debug
# channels stay quiet unless WINEDEBUG asks for them.
#
# Wine hands a Windows program the Unix environment except the variables that begin with QT_
# (meant for the Linux Qt), so one Qt setting goes into the prefix's own environment: Qt on Windows sends its messages, and QtTest its results, to the debugger
# unless stderr is a console, which under Wine it never is; QT_FORCE_STDERR_LOGGING puts them
# on the standard streams.
set -euo pipefail
cache=${BRIGHTSUM_CACHE:-$HOME/.cache/brightsum}
export WINEPREFIX=${BRIGHTSUM_WINE_PREFIX:-$cache/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No "install Mono / Gecko" prompt: the tests need neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

made="$WINEPREFIX/.brightsum-prefix-1"
if [ ! -f "$made" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock 9
        if [ ! -f "$made" ]; then
            wineboot -i >/dev/null 2>&1
            wine reg add 'HKCU\Environment' /v QT_FORCE_STDERR_LOGGING /d 1 /f >/dev/null 2>&1
            wineserver -w
            touch "$made"
        fi
    ) 9>"$WINEPREFIX.lock"
fi
exec wine "$@"
