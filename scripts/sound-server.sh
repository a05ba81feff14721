#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A private sound server with a null sink named "nullsink", reachable only through a socket of
# its own, for the test desktop, the sound tests and the benchmark.
#
#   scripts/sound-server.sh start pulseaudio|pipewire DIR
#       starts it with its state in DIR (created if missing) and prints the PULSE_SERVER value
#       that reaches it once it answers; exits 77 when that server is not installed
#   scripts/sound-server.sh restart DIR
#       stops the server's PulseAudio front end (pulseaudio itself, or pipewire-pulse) and
#       starts it again on the same socket, as a desktop does when its sound server restarts
#   scripts/sound-server.sh stop DIR
#       stops everything it started, in reverse order
#
# pipewire is Debian's PipeWire desktop: the pipewire daemon with a null sink of its own (so
# that the sink outlives a restart of the front end), the WirePlumber session manager on a
# private session bus, and pipewire-pulse. DIR/front.pid holds the front end's PID, which
# tests may stop (SIGSTOP) to stand in for a hung server.
set -euo pipefail

usage() {
    sed -n '3,14p' "$0" >&2
    exit 2
}

# Starts a command in the background with its output in DIR/NAME.log and its PID in
# DIR/NAME.pid, after the ones started before it (DIR/order).
spawn() {
    local name=$1
    shift
    "$@" >"$dir/$name.log" 2>&1 </dev/null &
    echo $! >"$dir/$name.pid"
    echo "$name" >>"$dir/order"
}

wait_for() {  # command... ; gives up after 10 s
    local deadline=$((SECONDS + 10))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.02
    done
}

answers() {
    PULSE_SERVER=$(cat "$dir/server") pactl info
}

has_sink() {
    PULSE_SERVER=$(cat "$dir/server") pactl list short sinks | grep -q nullsink
}

stop_one() {
    local name=$1 pid
    [ -f "$dir/$name.pid" ] || return 0
    pid=$(cat "$dir/$name.pid")
    rm -f "$dir/$name.pid"
    # A stopped process (a test that stalled the server and died) would never end.
    kill -CONT "$pid" 2>/dev/null || true
    kill "$pid" 2>/dev/null || return 0
    local deadline=$((SECONDS + 5))
    while kill -0 "$pid" 2>/dev/null && [ "$(ps -o stat= -p "$pid" 2>/dev/null)" != Z ]; do
        if [ $SECONDS -ge $deadline ]; then
            kill -KILL "$pid" 2>/dev/null || true
            break
        fi
        sleep 0.02
    done
}

start_front() {
    case $(cat "$dir/kind") in
    pulseaudio)
        # Off the session bus, where another server may hold the name, and with a runtime
        # folder of its own.
        spawn front env -u DBUS_SESSION_BUS_ADDRESS -u DISPLAY XDG_RUNTIME_DIR="$dir/run" \
            pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
            --use-pid-file=no --log-target=stderr \
            --load="module-null-sink sink_name=nullsink" \
            --load="module-native-protocol-unix auth-anonymous=1 socket=$dir/pulse"
        ;;
    pipewire)
        spawn front env "${pipewire_env[@]}" pipewire-pulse
        ;;
    esac
    wait_for answers || { echo "the sound server did not answer; see $dir/front.log" >&2; return 1; }
}

cmd=${1:-}
case $cmd in
start) [ $# -eq 3 ] || usage; kind=$2; dir=$3 ;;
restart | stop) [ $# -eq 2 ] || usage; dir=$2 ;;
*) usage ;;
esac
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

# PipeWire's programs find their sockets, configuration and state under these folders only.
pipewire_env=(XDG_RUNTIME_DIR="$dir/run" XDG_CONFIG_HOME="$dir/config" XDG_STATE_HOME="$dir/state"
    DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/bus" PIPEWIRE_RUNTIME_DIR="$dir/run"
    PULSE_RUNTIME_PATH="$dir/run/pulse" DISPLAY=)

case $cmd in
start)
    case $kind in
    pulseaudio) need=(pulseaudio pactl) ;;
    pipewire) need=(pipewire pipewire-pulse wireplumber dbus-daemon pactl) ;;
    *) usage ;;
    esac
    for program in "${need[@]}"; do
        if ! command -v "$program" >/dev/null; then
            echo "$program is not installed (scripts/deps.sh installs it)" >&2
            exit 77
        fi
    done
    [ -f "$dir/order" ] && { echo "$dir already holds a server" >&2; exit 1; }
    echo "$kind" >"$dir/kind"
    : >"$dir/order"
    mkdir -p "$dir/run" && chmod 700 "$dir/run"
    if [ "$kind" = pulseaudio ]; then
        echo "unix:$dir/pulse" >"$dir/server"
    else
        mkdir -p "$dir/config/pipewire/pipewire.conf.d" "$dir/state"
        cat >"$dir/config/pipewire/pipewire.conf.d/nullsink.conf" <<'EOF'
context.objects = [
    { factory = adapter
      args = {
          factory.name     = support.null-audio-sink
          node.name        = nullsink
          node.description = "Null sink"
          media.class      = Audio/Sink
          audio.position   = [ FL FR ]
          monitor.channel-volumes = true
      }
    }
]
EOF
        echo "unix:$dir/run/pulse/native" >"$dir/server"
        spawn bus dbus-daemon --session --nofork --address="unix:path=$dir/bus"
        wait_for test -S "$dir/bus"
        spawn pipewire env "${pipewire_env[@]}" pipewire
        wait_for test -S "$dir/run/pipewire-0"
        spawn wireplumber env "${pipewire_env[@]}" wireplumber
    fi
    start_front
    # WirePlumber makes the null sink the default once it has seen it.
    wait_for has_sink || { echo "no null sink; see the logs in $dir" >&2; exit 1; }
    cat "$dir/server"
    ;;
restart)
    stop_one front
    sed -i '/^front$/d' "$dir/order"
    start_front
    ;;
stop)
    if [ -f "$dir/order" ]; then
        for name in $(tac "$dir/order"); do
            stop_one "$name"
        done
        rm -f "$dir/order"
    fi
    ;;
esac
