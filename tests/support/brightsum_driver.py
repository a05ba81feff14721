# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives a running Brightsum through the accessibility bus, as a screen reader would.

Shared by the end-to-end test and the soak run. Needs Debian's python3 with the Atspi
introspection data (gir1.2-atspi-2.0); DISPLAY and DBUS_SESSION_BUS_ADDRESS must name a
desktop whose session bus can start the accessibility bus (scripts/desktop-env.sh).
"""

import os
import re
import shutil
import signal
import stat
import subprocess
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

SKIP = 77  # CTest's SKIP_RETURN_CODE for a missing desktop

# Seconds: how long the program may take to show up, and the default bound of every poll.
# Generous, because the machine may be busy building; a poll returns as soon as it holds.
STARTUP_LIMIT = 30.0
POLL_LIMIT = 15.0
# Replies to queries normally take milliseconds; a busy machine may take far longer.
QUERY_TIMEOUT_MS = 10000


class DriverError(AssertionError):
    pass


def missing_desktop():
    """Why no accessible desktop is reachable, or None when one is."""
    if not os.environ.get("DISPLAY"):
        return "DISPLAY is not set"
    if not os.environ.get("DBUS_SESSION_BUS_ADDRESS"):
        return "DBUS_SESSION_BUS_ADDRESS is not set"
    probe = subprocess.run(
        ["dbus-send", "--session", "--print-reply=literal", "--dest=org.a11y.Bus",
         "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    if probe.returncode != 0:
        return "the session bus has no accessibility bus (org.a11y.Bus)"
    return None


def poll(what, condition, limit=POLL_LIMIT, step=0.05):
    """Returns condition()'s first true value; fails with `what` after `limit` seconds."""
    deadline = time.monotonic() + limit
    last_error = None
    while True:
        try:
            value = condition()
            if value:
                return value
        except GLib.GError as error:  # a reply that came too late; ask again
            last_error = error
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error.message})" if last_error else ""
            raise DriverError(f"gave up waiting for {what}{detail}")
        time.sleep(step)


def children(accessible):
    for i in range(accessible.get_child_count()):
        child = accessible.get_child_at_index(i)
        if child is not None:
            yield child


def descendants(accessible):
    for child in children(accessible):
        yield child
        yield from descendants(child)


def is_showing(accessible):
    return accessible.get_state_set().contains(Atspi.StateType.SHOWING)


def press(accessible, reply_limit_ms=None):
    """Runs the accessible's first action (Press).

    The program answers only when the action's handler has returned, and a handler that
    pauses or opens a dialog keeps the answer back. With reply_limit_ms the call gives up
    waiting for the answer after that long; the action goes on in the program regardless.
    Returns True when the answer came in time.
    """
    if reply_limit_ms is not None:
        Atspi.set_timeout(reply_limit_ms, -1)
    try:
        accessible.get_action_iface().do_action(0)
        return True
    except GLib.GError:
        if reply_limit_ms is None:
            raise
        return False
    finally:
        if reply_limit_ms is not None:
            Atspi.set_timeout(QUERY_TIMEOUT_MS, -1)


def xdotool(*args):
    """Runs xdotool on the test desktop; returns what it printed."""
    return subprocess.run(["xdotool", *args], check=True, capture_output=True, text=True,
                          timeout=30).stdout


def has_window_manager():
    """Whether a window manager runs on the display (scripts/desktop-env.sh starts openbox)."""
    probe = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], capture_output=True,
                           text=True, check=False)
    return "window id" in probe.stdout


def key(name):
    """A real key press and release through the X server, to the window with the focus."""
    xdotool("key", name)


def has_state(accessible, state):
    return accessible.get_state_set().contains(state)


def centre_of(accessible):
    """The accessible's centre in screen pixels (matches X's coordinates exactly)."""
    box = accessible.get_component_iface().get_extents(Atspi.CoordType.SCREEN)
    return box.x + box.width // 2, box.y + box.height // 2


def failing_opener_folder():
    """A folder holding an "xdg-open" that fails as the desktop's does when nothing on the
    desktop can show a page: put first on PATH, the help opens in the built-in window."""
    folder = tempfile.mkdtemp(prefix="brightsum-opener.")
    opener = os.path.join(folder, "xdg-open")
    with open(opener, "w", encoding="ascii") as script:
        script.write("#!/bin/sh\nexit 3\n")
    os.chmod(opener, stat.S_IRWXU)
    return folder


class Program:
    """One run of the real program in a folder of its own.

    The program folder is copied, so the run has its own "hiscore.dat"; HOME and the data
    folder point into the same scratch folder, so nothing of the user's is touched.
    """

    def __init__(self, program_path, extra_env=None, hiscore_bytes=None):
        Atspi.set_timeout(QUERY_TIMEOUT_MS, -1)
        self.scratch = tempfile.mkdtemp(prefix="brightsum-run.")
        self.folder = os.path.join(self.scratch, "bin")
        # Without any high-score file a run of the program folder may have left: each run
        # starts from the built-in table.
        shutil.copytree(os.path.dirname(os.path.abspath(program_path)), self.folder,
                        ignore=shutil.ignore_patterns("hiscore.dat*"))
        if hiscore_bytes is not None:
            with open(os.path.join(self.folder, "hiscore.dat"), "wb") as table:
                table.write(hiscore_bytes)
        self.executable = os.path.join(self.folder, os.path.basename(program_path))
        self.stderr_path = os.path.join(self.scratch, "stderr.txt")
        env = dict(os.environ)
        env.update({
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "HOME": os.path.join(self.scratch, "home"),
            "XDG_DATA_HOME": os.path.join(self.scratch, "home", "data"),
            "XDG_CONFIG_HOME": os.path.join(self.scratch, "home", "config"),
            "XDG_CACHE_HOME": os.path.join(self.scratch, "home", "cache"),
            # The drivers read the English texts, whatever the language of the desktop the
            # tests run on; a run in another language passes its own in extra_env.
            "LC_ALL": "C.UTF-8",
        })
        env.update(extra_env or {})
        os.makedirs(env["HOME"])
        self._stderr = open(self.stderr_path, "wb")
        self.process = subprocess.Popen([self.executable], env=env, cwd=self.scratch,
                                        stdin=subprocess.DEVNULL, stdout=self._stderr,
                                        stderr=self._stderr)
        self.app = None
        self.frame = None
        self.labels = {}
        self.board = []
        self.words = {}

    @property
    def pid(self):
        return self.process.pid

    def hiscore_path(self):
        return os.path.join(self.folder, "hiscore.dat")

    def running(self):
        return self.process.poll() is None

    def connect(self, limit=STARTUP_LIMIT, words=None):
        """Finds the program on the accessibility bus and its main window's controls.

        The controls are known by their accessible descriptions, which are in the program's
        language: `words` gives them for a run in another language, keyed by the English ones
        ("target number", "row %1, column %2")."""
        self.words = dict(words or {})
        desktop = Atspi.get_desktop(0)

        def find_app():
            if not self.running():
                raise DriverError(f"the program exited early with {self.process.returncode}")
            for app in children(desktop):
                if app.get_process_id() == self.pid:
                    return app
            return None

        self.app = poll("the program on the accessibility bus", find_app, limit)
        # Read live values from the program, never from the library's cache.
        self.app.set_cache_mask(Atspi.Cache.NONE)
        self.frame = poll("the main window", lambda: self.window("Brightsum"), limit)

        place = self.words.get("row %1, column %2", "row %1, column %2")
        places = [place.replace("%1", str(i // 6 + 1)).replace("%2", str(i % 6 + 1))
                  for i in range(36)]

        def controls_ready():
            labels, board = {}, {}
            for acc in descendants(self.frame):
                role = acc.get_role()
                description = acc.get_description()
                if role == Atspi.Role.LABEL and description:
                    labels[description] = acc
                elif role == Atspi.Role.PUSH_BUTTON and description in places:
                    board[description] = acc
            return (labels, board) if len(board) == 36 else None

        labels, board = poll("the 36 board buttons", controls_ready, limit)
        self.labels = labels
        self.board = [board[description] for description in places]
        return self

    def windows(self):
        return list(children(self.app))

    def window(self, title):
        """A top-level window by its title, whatever role the toolkit gives it."""
        for top in children(self.app):
            if top.get_name() == title:
                return top
        return None

    def dialogs(self):
        """Open message boxes and prompts."""
        return [top for top in children(self.app)
                if top.get_role() in (Atspi.Role.ALERT, Atspi.Role.DIALOG)]

    def text(self, description):
        """The text of the main window's label with this description ("score", ...)."""
        return self.labels[self.words.get(description, description)].get_name()

    def x_window(self, title):
        """The X window id of the program's visible window with this title."""
        pattern = "^" + re.escape(title) + "$"

        def search():
            found = subprocess.run(
                ["xdotool", "search", "--all", "--onlyvisible", "--pid", str(self.pid), "--name",
                 pattern], capture_output=True, text=True, check=False).stdout.split()
            return found[0] if found else None

        return poll(f"the X window {title!r}", search)

    def activate(self, title):
        """Makes the window with this title the active one, as a click on it would, and waits
        until the program knows."""
        wid = self.x_window(title)
        if has_window_manager():
            xdotool("windowactivate", "--sync", wid)
            active = "getactivewindow"
        else:
            # Without a manager no window is "active"; the input focus is all there is.
            xdotool("windowfocus", "--sync", wid)
            active = "getwindowfocus"
        poll(f"{title!r} to be active", lambda: xdotool(active).strip() == wid)
        # The program learns of it through the X server's events; a round trip over the
        # accessibility bus lets those be handled first.
        self.window(title)

    def board_numbers(self):
        return [button.get_name() for button in self.board]

    def menu_item(self, *path):
        """A menu entry by its captions without access-key marks, e.g. ("Subtraction",
        "Start Level 3")."""
        bar = next(acc for acc in children(self.frame) if acc.get_role() == Atspi.Role.MENU_BAR)
        node = bar
        for caption in path:
            found = None
            for item in descendants(node):
                if item.get_role() == Atspi.Role.MENU_ITEM and item.get_name() == caption:
                    found = item
                    break
            if found is None:
                raise DriverError(f"no menu entry {' > '.join(path)}")
            node = found
        return node

    def rss_kib(self):
        with open(f"/proc/{self.pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        raise DriverError("no VmRSS for the program")

    def stderr_text(self):
        self._stderr.flush()
        with open(self.stderr_path, "rb") as err:
            return err.read().decode("utf-8", "replace")

    def stop(self, keep_scratch=False):
        """Ends the program this object started (only that PID) and removes its folder."""
        if self.running():
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self._stderr.close()
        if not keep_scratch:
            shutil.rmtree(self.scratch, ignore_errors=True)


def screenshot(path):
    """Saves the whole X screen; returns False when ImageMagick's import is missing."""
    if shutil.which("import") is None:
        return False
    os.makedirs(os.path.dirname(path), exist_ok=True)
    subprocess.run(["import", "-window", "root", path], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return True


def find_pair(numbers, target, operation="-", right=True):
    """Indexes (i, j), i != j, of a pair whose sum or difference (numbers[i] - numbers[j]) is
    (or, with right False, is not) the target; None when the board has none."""
    for i, first in enumerate(numbers):
        for j, second in enumerate(numbers):
            if i == j:
                continue
            value = first + second if operation == "+" else first - second
            if (value == target) == right:
                return i, j
    return None
