#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays the real program as a screen-reader user would, over the accessibility bus.

    tst_play_by_screen_reader.py <path of brightsum> <artifacts folder>

Starts a subtraction game at level 3 from the menu, reads the target and the board, answers
the first question right, gives a wrong pair on the second (its first pick with a real Return
key press on the focused button), and opens the high-score window. Then opens the About window
and turns to the main window, which must leave the About window open; and asks for the help
page with a desktop opener that fails, which must bring up the built-in help window.
Exits 77 (skipped) when no desktop with an accessibility bus is reachable.
"""

import os
import shutil
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
try:
    import brightsum_driver as ui
except (ImportError, ValueError) as error:  # no Atspi introspection data on this python
    print(f"SKIP: cannot load the accessibility client: {error}")
    sys.exit(77)

# A right answer within the question's first two decay steps is worth the full 1000; a later
# one less. The test only knows that it was quick enough when the whole answer took less than
# this many seconds from the menu command, and otherwise plays the question again.
FULL_WORTH_SECONDS = 3.0
ATTEMPTS = 4

DEFAULT_SCORES = [" 1000", " 900", " 700", " 600", " 500", " 400", " 300", " 200", " 100",
                  " 100"]
DEFAULT_NAMES = ["Quill", "Brindle", "Sorrel", "Juniper", "Fennel", "Clover", "Bramble",
                 "Tansy", "Yarrow", "Rowan"]


def check(condition, message):
    if not condition:
        raise ui.DriverError(message)


def number(text):
    return int(text) if text.lstrip("-").isdigit() else None


def read_question(program):
    target = number(program.text("target number"))
    numbers = [number(name) for name in program.board_numbers()]
    check(target is not None, f"target is not a number: {program.text('target number')!r}")
    check(None not in numbers, f"board holds a caption that is not a number: {numbers}")
    return target, numbers


def start_subtraction_level_3(program):
    started = time.monotonic()
    entry = program.menu_item("Subtraction", "Start Level 3")
    check(ui.press(entry), "the menu command did not return")
    ui.poll("question 1 of a level 3 subtraction game",
            lambda: (program.text("question number") == "1" and program.text("level") == "3"
                     and program.text("operation sign") == "-"
                     and program.text("target number") != "?"))
    check(program.text("score") == "0", f"a new game starts with score {program.text('score')}")
    check(program.text("first number") == "?" and program.text("second number") == "?",
          "a new question shows no picks")
    return started


def answer_right(program):
    """Starts a game and answers question 1 right; returns the pair's numbers, or None when
    the answer came too late to be worth 1000 (a slow machine, not a fault)."""
    started = start_subtraction_level_3(program)
    target, numbers = read_question(program)
    pair = ui.find_pair(numbers, target, "-", right=True)
    check(pair is not None, f"no pair on the board makes {target}: {numbers}")
    i, j = pair
    print(f"question 1: target {target}, picking {numbers[i]} (button {i}) "
          f"then {numbers[j]} (button {j})")

    ui.press(program.board[i])
    ui.poll("the first pick to be shown",
            lambda: program.text("first number") == str(numbers[i]))
    # The second pick pauses for a second before answering; don't wait for the answer.
    ui.press(program.board[j], reply_limit_ms=300)

    score = ui.poll("the score to change", lambda: (s := program.text("score")) != "0" and s)
    elapsed = time.monotonic() - started
    worth = number(score)
    check(worth is not None and 0 < worth <= 1000 and worth % 50 == 0,
          f"a right answer scored {score!r}, not a question's worth")
    if score != "1000" and elapsed >= FULL_WORTH_SECONDS:
        print(f"answered after {elapsed:.1f} s for {score}; too slow to expect 1000, again")
        ui.poll("question 2", lambda: program.text("question number") == "2")
        return None
    check(score == "1000", f"a right answer {elapsed:.1f} s into a question scored {score}")

    # While the pause lasts, the pair stays shown.
    before = program.text("question number")
    shown = (program.text("first number"), program.text("second number"))
    after = program.text("question number")
    if before == after == "1":
        check(shown == (str(numbers[i]), str(numbers[j])),
              f"during the pause the picks read {shown}")

    ui.poll("question 2 after the one-second pause",
            lambda: program.text("question number") == "2")
    check(program.text("score") == "1000", "the score changed when the next question began")
    check(program.text("first number") == "?" and program.text("second number") == "?",
          "question 2 starts without picks")
    return numbers[i], numbers[j]


def answer_wrong(program):
    target, numbers = read_question(program)
    pair = ui.find_pair(numbers, target, "-", right=False)
    check(pair is not None, "every pair on the board is right")
    i, j = pair
    print(f"question 2: target {target}, picking {numbers[i]} then {numbers[j]} (wrong)")
    # The first pick by the keyboard: focus on the button, then Return from the X server.
    program.activate("Brightsum")
    program.board[i].get_component_iface().grab_focus()
    ui.poll("the focus on the first button to pick",
            lambda: ui.has_state(program.board[i], ui.Atspi.StateType.FOCUSED))
    ui.key("Return")
    ui.poll("Return on the focused button to pick it",
            lambda: program.text("first number") == str(numbers[i]))
    ui.press(program.board[j], reply_limit_ms=300)
    # The wrong pair is shown first, then cleared after the pause.
    ui.poll("the wrong pair to be shown",
            lambda: program.text("second number") == str(numbers[j]))
    check(program.text("first number") == str(numbers[i]),
          f"the wrong pair's first number reads {program.text('first number')!r}")
    ui.poll("the picks to be cleared after the pause",
            lambda: program.text("first number") == "?" and program.text("second number") == "?")
    check(program.text("question number") == "2", "a wrong pair moved the game on")
    check(program.text("score") == "1000", "a wrong pair changed the score")
    check(program.text("target number") == str(target), "a wrong pair changed the target")
    check(program.board_numbers() == [str(n) for n in numbers],
          "a wrong pair changed the board")


def list_rows(window):
    lists = [acc for acc in ui.descendants(window)
             if acc.get_role() in (ui.Atspi.Role.LIST, ui.Atspi.Role.LIST_BOX)]
    return [[item.get_name() for item in ui.children(lst)] for lst in lists]


def open_high_scores(program):
    check(ui.press(program.menu_item("High Scores")), "the High Scores command did not return")
    window = ui.poll("the High Scores window", lambda: program.window("High Scores"))
    rows = ui.poll("the three lists filled",
                   lambda: (r := list_rows(window)) and len(r) == 3
                   and all(len(col) == 12 for col in r) and r)
    # A screen reader hears each row whole, whichever list has the focus; the columns as the
    # table holds them (" 1000", with the file's blank) are the in-process window test's.
    heard = ["Name, Score, Level", ""] + [
        f"{place}. {name}, {score.strip()}, level 1"
        for place, (name, score) in enumerate(zip(DEFAULT_NAMES, DEFAULT_SCORES), start=1)]
    for column in rows:
        check(column == heard, f"a list reads {column}")
    okay = [acc for acc in ui.descendants(window)
            if acc.get_role() == ui.Atspi.Role.PUSH_BUTTON and acc.get_name() == "Okay"]
    check(len(okay) == 1, "the High Scores window has no Okay button")
    return okay[0]


# Longer than the main window takes to settle as the active one, and than any delay a window
# might wait before closing on the loss of the focus.
SETTLE_SECONDS = 1.0


def about_window_stays_open(program):
    check(ui.press(program.menu_item("Help", "About Sumbright")), "the About entry did not return")
    ui.poll("the About window", lambda: program.window("About Sumbright"))
    program.activate("About Sumbright")
    program.activate("Brightsum")
    time.sleep(SETTLE_SECONDS)
    check(program.window("About Sumbright") is not None,
          "the About window closed when the main window was activated")
    program.activate("About Sumbright")
    ui.key("Escape")
    ui.poll("Escape to close the About window",
            lambda: program.window("About Sumbright") is None)


def failing_opener_shows_built_in_help(program):
    check(ui.press(program.menu_item("Help", "Information and Instructions")),
          "the help entry did not return")
    viewer = ui.poll("the built-in help window", lambda: program.window(HELP_TITLE))
    check(not program.dialogs(), "a notice came up although the page could be shown")
    print(f"help window: {viewer.get_name()!r}")
    program.activate(HELP_TITLE)
    ui.key("Escape")
    ui.poll("Escape to close the help window", lambda: program.window(HELP_TITLE) is None)


HELP_TITLE = "Brightsum: how to play"


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    program_path, artifacts = sys.argv[1], sys.argv[2]
    reason = ui.missing_desktop()
    if reason:
        print(f"SKIP: {reason}")
        return ui.SKIP

    failure_shot = os.path.join(artifacts, "e2e-failure.png")
    if os.path.exists(failure_shot):
        os.remove(failure_shot)
    opener_folder = ui.failing_opener_folder()
    program = ui.Program(program_path, extra_env={
        "PATH": opener_folder + os.pathsep + os.environ.get("PATH", "/usr/bin:/bin")})
    try:
        program.connect()
        check(program.text("first number") == "?" and program.text("target number") == "?",
              "the idle window shows a question")

        for attempt in range(1, ATTEMPTS + 1):
            if answer_right(program):
                break
            check(attempt < ATTEMPTS, "never answered fast enough to score 1000")
        answer_wrong(program)
        ui.screenshot(os.path.join(artifacts, "e2e-after-wrong-pair.png"))

        okay = open_high_scores(program)
        shot = os.path.join(artifacts, "e2e-high-scores.png")
        if ui.screenshot(shot):
            print(f"screenshot: {shot}")
        ui.press(okay)
        ui.poll("Okay to close the High Scores window",
                lambda: program.window("High Scores") is None)
        check(program.window("Brightsum") is not None, "Okay closed the main window")

        about_window_stays_open(program)
        failing_opener_shows_built_in_help(program)

        check(program.running(), "the program ended by itself")
        err = program.stderr_text()
        print("program stderr:\n" + (err if err.strip() else "(empty)"))
        print("PASS")
        return 0
    except ui.DriverError as failure:
        if ui.screenshot(failure_shot):
            print(f"screenshot: {failure_shot}")
        print(f"FAIL: {failure}")
        print("program stderr:\n" + program.stderr_text())
        return 1
    finally:
        program.stop()
        shutil.rmtree(opener_folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
