#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Starts the real program where no display can be reached.

    tst_no_display.py <path of brightsum>

Instead of Qt's abort (advice to reinstall, SIGABRT, exit status 134) the program must print
one line that says what is missing and end with status 1. When QT_QPA_PLATFORM names a
platform that needs no display, it must start as usual.
"""

import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time

LEAD = "Brightsum needs a graphical desktop: no X11 or Wayland display could be opened"
DISPLAY_VARIABLES = ("DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM",
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
    expected = f"{LEAD} ({reason}).\n"
    print(f"{name}: exit status {run.returncode}, stderr {stderr!r}")
    check(run.returncode == 1,
          f"{name}: exit status {run.returncode}, not 1"
          + (" (killed by a signal)" if run.returncode < 0 else ""))
    check(stderr == expected, f"{name}: stderr is {stderr!r}, not {expected!r}")
    check(run.stdout == b"", f"{name}: printed {run.stdout!r} on stdout")


def starts_offscreen(program, scratch):
    """QT_QPA_PLATFORM=offscreen needs no display: the check must stay out of the way."""
    folder = os.path.join(scratch, "bin")
    # A copy of the program folder, so that the run's high-score file is its own.
    shutil.copytree(os.path.dirname(os.path.abspath(program)), folder,
                    ignore=shutil.ignore_patterns("hiscore.dat*"))
    copy = os.path.join(folder, os.path.basename(program))
    log_path = os.path.join(scratch, "offscreen.log")
    with open(log_path, "wb") as log:
        process = subprocess.Popen([copy], env=environment(scratch, QT_QPA_PLATFORM="offscreen"),
                                   cwd=scratch, stdin=subprocess.DEVNULL, stdout=log, stderr=log)
    try:
        deadline = time.monotonic() + 3.0
        while time.monotonic() < deadline and process.poll() is None:
            time.sleep(0.05)
        if check(process.poll() is None,
                 f"QT_QPA_PLATFORM=offscreen: the program ended with {process.returncode}"):
            print("QT_QPA_PLATFORM=offscreen without a display: the program starts")
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
        starts_offscreen(program, scratch)
    print(f"{checks - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
