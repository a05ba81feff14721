# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the test and benchmark scripts: starts a private headless desktop (Xvfb with the
# openbox window manager, a session D-Bus with the accessibility bus, PulseAudio with a null
# sink) and stops exactly what it started when the calling shell exits.
#
#   source scripts/desktop-env.sh; desktop_start
#
# Exports DISPLAY, DBUS_SESSION_BUS_ADDRESS, XDG_RUNTIME_DIR, PULSE_SERVER,
# BRIGHTSUM_PULSE_PID (the sound server, which tests may stop and resume to stand in for a hung
# one) and BRIGHTSUM_DESKTOP_DIR (a scratch folder that is removed at exit).
# BRIGHTSUM_SOUND_SERVER=pipewire gives the desktop PipeWire with pipewire-pulse instead of
# PulseAudio (scripts/sound-server.sh).

_desktop_scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

_desktop_pids=()

desktop_stop() {
    local i pid
    # Accessibility helpers first (they hang off the session bus), then the rest in
    # reverse order of starting.
    if [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
        for name in org.a11y.atspi.Registry org.a11y.Bus; do
            pid=$(dbus-send --session --print-reply=literal --dest=org.freedesktop.DBus \
                /org/freedesktop/DBus org.freedesktop.DBus.GetConnectionUnixProcessID \
                "string:$name" 2>/dev/null | awk '{print $2}') || true
            [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
        done
    fi
    for ((i = ${#_desktop_pids[@]} - 1; i >= 0; i--)); do
        # A stopped process (a test that stalled the sound server and died) would never end.
        kill -CONT "${_desktop_pids[i]}" 2>/dev/null || true
        kill "${_desktop_pids[i]}" 2>/dev/null || true
    done
    for pid in "${_desktop_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    _desktop_pids=()
    if [ -n "${BRIGHTSUM_DESKTOP_DIR:-}" ] && [ -d "$BRIGHTSUM_DESKTOP_DIR/sound" ]; then
        "$_desktop_scripts/sound-server.sh" stop "$BRIGHTSUM_DESKTOP_DIR/sound" || true
    fi
    [ -n "${BRIGHTSUM_DESKTOP_DIR:-}" ] && rm -rf "$BRIGHTSUM_DESKTOP_DIR"
    return 0
}

_desktop_wait_for() {  # command... ; gives up after 10 s
    local deadline=$((SECONDS + 10))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.02
    done
}

desktop_start() {
    local W
    W=$(mktemp -d /tmp/brightsum-desktop.XXXXXX)
    export BRIGHTSUM_DESKTOP_DIR=$W
    trap desktop_stop EXIT

    # X server: picks a free display itself. Two desktops starting at the same moment can
    # pick the same number; the loser exits, so check that ours is the one answering.
    local attempt xpid
    for attempt in 1 2 3 4 5; do
        rm -f "$W/dpy"
        # -noreset: by default the server resets when its last client leaves, and a client
        # that connects meanwhile is refused; the check below is such a last client, and
        # openbox would now and then connect into the reset.
        Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
            3>"$W/dpy" 2>"$W/xvfb.log" &
        xpid=$!
        if _desktop_wait_for test -s "$W/dpy"; then
            export DISPLAY=":$(head -1 "$W/dpy")"
            sleep 0.1
            if kill -0 "$xpid" 2>/dev/null && xdpyinfo >/dev/null 2>&1; then
                _desktop_pids+=("$xpid")
                break
            fi
        fi
        kill "$xpid" 2>/dev/null || true
        wait "$xpid" 2>/dev/null || true
        unset DISPLAY
    done
    [ -n "${DISPLAY:-}" ] || { echo "Xvfb did not start" >&2; return 1; }

    # A window manager, as on a real desktop: frames, activation and focus changes between
    # windows. Without openbox the windows are bare and the tests that need activation skip.
    # BRIGHTSUM_DESKTOP_BARE=1 leaves it out (the benchmark measures bare windows).
    if [ "${BRIGHTSUM_DESKTOP_BARE:-0}" = 1 ]; then
        :
    elif command -v openbox >/dev/null 2>&1; then
        openbox --sm-disable >"$W/openbox.log" 2>&1 &
        _desktop_pids+=($!)
        # Ready once it has claimed the screen: the root window then names its manager.
        _desktop_wait_for sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' \
            || echo "note: openbox did not start" >&2
    else
        echo "note: no openbox; windows have no manager" >&2
    fi

    # Session bus; the accessibility bus is activated on it on demand.
    dbus-daemon --session --nofork --address="unix:path=$W/bus" 2>"$W/dbus.log" &
    _desktop_pids+=($!)
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$W/bus"
    _desktop_wait_for test -S "$W/bus" || { echo "dbus-daemon did not start" >&2; return 1; }
    dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress >/dev/null 2>&1 || echo "note: no accessibility bus" >&2

    # Sound server with a null sink, reachable only through our own socket.
    export XDG_RUNTIME_DIR="$W/run"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    local server
    if ! server=$("$_desktop_scripts/sound-server.sh" start "${BRIGHTSUM_SOUND_SERVER:-pulseaudio}" \
        "$W/sound"); then
        echo "note: the sound server did not start; sound tests will skip" >&2
        unset PULSE_SERVER BRIGHTSUM_PULSE_PID
    else
        export PULSE_SERVER=$server
        BRIGHTSUM_PULSE_PID=$(cat "$W/sound/front.pid")
        export BRIGHTSUM_PULSE_PID
        # Without a low-latency reader PulseAudio's null sink runs in 2-second blocks and
        # reports the end of a sound late; a reader attached to its monitor keeps it at 20 ms,
        # like a sound card. PipeWire's null sink keeps the graph's own pace, as a card does.
        if [ "${BRIGHTSUM_SOUND_SERVER:-pulseaudio}" = pulseaudio ]; then
            parec --latency-msec=20 -d nullsink.monitor --raw >/dev/null 2>"$W/parec.log" &
            _desktop_pids+=($!)
            sleep 2.1
        fi
    fi
    return 0
}
