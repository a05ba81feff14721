#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Where the real program's windows land on a real desktop, and what their frames offer.

    tst_placement.py <path of brightsum>

Under a window manager every window is centred by its outer frame, not by its inner area,
within 2 pixels (the frame comes only once the window is mapped), and its frame offers what
the window allows: the main and high-score windows can be resized and have a minimise but
no maximise button; the About window has neither and cannot be resized. On a screen smaller than the window
(1024x600 at scale 2, no window manager) the window keeps its top-left corner on the
screen, so that the menu bar, the only way to start a game, can be reached.
"""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "support"))
import brightsum_driver as driver  # noqa: E402

failures = []


def check(condition, message):
    print(("ok: " if condition else "FAIL: ") + message)
    if not condition:
        failures.append(message)


def outer_box(wid, display=None):
    """The window's frame as x, y, width, height in screen pixels."""
    env = {**os.environ, **({"DISPLAY": display} if display else {})}
    info = subprocess.run(["xwininfo", "-id", wid], env=env, capture_output=True, text=True,
                          check=True).stdout
    value = {k.strip(): int(v) for k, v in (line.split(":", 1) for line in info.splitlines()
                                             if line.strip().startswith(("Absolute", "Width",
                                                                         "Height")))}
    extents = subprocess.run(["xprop", "-id", wid, "_NET_FRAME_EXTENTS"], env=env,
                             capture_output=True, text=True, check=True).stdout
    left, right, top, bottom = ([int(n) for n in extents.split("=")[1].split(",")]
                                if "=" in extents else (0, 0, 0, 0))
    return (value["Absolute upper-left X"] - left, value["Absolute upper-left Y"] - top,
            value["Width"] + left + right, value["Height"] + top + bottom)


def screen_size(display=None):
    env = {**os.environ, **({"DISPLAY": display} if display else {})}
    info = subprocess.run(["xdpyinfo"], env=env, capture_output=True, text=True,
                          check=True).stdout
    width, height = next(line.split()[1] for line in info.splitlines()
                         if "dimensions:" in line).split("x")
    return int(width), int(height)


def centred_by_frame(program, title):
    wid = program.x_window(title)
    # The window manager frames the window after mapping it; the program recentres then.
    screen_w, screen_h = screen_size()

    def centred():
        x, y, width, height = outer_box(wid)
        return abs(2 * x + width - screen_w) <= 4 and abs(2 * y + height - screen_h) <= 4

    try:
        driver.poll(f"{title!r} centred by its frame", centred)
    except driver.DriverError:
        pass
    check(centred(), f"{title!r} is centred by its frame: {outer_box(wid)} on "
          f"{screen_w}x{screen_h}")


def offers(program, title, allowed):
    """What the window manager is asked to show: the title bar's buttons from the Motif hints
    (openbox shows those, though it lets its own menu maximise anyway), and whether it lets
    the window be resized (from the window's size hints)."""
    wid = program.x_window(title)
    hints = subprocess.run(["xprop", "-id", wid, "_MOTIF_WM_HINTS"], capture_output=True,
                           text=True, check=True).stdout
    decorations = int(hints.split("=")[1].split(",")[2], 16) if "=" in hints else 0x7e
    actions = subprocess.run(["xprop", "-id", wid, "_NET_WM_ALLOWED_ACTIONS"],
                             capture_output=True, text=True, check=True).stdout
    offered = {"minimize button": bool(decorations & 0x20),
               "maximize button": bool(decorations & 0x40),
               "resize": "_NET_WM_ACTION_RESIZE" in actions,
               "close": "_NET_WM_ACTION_CLOSE" in actions}
    check(offered == allowed, f"{title!r} offers {offered}")


def under_window_manager(path):
    program = driver.Program(path)
    try:
        program.connect()
        centred_by_frame(program, "Brightsum")
        sizable = {"minimize button": True, "maximize button": False, "resize": True,
                   "close": True}
        offers(program, "Brightsum", sizable)
        driver.press(program.menu_item("High Scores"))
        centred_by_frame(program, "High Scores")
        offers(program, "High Scores", sizable)
        driver.press(program.menu_item("Help", "About Sumbright"))
        centred_by_frame(program, "About Sumbright")
        offers(program, "About Sumbright",
               {"minimize button": False, "maximize button": False, "resize": False,
                "close": True})
        # Moved by the player, minimised and restored: it stays where the player put it.
        about = program.x_window("About Sumbright")
        driver.xdotool("windowmove", "--sync", about, "40", "30")
        moved = outer_box(about)[:2]
        driver.xdotool("windowminimize", "--sync", about)
        driver.xdotool("windowactivate", "--sync", about)

        def restored_where_moved():
            viewable = "IsViewable" in subprocess.run(["xwininfo", "-id", about],
                                                      capture_output=True, text=True).stdout
            return viewable and outer_box(about)[:2] == moved

        try:
            driver.poll("the About window restored where it was moved to", restored_where_moved)
        except driver.DriverError:
            pass
        check(restored_where_moved(), f"restored where it was moved to: {outer_box(about)[:2]}, "
              f"moved to {moved}")
    finally:
        program.stop()


def on_a_small_screen(path):
    with tempfile.TemporaryDirectory(prefix="brightsum-small.") as scratch:
        with open(os.path.join(scratch, "dpy"), "w+") as dpy:
            # -noreset: the program's display check is the server's first client, and a server
            # that resets when it leaves refuses the toolkit's connection during the reset.
            server = subprocess.Popen(["Xvfb", "-displayfd", str(dpy.fileno()), "-screen", "0",
                                       "1024x600x24", "-nolisten", "tcp", "-noreset"],
                                      pass_fds=[dpy.fileno()], stderr=subprocess.DEVNULL)
            display = ":" + driver.poll("the small screen", lambda: (
                dpy.seek(0), dpy.read().strip())[1] or None)
        program = subprocess.Popen([path], env={**os.environ, "DISPLAY": display,
                                                "QT_SCALE_FACTOR": "2",
                                                "HOME": scratch, "XDG_DATA_HOME": scratch},
                                   cwd=scratch, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.PIPE, text=True)
        try:
            def shown():
                if program.poll() is not None:
                    raise driver.DriverError(f"the program ended on the small screen: "
                                             f"{program.stderr.read().strip()}")
                return subprocess.run(
                    ["xdotool", "search", "--onlyvisible", "--name", "^Brightsum$"],
                    env={**os.environ, "DISPLAY": display}, capture_output=True,
                    text=True).stdout.split()[:1] or None
            wid = driver.poll("the window on the small screen", shown)[0]
            x, y, width, height = outer_box(wid, display)
            check(y == 0 and height > 600, f"taller than the screen, the window's top is at "
                  f"its edge: y {y}, height {height}")
            check(abs(2 * x + width - 1024) <= 2, f"narrower than the screen, it is centred "
                  f"across: x {x}, width {width}")
        finally:
            program.terminate()
            program.wait(timeout=10)
            server.terminate()
            server.wait(timeout=10)


def main():
    path = sys.argv[1]
    missing = driver.missing_desktop()
    if missing:
        print(f"SKIP: {missing}")
        return driver.SKIP
    if driver.has_window_manager():
        under_window_manager(path)
    else:
        print("note: no window manager on the test desktop; frames not checked")
    on_a_small_screen(path)
    print(f"{len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
