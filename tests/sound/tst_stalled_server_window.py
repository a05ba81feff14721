#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real program on the test desktop while its sound server hangs (SIGSTOP stands in).

    tst_stalled_server_window.py <path of brightsum>

With the server stopped mid-game, a board click shows its pick within 2.5 s (the waited
"select.wav" holds the window its length and a second at most); with the server stopped
before the program starts, the window is up within 6 s, and closing it ends the program
within 4 s. Each limit leaves a loaded machine room, and still fails a window that waits on
the server, which stays stopped until the step is over. The server is resumed however the
test ends. Exits 77 (skipped) without a desktop whose sound server may be stopped
(scripts/desktop-env.sh exports BRIGHTSUM_PULSE_PID).
"""

import ctypes
import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
try:
    import brightsum_driver as ui
except (ImportError, ValueError) as error:  # no Atspi introspection data on this python
    print(f"SKIP: cannot load the accessibility client: {error}")
    sys.exit(77)

PICK_LIMIT = 2.5
WINDOW_LIMIT = 6.0
EXIT_LIMIT = 4.0


def check(condition, message):
    if not condition:
        raise ui.DriverError(message)


def desktop_sound_server():
    """The test desktop's PulseAudio, when the desktop says that it may be stopped."""
    try:
        pid = int(os.environ.get("BRIGHTSUM_PULSE_PID", ""))
        with open(f"/proc/{pid}/comm") as comm:
            return pid if pid > 1 and comm.read().strip() == "pulseaudio" else None
    except (ValueError, OSError):
        return None


class Stalled:
    """Stops the server for the length of a with-block, and always resumes it."""

    def __init__(self, pid):
        self.pid = pid

    def __enter__(self):
        os.kill(self.pid, signal.SIGSTOP)
        return self

    def __exit__(self, *exc):
        os.kill(self.pid, signal.SIGCONT)
        return False


def pick_shows_within_limit(program, server):
    entry = program.menu_item("Addition", "Start Level 1")
    check(ui.press(entry), "the menu command did not return")
    ui.poll("question 1", lambda: program.text("question number") == "1"
            and program.text("target number") != "?")
    numbers = program.board_numbers()

    with Stalled(server):
        for button, label in ((0, "first number"), (1, "second number")):
            started = time.monotonic()
            # The second pick pauses a second after the pick is shown: don't wait for that.
            ui.press(program.board[button], reply_limit_ms=int(PICK_LIMIT * 1000))
            ui.poll(f"the {label} to show the pick",
                    lambda: program.text(label) == numbers[button], limit=10, step=0.01)
            took = time.monotonic() - started
            print(f"server stopped: click on button {button} shown as the {label} "
                  f"after {took:.3f} s")
            check(took < PICK_LIMIT, f"the {label} took {took:.3f} s to show, not under "
                  f"{PICK_LIMIT} s")


def close_window(title):
    """Asks the window to close as a window manager would (WM_DELETE_WINDOW); there is none on
    the test desktop, and xdotool only destroys windows."""
    found = subprocess.run(["xdotool", "search", "--name", f"^{title}$"], capture_output=True,
                           text=True, check=False).stdout.split()
    check(found, f"no X window named {title}")
    xlib = ctypes.cdll.LoadLibrary("libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                ctypes.c_void_p]
    xlib.XFlush.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5),
                    ("pad", ctypes.c_long * 24)]  # an XEvent is 24 longs at most

    display = xlib.XOpenDisplay(None)
    check(display, "cannot open the X display")
    try:
        for window in found:
            event = ClientMessage()
            event.type = 33  # ClientMessage
            event.window = int(window)
            event.message_type = xlib.XInternAtom(display, b"WM_PROTOCOLS", 0)
            event.format = 32
            event.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
            xlib.XSendEvent(display, int(window), 0, 0, ctypes.byref(event))
        xlib.XFlush(display)
    finally:
        xlib.XCloseDisplay(display)


def window_up_and_closed_within_limits(program_path, server):
    with Stalled(server):
        program = ui.Program(program_path)
        started = time.monotonic()
        try:
            program.connect(limit=30)
            took = time.monotonic() - started
            print(f"server stopped before start: the window and its 36 buttons were up after "
                  f"{took:.3f} s")
            check(ui.is_showing(program.frame), "the main window is not showing")
            check(took < WINDOW_LIMIT, f"the window took {took:.3f} s, not under "
                  f"{WINDOW_LIMIT} s")

            # Closing the window ends the program, though the sound thread is still held up.
            started = time.monotonic()
            close_window("Brightsum")
            try:
                status = program.process.wait(timeout=EXIT_LIMIT + 10)
            except subprocess.TimeoutExpired:
                status = None
            took = time.monotonic() - started
            print(f"server stopped: the program ended {took:.3f} s after its window was "
                  f"closed, with status {status}")
            check(status == 0, f"the program ended with status {status}")
            check(took < EXIT_LIMIT, f"the program took {took:.3f} s to end, not under "
                  f"{EXIT_LIMIT} s")
        finally:
            program.stop()


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    reason = ui.missing_desktop()
    server = desktop_sound_server()
    if reason or server is None:
        print(f"SKIP: {reason or 'BRIGHTSUM_PULSE_PID names no sound server of the desktop'}")
        return ui.SKIP

    program_path = sys.argv[1]
    try:
        program = ui.Program(program_path)
        try:
            program.connect()
            pick_shows_within_limit(program, server)
            check(program.running(), "the program ended by itself")
        finally:
            program.stop()
        window_up_and_closed_within_limits(program_path, server)
    except ui.DriverError as failure:
        print(f"FAIL: {failure}")
        return 1
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
