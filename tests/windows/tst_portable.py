# SPDX-License-Identifier: GPL-3.0-or-later
"""The Windows program folder and installer, played under Wine on the test desktop.

    tst_portable.py <wine-run.sh> <portable .zip> <setup .exe>

Unzips the portable folder into a folder named in two scripts and plays one game with the
keyboard alone: the window appears, the Subtraction menu starts level 3, every question is
answered with a right pair, the name prompt takes a name, and "hiscore.dat" appears beside
brightsum.exe, in the bytes a Linux copy writes. The high-score cue is heard on the test
desktop's sound server (the pick cue is too short for Wine to play at all). Then the installer
installs into Program Files silently, and its uninstaller removes what it installed.

There is no accessibility bus under Wine: the board is read from the program's trace marks
(BRIGHTSUM_TRACE), and so is the focus, which the keys move as a child's would.
"""

import array
import math
import os
import re
import subprocess
import sys
import tempfile
import threading
import time
import zipfile

SKIP = 77
STARTUP_LIMIT = 90.0  # a first start under Wine loads a great deal
POLL_LIMIT = 20.0
NAME = "Zoë"


class Failure(AssertionError):
    pass


def poll(what, condition, limit=POLL_LIMIT, step=0.05):
    deadline = time.monotonic() + limit
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"gave up waiting for {what} after {limit:.0f} s")
        time.sleep(step)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True,
                          text=True, timeout=30).stdout


def key(*names):
    for name in names:
        xdotool("key", "--clearmodifiers", name)
        time.sleep(0.05)


class Game:
    """The program under Wine, with its trace marks (name, detail, seconds) as they come."""

    def __init__(self, wine, exe):
        env = dict(os.environ, BRIGHTSUM_TRACE="1", LANG="en_US.UTF-8", LANGUAGE="en")
        self.started = time.monotonic()
        self.proc = subprocess.Popen([wine, exe], env=env, cwd=os.path.dirname(exe),
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.PIPE, text=True, errors="replace")
        self.marks = []
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stderr:
            parts = line.rstrip("\n").split(" ", 2)
            if len(parts) >= 2 and parts[1].isdigit():
                self.marks.append((parts[0], parts[2] if len(parts) > 2 else "",
                                   time.monotonic() - self.started))

    def details(self, name):
        return [mark[1] for mark in list(self.marks) if mark[0] == name]

    def focused(self):
        focus = self.details("focus")
        return int(focus[-1].rsplit("_", 1)[1]) if focus else None

    def stop(self):
        self.proc.terminate()
        self.proc.wait(10)


class Recorder:
    """The test desktop's null sink, recorded as 16-bit mono at 8 kHz."""

    RATE = 8000

    def __init__(self):
        self.started = time.monotonic()
        self.proc = subprocess.Popen(
            ["parec", "-d", "nullsink.monitor", "--raw", "--format=s16le", "--channels=1",
             f"--rate={self.RATE}", "--latency-msec=20"], stdout=subprocess.PIPE)
        self.samples = array.array("h")
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        while chunk := self.proc.stdout.read(1600):
            self.samples.frombytes(chunk[: len(chunk) // 2 * 2])

    def sample_at(self, moment):
        """The index of the sample recorded at time.monotonic() `moment`, near enough."""
        return max(0, int((moment - self.started) * self.RATE))

    def loudest(self, since_samples):
        """The highest RMS of a tenth of a second recorded after sample `since_samples`."""
        data, window = self.samples[since_samples:], self.RATE // 10
        return max((math.sqrt(sum(s * s for s in data[at:at + window]) / window) / 32768
                    for at in range(0, len(data) - window, window // 2)), default=0.0)

    def stop(self):
        self.proc.terminate()
        self.proc.wait(10)


def right_pair(target, numbers, start):
    """The right pair (first minus second) that the Tab key reaches in the fewest presses."""
    best = None
    for i, first in enumerate(numbers):
        for j, second in enumerate(numbers):
            if i != j and first - second == target:
                steps = abs(i - start) + abs(j - i)
                if best is None or steps < best[0]:
                    best = (steps, i, j)
    if best is None:
        raise Failure(f"no right pair for {target} on {numbers}")
    return best[1], best[2]


def focus(game, index):
    """Walks the focus to board button `index` with Tab and Shift+Tab."""
    while (current := game.focused()) != index:
        moves = len(game.details("focus"))
        key("Tab" if current is None or index > current else "shift+Tab")
        poll("the focus to move", lambda: len(game.details("focus")) > moves, limit=5)


def play(game, window):
    xdotool("windowactivate", "--sync", window)
    key("alt+s")  # the Subtraction menu
    time.sleep(0.5)
    key("3")  # Start Level 3
    for question in range(10):
        # The idle board before a game starts has "?" for its target: no question.
        found = poll(f"question {question + 1}", lambda: (
            asked := [m for m in (re.fullmatch(r"target=(-?\d+) board=([-\d,]+)", d)
                                  for d in game.details("question-shown")) if m]
        ) and len(asked) > question and asked[question])
        target = int(found.group(1))
        numbers = [int(n) for n in found.group(2).split(",")]
        first, second = right_pair(target, numbers, game.focused() or 0)
        right_cues = game.details("cue").count("good.wav")
        for index in (first, second):
            focus(game, index)
            key("space")
        poll(f"question {question + 1}: the right-answer cue",
             lambda: game.details("cue").count("good.wav") > right_cues)

    # Ten right answers make a high score: its cue sounds and the name prompt opens.
    prompt = poll("the name prompt", lambda: xdotool_search("^High Score$"), limit=30)
    xdotool("windowactivate", "--sync", prompt)
    xdotool("type", "--delay", "80", NAME)
    key("Return")


def xdotool_search(title):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title],
                           capture_output=True, text=True).stdout.split()
    return found[0] if found else None


def check_installer(wine, setup):
    prefix = os.environ.get("BRIGHTSUM_WINE_PREFIX") or os.path.join(
        os.environ.get("BRIGHTSUM_CACHE", os.path.expanduser("~/.cache/brightsum")),
        "wine-prefix")
    folder = os.path.join(prefix, "drive_c", "Program Files", "Brightsum")
    shortcut = os.path.join(prefix, "drive_c", "ProgramData", "Microsoft", "Windows",
                            "Start Menu", "Programs", "Brightsum.lnk")
    started = time.monotonic()
    subprocess.run([wine, setup, "/S"], check=True, timeout=120)
    took = time.monotonic() - started
    for needed in ("brightsum.exe", "Qt6Widgets.dll", "platforms/qwindows.dll", "readme.htm",
                   "good.wav", "uninstall.exe"):
        if not os.path.isfile(os.path.join(folder, needed)):
            raise Failure(f"the installer did not install {needed} into {folder}")
    if not os.path.isfile(shortcut):
        raise Failure(f"the installer made no Start-menu shortcut {shortcut}")
    print(f"installed silently in {took:.1f} s")
    # The uninstaller copies itself away and returns at once; the files go soon after.
    subprocess.run([wine, os.path.join(folder, "uninstall.exe"), "/S"], check=True,
                   timeout=120)
    poll("the uninstaller to remove the program folder",
         lambda: not os.path.exists(folder) and not os.path.exists(shortcut), limit=60)


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    wine, portable, setup = sys.argv[1:]
    if not os.environ.get("DISPLAY") or not os.environ.get("PULSE_SERVER"):
        print("SKIP: no test desktop (source scripts/desktop-env.sh; desktop_start)")
        return SKIP
    for package in (portable, setup):
        if not os.path.isfile(package):
            raise Failure(f"{package} is missing: scripts/windows.sh builds it")

    with tempfile.TemporaryDirectory() as scratch:
        parent = os.path.join(scratch, "Zoë 学校")
        with zipfile.ZipFile(portable) as archive:
            archive.extractall(parent)
        (folder,) = os.listdir(parent)
        exe = os.path.join(parent, folder, "brightsum.exe")
        hiscore = os.path.join(parent, folder, "hiscore.dat")

        recorder = Recorder()
        game = Game(wine, exe)
        try:
            window = poll("the main window", lambda: xdotool_search("^Brightsum$"),
                          limit=STARTUP_LIMIT)
            poll("the first paint", lambda: game.details("first-paint"), limit=STARTUP_LIMIT)
            print(f"window shown {time.monotonic() - game.started:.1f} s after the start")
            play(game, window)
            poll("hiscore.dat beside brightsum.exe", lambda: os.path.isfile(hiscore))
            data = poll("a whole hiscore.dat", lambda: (d := open(hiscore, "rb").read())
                        and d.endswith(b"\r\n") and d)
            # As on Linux: CR LF lines, and Windows-1252 while every name fits it.
            first = data.split(b"\r\n")[0]
            if (not re.fullmatch(rb'" *\d+","' + NAME.encode("cp1252") + rb'"," 3"', first)
                    or b"\n" in data.replace(b"\r\n", b"")):
                raise Failure(f"hiscore.dat does not lead with the game in CRLF lines: {data!r}")
            (cue_at,) = [m[2] for m in list(game.marks) if m[:2] == ("cue", "hiscore.wav")]
            heard_from = recorder.sample_at(game.started + cue_at - 0.1)
            loudest = poll("the high-score cue on the sound server",
                           lambda: recorder.loudest(heard_from) > 0.01 and
                           recorder.loudest(heard_from), limit=10)
            print(f"high-score cue heard at RMS {loudest:.3f}")
        finally:
            game.stop()
            recorder.stop()
    check_installer(wine, setup)
    print("PASS")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        sys.exit(1)
