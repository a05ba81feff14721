#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Starts the real program where no display can be reached, and where only some can.

    tst_no_display.py <path of brightsum>

Instead of Qt's abort (advice to reinstall, SIGABRT, exit status 134) or a wait without end on
an X server that never answers, the program must print one line that says what is missing and
end with status 1. Where a display does answer (a Wayland compositor named relative to
XDG_RUNTIME_DIR, a Wayland connection handed down, XWayland beside Wayland) or a platform
needs none, it must start; with XWayland it must choose X11.
"""

import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

LEAD = "Brightsum needs a graphical desktop: no X11 or Wayland display could be opened"
DISPLAY_VARIABLES = ("DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM",
                     "XDG_SESSION_TYPE",
                     "XAUTHORITY")

failures = []
checks = 0


def check(condition, message):
    global checks
    checks += 1
    if not condition:
        failures.append(message)
        print(f"FAIL: {message}")
    return condition


def x_display_answers(number):
    """Whether an X server listens on display :number, on its path or abstract socket."""
    for address in (f"/tmp/.X11-unix/X{number}", f"\0/tmp/.X11-unix/X{number}"):
        with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as probe:
            try:
                probe.connect(address)
                return True
            except OSError:
                pass
    return False


def environment(scratch, **variables):
    env = {k: v for k, v in os.environ.items() if k not in DISPLAY_VARIABLES}
    env.update({"HOME": scratch, "XDG_DATA_HOME": os.path.join(scratch, "data"),
                "XDG_CONFIG_HOME": os.path.join(scratch, "config")})
    env.update(variables)
    return env


def refuses_to_start(program, scratch, reason, **variables):
    name = " ".join(f"{k}={v}" for k, v in variables.items()) or "no display variables"
    run = subprocess.run([program], env=environment(scratch, **variables), cwd=scratch,
                         stdin=subprocess.DEVNULL, capture_output=True, timeout=60, check=False)
    stderr = run.stderr.decode("utf-8", "replace")
    expected = re.escape(f"{LEAD} (") + reason + re.escape(").") + "\n"
    print(f"{name}: exit status {run.returncode}, stderr {stderr!r}")
    check(run.returncode == 1,
          f"{name}: exit status {run.returncode}, not 1"
          + (" (killed by a signal)" if run.returncode < 0 else ""))
    check(re.fullmatch(expected, stderr), f"{name}: stderr is {stderr!r}, not {expected!r}")
    check(run.stdout == b"", f"{name}: printed {run.stdout!r} on stdout")


def starts(program, scratch, name, arguments=(), pass_fds=(), x11_window_on=None, **variables):
    """The program must start and keep running; with x11_window_on, show its window there."""
    folder = os.path.join(scratch, "bin")
    # A copy of the program folder, so that the run's high-score file is its own.
    if not os.path.isdir(folder):
        shutil.copytree(os.path.dirname(os.path.abspath(program)), folder,
                        ignore=shutil.ignore_patterns("hiscore.dat*"))
    copy = os.path.join(folder, os.path.basename(program))
    log_path = os.path.join(scratch, "start.log")
    with open(log_path, "wb") as log:
        process = subprocess.Popen([copy, *arguments], env=environment(scratch, **variables),
                                   cwd=scratch, stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                                   pass_fds=pass_fds)
    try:
        shown = x11_window_on is None
        deadline = time.monotonic() + (30.0 if x11_window_on else 3.0)
        while time.monotonic() < deadline and process.poll() is None and not shown:
            time.sleep(0.05)
            if x11_window_on:
                search = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                         "^Brightsum$"], env={**os.environ,
                                                              "DISPLAY": x11_window_on},
                                        capture_output=True, check=False)
                shown = search.returncode == 0
        while time.monotonic() < deadline and process.poll() is None:
            time.sleep(0.05)
        running = check(process.poll() is None, f"{name}: the program ended with "
                        f"{process.returncode}")
        check(shown, f"{name}: no window on the X11 display {x11_window_on}")
        if running and shown:
            print(f"{name}: the program starts")
        else:
            with open(log_path, "rb") as log:
                print(log.read().decode("utf-8", "replace"))
    finally:
        if process.poll() is None:
            process.send_signal(signal.SIGTERM)
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()


def silent_x_server():
    """Accepts connections on the X port of a free display 127.0.0.1:N and never answers.
    Returns the listener and N; other test runs on the machine may hold other numbers."""
    for number in range(4711, 4811):
        try:
            listener = socket.create_server(("127.0.0.1", 6000 + number))
            break
        except OSError:
            continue
    held = []

    def accept():
        while True:
            try:
                held.append(listener.accept()[0])
            except OSError:
                return

    threading.Thread(target=accept, daemon=True).start()
    return listener, number


def refusing_x_server(scratch):
    """An Xvfb that lets in only holders of a cookie nobody else has; returns it and its
    display number, which it picks itself."""
    cookie = os.path.join(scratch, "cookie")
    open(cookie, "wb").close()
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-auth", cookie,
                               "-nolisten", "tcp"], pass_fds=[write_end],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as announced:
        number = int(announced.readline())
    # The cookie, added once the number is known: the server reads the file at each
    # connection.
    subprocess.run(["xauth", "-f", cookie, "add", f":{number}", ".", os.urandom(16).hex()],
                   check=True, capture_output=True)
    return server, number


class Weston:
    """A headless Wayland compositor, with XWayland beside it when asked."""

    def __init__(self, scratch, xwayland):
        self.runtime = tempfile.mkdtemp(prefix="runtime.", dir=scratch)
        self.log = os.path.join(scratch, f"weston-{xwayland}.log")
        arguments = ["weston", "--backend=headless-backend.so", "--socket=wayland-brightsum",
                     "--idle-time=0"] + (["--xwayland"] if xwayland else [])
        with open(self.log, "wb") as log:
            self.process = subprocess.Popen(arguments, stdout=log, stderr=log, env={
                **os.environ, "XDG_RUNTIME_DIR": self.runtime})
        self.socket = os.path.join(self.runtime, "wayland-brightsum")
        self.x11 = None
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline and self.process.poll() is None:
            with open(self.log, encoding="utf-8", errors="replace") as log:
                found = re.search(r"xserver listening on display (:\d+)", log.read())
            if os.path.exists(self.socket) and (not xwayland or found):
                self.x11 = found.group(1) if found else None
                return
            time.sleep(0.05)
        raise RuntimeError(f"weston did not start; see {self.log}")

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)


def on_wayland(program, scratch):
    """A compositor named relative to XDG_RUNTIME_DIR, a connection handed down, XWayland."""
    if shutil.which("weston") is None:
        print("SKIP: the Wayland cases need weston (Debian package weston)")
        return
    weston = Weston(scratch, xwayland=False)
    try:
        starts(program, scratch, "WAYLAND_DISPLAY relative to XDG_RUNTIME_DIR",
               XDG_RUNTIME_DIR=weston.runtime, WAYLAND_DISPLAY="wayland-brightsum")
        with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as connection:
            connection.connect(weston.socket)
            starts(program, scratch, "WAYLAND_SOCKET handed down", pass_fds=[connection.fileno()],
                   XDG_RUNTIME_DIR=weston.runtime, WAYLAND_SOCKET=str(connection.fileno()))
    finally:
        weston.stop()
    if shutil.which("Xwayland") is None:
        print("SKIP: the XWayland case needs Xwayland (Debian package xwayland)")
        return
    weston = Weston(scratch, xwayland=True)
    try:
        # A Wayland session with XWayland: X11, where the program places its windows itself.
        starts(program, scratch, "Wayland with XWayland", x11_window_on=weston.x11,
               XDG_RUNTIME_DIR=weston.runtime, WAYLAND_DISPLAY="wayland-brightsum",
               DISPLAY=weston.x11, XDG_SESSION_TYPE="wayland")
    finally:
        weston.stop()


def main():
    program = sys.argv[1]
    unused = next(n for n in range(4711, 4811) if not x_display_answers(n))
    with tempfile.TemporaryDirectory(prefix="brightsum-nodisplay.") as scratch:
        refuses_to_start(program, scratch, "DISPLAY is not set")
        refuses_to_start(program, scratch, ":nonexistent-number did not answer",
                         DISPLAY=":nonexistent-number")
        refuses_to_start(program, scratch, f":{unused} did not answer", DISPLAY=f":{unused}")
        refuses_to_start(program, scratch, "no-such-compositor did not answer",
                         QT_QPA_PLATFORM="wayland", WAYLAND_DISPLAY="no-such-compositor")
        # Accepts the connection and never says a word: given up on after a few seconds.
        listener, silent = silent_x_server()
        with listener:
            refuses_to_start(program, scratch, re.escape(f"127.0.0.1:{silent} did not answer"),
                             DISPLAY=f"127.0.0.1:{silent}")
        # Answers, but not to us: the server's refusal, not silence.
        server, refusing = refusing_x_server(scratch)
        try:
            refuses_to_start(program, scratch, re.escape(f":{refusing} refused the connection: ")
                             + ".+", DISPLAY=f":{refusing}", XAUTHORITY=os.devnull)
        finally:
            server.terminate()
            server.wait()
        starts(program, scratch, "QT_QPA_PLATFORM=offscreen", QT_QPA_PLATFORM="offscreen")
        starts(program, scratch, "-platform offscreen", arguments=["-platform", "offscreen"])
        on_wayland(program, scratch)
    print(f"{checks - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
