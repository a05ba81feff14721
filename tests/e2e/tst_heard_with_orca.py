#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A blind child's game, heard through Orca, the real screen reader, and played by keys alone.

    tst_heard_with_orca.py <path of brightsum> <artifacts folder> <translations folder>

In English and in German: starts a subtraction game at level 3 from the menu, and hears the
question, the question again with the time left (F5), a pick, a wrong pair, a right pair with
its points, the clock's one warning and the time running out on question 2, then plays the
game to its end and hears the final score; types a name for the high score and hears its row
in the high-score window; opens the help and hears a line of the page.

The board is read over the accessibility bus to know which keys to press, as the child knows
it by ear; every key goes through the X server. What Orca said is kept in the artifacts folder
(orca-<language>.txt, and Orca's whole debug output in orca-debug.log).
Exits 77 (skipped) without a desktop, without Orca, or while another Orca of this user runs.
"""

import html
import os
import re
import shutil
import sys
import time
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
try:
    import brightsum_driver as ui
    import screen_reader
except (ImportError, ValueError) as error:  # no Atspi introspection data on this python
    print(f"SKIP: cannot load the accessibility client: {error}")
    sys.exit(77)

Atspi = ui.Atspi

# The player's name typed for the high score.
NAME = "Ada"
# Seconds between key presses that move the focus: Orca speaks each button it reaches.
STEP = 0.08


class English:
    name = "en"
    env = {"LC_ALL": "C.UTF-8"}
    subtraction_menu = "alt+s"
    # The Help menu lies left of the first menu, which has the access key A.
    first_menu = "alt+a"
    level_entry = "Start Level 1"
    help_page = "readme.htm"

    @staticmethod
    def question(number, target):
        return rf"^Question {number}\. Make {target} with minus\."

    @staticmethod
    def repeated(number, target, score):
        return (rf"^Question {number}\. Make {target} with minus\. (\d+) seconds? left\. "
                rf"You have {score} points\.$")

    @staticmethod
    def picked(number):
        return rf"^You picked {number}\.$"

    @staticmethod
    def wrong(first, second, target):
        return rf"^{first} minus {second} does not make {target}\. Try again\.$"

    @staticmethod
    def right(points):
        return rf"^Right! {points} points\.$"

    @staticmethod
    def warning():
        return r"^(\d+) seconds? left\.$"

    time_up = r"^Time is up\.$"

    @staticmethod
    def final_score(score):
        return rf"Game over\. Your final score is {score}\."

    @staticmethod
    def row(rank, name, score, level):
        return rf"^{rank}\. {name}, {score}, level {level}\.?$"


class German:
    name = "de"
    env = {"LC_ALL": "de_DE.UTF-8", "LANGUAGE": "de"}
    subtraction_menu = "alt+m"
    first_menu = "alt+p"
    level_entry = "Stufe 1 starten"
    help_page = "readme.de.htm"

    @staticmethod
    def question(number, target):
        return rf"^Frage {number}\. Mach {target} mit Minus\."

    @staticmethod
    def repeated(number, target, score):
        return (rf"^Frage {number}\. Mach {target} mit Minus\. Noch (\d+) Sekunden?\. "
                rf"Du hast {score} Punkte\.$")

    @staticmethod
    def picked(number):
        return rf"^Du hast {number} gewählt\.$"

    @staticmethod
    def wrong(first, second, target):
        return rf"^{first} minus {second} gibt nicht {target}\. Versuch es noch einmal\.$"

    @staticmethod
    def right(points):
        return rf"^Richtig! {points} Punkte\.$"

    @staticmethod
    def warning():
        return r"^Noch (\d+) Sekunden?\.$"

    time_up = r"^Die Zeit ist um\.$"

    @staticmethod
    def final_score(score):
        return rf"Spiel vorbei\. Du hast {score} Punkte\."

    @staticmethod
    def row(rank, name, score, level):
        return rf"^{rank}\. {name}, {score}, Stufe {level}\.?$"


def main_window_words(translations, language):
    """The main window's texts in a language, keyed by the English ones, from its catalogue:
    the driver knows the controls by their descriptions."""
    if language.name == "en":
        return {}
    path = os.path.join(translations, f"brightsum_{language.name}.ts")
    words = {}
    for context in ET.parse(path).getroot().iter("context"):
        if context.findtext("name") == "brightsum::MainWindow":
            for message in context.iter("message"):
                words[message.findtext("source")] = message.findtext("translation")
    return words


def check(condition, message):
    if not condition:
        raise ui.DriverError(message)


class Game:
    """One run of the program in one language, with Orca listening."""

    def __init__(self, program, orca, language, transcript):
        self.program = program
        self.orca = orca
        self.lang = language
        self.transcript = transcript
        # Where this run's speech begins; Orca keeps talking from one run to the next.
        self.begin = orca.mark()

    def hear(self, what, pattern, since, limit=screen_reader.SPEECH_LIMIT):
        said = self.orca.wait_for(what, pattern, since, limit)
        print(f"  heard ({what}): {said!r}")
        self.transcript.append(said)
        return said

    def question_number(self):
        return int(self.program.text("question number"))

    def board(self):
        target = int(self.program.text("target number"))
        return target, [int(name) for name in self.program.board_numbers()]

    def focused(self):
        """The index of the board button with the focus, or None."""
        for index, button in enumerate(self.program.board):
            if ui.has_state(button, Atspi.StateType.FOCUSED):
                return index
        return None

    def focus(self, index):
        """Tab or Shift+Tab to board button `index`, as a player walks the board."""
        current = ui.poll("a board button with the focus",
                          lambda: (at := self.focused()) is not None and (at,))[0]
        key = "Tab" if index > current else "shift+Tab"
        for _ in range(abs(index - current)):
            ui.xdotool("key", key)
            time.sleep(STEP)
        ui.poll(f"the focus on button {index}",
                lambda: ui.has_state(self.program.board[index], Atspi.StateType.FOCUSED))

    def closest_pair(self, right):
        """A pair the operation makes right (or wrong), the one the keys reach soonest."""
        target, numbers = self.board()
        start = self.focused()
        start = 0 if start is None else start
        best = None
        for i, first in enumerate(numbers):
            for j, second in enumerate(numbers):
                if i == j or (first - second == target) != right:
                    continue
                steps = abs(i - start) + abs(j - i)
                if best is None or steps < best[0]:
                    best = (steps, i, j)
        check(best is not None, f"no {'right' if right else 'wrong'} pair for {target}: "
                                f"{numbers}")
        return target, numbers, best[1], best[2]

    def start(self):
        since = self.orca.mark()
        screen_reader.press(self.lang.subtraction_menu)
        self.hear("the menu opening", re.escape(self.lang.level_entry), since)
        since = self.orca.mark()
        screen_reader.press("3")
        ui.poll("question 1 of the game", lambda: self.program.text("question number") == "1"
                and self.program.text("target number") != "?")
        target, _ = self.board()
        self.hear("question 1", self.lang.question(1, target), since)

    def repeat_question(self):
        target, _ = self.board()
        since = self.orca.mark()
        screen_reader.press("F5")
        said = self.hear("the question again", self.lang.repeated(1, target, 0), since)
        left = int(re.search(self.lang.repeated(1, target, 0), said).group(1))
        check(0 < left <= 23, f"{left} seconds left of a 23-second question")

    def pick(self, index):
        self.focus(index)
        screen_reader.press("space")

    def wrong_pair(self):
        target, numbers, i, j = self.closest_pair(right=False)
        since = self.orca.mark()
        self.pick(i)
        self.hear("the first pick", self.lang.picked(numbers[i]), since)
        check(ui.has_state(self.program.board[i], Atspi.StateType.CHECKED),
              "the picked button is not checked")
        since = self.orca.mark()
        self.pick(j)
        self.hear("the wrong pair", self.lang.wrong(numbers[i], numbers[j], target), since)
        ui.poll("the wrong pair's buttons unpicked after the pause",
                lambda: not any(ui.has_state(self.program.board[k], Atspi.StateType.CHECKED)
                                for k in (i, j)))

    def right_pair(self, what):
        """Answers the open question right; False when its time ran out first."""
        number = self.question_number()
        score = int(self.program.text("score"))
        _, _, i, j = self.closest_pair(right=True)
        since = self.orca.mark()
        self.pick(i)
        self.pick(j)
        if self.question_number() != number:
            return False  # the clock was quicker than the keys; the next question is on
        said = self.hear(what, self.lang.right(r"(\d+)"), since)
        points = int(re.search(r"\d+", said).group())
        ui.poll("the score to grow by the points heard",
                lambda: int(self.program.text("score")) == score + points)
        return True

    def time_runs_out(self):
        """Question 2 left alone: one warning a few seconds before the end, then time up."""
        number = self.question_number()
        target, _ = self.board()
        started = self.orca.mark()
        self.hear("the clock's warning", self.lang.warning(), started, limit=30)
        self.hear("the time running out", self.lang.time_up, started, limit=30)
        ui.poll("the next question", lambda: self.question_number() == number + 1)
        said = self.orca.utterances()[started:]
        warnings = [s for s in said if re.search(self.lang.warning(), s)]
        check(len(warnings) == 1, f"the clock spoke {len(warnings)} times: {said}")
        left = int(re.search(self.lang.warning(), warnings[0]).group(1))
        check(2 <= left <= 10, f"the warning came with {left} seconds left")
        # Besides, only the next question and the new number of the focused button, which Orca
        # reads as it changes; no second ticking by.
        others = [s for s in said if not re.search(self.lang.warning(), s)
                  and not re.search(self.lang.time_up, s)
                  and not re.search(self.lang.question(number + 1, r"\d+"), s)]
        check(len(others) <= 1 and all(re.fullmatch(r"\d+", s) for s in others),
              f"more was said while the clock ran than its warning: {said}")
        print(f"  question {number} ({target}) ran out with one warning")

    def play_to_the_end(self):
        while True:
            number = self.question_number()
            if not self.program.running() or number > 10 or self.program.dialogs():
                return
            self.right_pair(f"a right pair in question {number}")
            ui.poll("the next question or the end",
                    lambda: self.question_number() != number or self.program.dialogs())

    def final_score_and_row(self):
        prompt = ui.poll("the name prompt of a high score", lambda: self.program.dialogs())
        score = int(self.program.text("score"))
        # Heard with the prompt, which a screen reader reads as it opens.
        self.hear("the final score", self.lang.final_score(score), self.begin)
        check(prompt[0].get_role() == Atspi.Role.DIALOG, "the game over is not the name prompt")
        time.sleep(0.5)
        ui.xdotool("type", "--delay", "120", NAME)
        since = self.orca.mark()
        screen_reader.press("Return")
        ui.poll("the high-score window", lambda: self.program.window(
            "High Scores" if self.lang is English else "Bestenliste"))
        # The list has the focus; the first rows are the header and an empty row. One Down at
        # a time, each heard before the next: Orca drops a row it has not read yet when the
        # focus has already moved on.
        row = re.compile(self.lang.row(r"(\d+)", NAME, score, 3))
        said = None
        for _ in range(4):
            step = self.orca.mark()
            screen_reader.press("Down")
            try:
                heard = self.orca.wait_for("a row", r"^\d+\. |, ", step, limit=5)
            except screen_reader.ScreenReaderError:
                continue  # the empty row between the header and the first entry
            if row.search(heard):
                said = heard
                break
        check(said is not None, f"no row of {NAME}'s score: {self.orca.utterances()[since:]}")
        print(f"  heard (the new high score's row): {said!r}")
        self.transcript.append(said)
        check(row.search(said).group(1) == "1", f"the best score of the table is not first: "
                                                f"{said!r}")
        screen_reader.press("Escape")
        ui.poll("the high-score window to close", lambda: not any(
            w.get_name() in ("High Scores", "Bestenliste") for w in self.program.windows()))

    def help_line(self, program_folder):
        # Back in the main window, as the window manager leaves it when the table closes.
        self.program.activate("Brightsum")
        since = self.orca.mark()
        screen_reader.press(self.lang.first_menu, "Left", "Return")
        # The window opens with the page's first line said after the text field; Down reads
        # the next.
        self.hear("the help window", r"read only text", since)
        opened = self.orca.utterances()[since:].index("read only text.") + since
        self.hear("the page's first line", r"\w", opened + 1)
        since = self.orca.mark()
        screen_reader.press("Down")
        line = self.hear("a line of the help page", r"\w", since)
        with open(os.path.join(program_folder, self.lang.help_page), encoding="utf-8") as page:
            text = page.read()
        words = " ".join(html.unescape(re.sub(r"<[^>]*>", " ", text.split("<body", 1)[1]))
                         .split())
        # Orca ends a line that has no full stop with one of its own.
        said = " ".join(line.split())
        check(said in words or said.removesuffix(".") in words,
              f"{line!r} is not a line of the help page")
        screen_reader.press("Escape")


def play(program_path, orca, language, artifacts, opener_folder, translations):
    print(f"{language.name}:")
    env = dict(language.env)
    env["PATH"] = opener_folder + os.pathsep + os.environ.get("PATH", "/usr/bin:/bin")
    # Orca may speak the window as soon as it shows, before the driver has found it.
    since = orca.mark()
    program = ui.Program(program_path, extra_env=env)
    transcript = []
    try:
        program.connect(words=main_window_words(translations, language))
        program.activate("Brightsum")
        game = Game(program, orca, language, transcript)
        game.hear("the board's first button", r"push button", since)
        game.start()
        game.repeat_question()
        game.wrong_pair()
        check(game.right_pair("the right pair"), "question 1 ran out of time before its answer")
        ui.poll("question 2", lambda: game.question_number() == 2)
        target, _ = game.board()
        game.hear("question 2", language.question(2, target), game.begin)
        game.time_runs_out()
        game.play_to_the_end()
        game.final_score_and_row()
        game.help_line(program.folder)
        check(program.running(), "the program ended by itself")
    except (ui.DriverError, screen_reader.ScreenReaderError):
        ui.screenshot(os.path.join(artifacts, f"orca-failure-{language.name}.png"))
        raise
    finally:
        with open(os.path.join(artifacts, f"orca-{language.name}.txt"), "w",
                  encoding="utf-8") as out:
            out.write("\n".join(orca.utterances()[since:]) + "\n")
        program.stop()


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    program_path, artifacts, translations = sys.argv[1:4]
    reason = ui.missing_desktop() or screen_reader.missing() \
        or screen_reader.wait_for_other_orcas()
    if reason:
        print(f"SKIP: {reason}")
        return ui.SKIP
    os.makedirs(artifacts, exist_ok=True)
    orca = screen_reader.Orca(os.path.join(artifacts, "orca-debug.log"))
    opener_folder = ui.failing_opener_folder()
    try:
        orca.start()
        for language in (English, German):
            play(program_path, orca, language, artifacts, opener_folder, translations)
        print("PASS")
        return 0
    except (ui.DriverError, screen_reader.ScreenReaderError) as failure:
        print(f"FAIL: {failure} (screenshot in {artifacts})")
        return 1
    finally:
        orca.stop()
        shutil.rmtree(opener_folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
