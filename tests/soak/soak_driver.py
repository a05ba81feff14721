#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays the real program for a long time, at a child's pace and at a hammering pace.

    soak_driver.py <path of brightsum> [minutes] [seed or -] [child|hammer|solver]

The last argument keeps the run to one pace; BRIGHTSUM_SOAK_TRACE=1 logs every step.

Needs a desktop with an accessibility bus (scripts/soak.sh starts one). Clicks the board at
random and with right answers, chooses menu entries, answers the game-over dialogs (names
with quotes, commas, control characters, very long text, right-to-left and combining
characters) or leaves them open for a while. Samples the program's resident memory at a
tenth, four tenths and the end of the run (1, 4 and 10 minutes of a ten-minute run).

Fails on a crash, on the program no longer answering, on a Qt warning about its event loop
or timers, and when resident memory at the end exceeds that at four tenths by more than
2 MiB (checked when that sample is taken four minutes or more into the run, once the pixmap
cache of the idle animation has levelled off).
"""

import hashlib
import os
import random
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
try:
    import brightsum_driver as ui
except (ImportError, ValueError) as error:
    print(f"SKIP: cannot load the accessibility client: {error}")
    sys.exit(77)

GLib = ui.GLib
Atspi = ui.Atspi

GROWTH_LIMIT_KIB = 2048
# The memory check compares two samples taken after the program's caches have settled.
SETTLED_AFTER_SECONDS = 4 * 60
# The program must answer a query at least this often.
RESPONSIVE_LIMIT_SECONDS = 60.0

# Qt's warnings about nested or misused event loops and timers.
EVENT_LOOP_WARNING = re.compile(
    r"event ?loop|QEventLoop|QCoreApplication::exec|processEvents|QBasicTimer|"
    r"startTimer|killTimer|Recursive repaint|QSocketNotifier|QObject::connect|"
    r"QThread|deleteLater|ASSERT|Fatal|Segmentation|Aborted", re.IGNORECASE)

HOSTILE_NAMES = [
    "Sam",
    "",
    "   ",
    'O\'Brien "Jr", the 3rd',
    '"',
    '","',
    ",,,,,",
    '"Quill"," 5000"," 5"',
    "tab\there, bell\x07, escape\x1b[31mred\x1b[0m, delete\x7f",
    "new\nline\r\nand return\r",
    "\x01\x02\x03\x04\x05\x06\x08\x0b\x0c\x0e\x0f\x10\x1f",
    "שלום עולם",
    "مرحبا بالعالم",
    "\u202eoverride\u202c and \u2067isolate\u2069",
    "e\u0301\u0302\u0303\u0304\u0305" * 40,
    "Z\u0351\u0352\u0353\u0354\u0355\u0356\u0357\u0358a\u0359\u035a\u035b\u035c" * 30,
    "\U0001F469\u200d\U0001F469\u200d\U0001F467 \U0001F600",
    "x" * 10_000,
    'a"b,c\n' * 50_000,
    "é" * 600_000,
    "%s%n%x %d {0} $(echo hi) `id` ; rm -rf / <b>bold</b> &amp;",
    "\ufeffbom\ufffe\uffff",
    "\\\\server\\share\\..\\..",
]


# A table whose tenth entry a perfect game (ten answers worth 1000) beats and a game with one
# slow answer does not, so that games end with the name prompt and with the plain message.
STARTING_TABLE = b"".join(
    b'" %d","Seed %d"," 3"\r\n' % (score, rank)
    for rank, score in enumerate(range(10000, 9900, -10), start=1))
# Long enough for a question's worth to drop to 850 or less.
SLOW_ANSWER_SECONDS = 5.5


class Stop(Exception):
    pass


class Soak:
    def __init__(self, program_path, minutes, seed, only_pace=None):
        self.rng = random.Random(seed)
        self.only_pace = only_pace
        self.trace = bool(os.environ.get("BRIGHTSUM_SOAK_TRACE"))
        self.seed = seed
        self.duration = minutes * 60.0
        self.program = ui.Program(program_path, hiscore_bytes=STARTING_TABLE)
        self.started = None
        self.counts = dict(events=0, board_clicks=0, menu_choices=0, keys=0,
                           games_completed=0, names_typed=0, prompts_cancelled=0,
                           messages_answered=0, dialogs_left_open=0,
                           high_score_windows=0, hiscore_changes=0, right_answers=0,
                           slow_replies=0)
        self.samples = []  # (label, seconds into the run, RSS KiB)
        self.profile = []  # (seconds, RSS KiB) every 30 s
        self.sample_points = [("1/10", 0.1), ("4/10", 0.4)]
        self.next_profile = 0.0
        self.dialog_deadlines = {}  # dialog path -> when to answer it
        self.answered_dialogs = set()
        self.last_answer_at = None
        self.last_hiscore = None
        self.centres = []
        self.question_eleven_seen = 0
        self.last_question = None
        self.phases = []
        self.slow_question = None
        self.pick_pending = False
        self.table_check = None

    # -- time, memory and health -----------------------------------------------------------

    def elapsed(self):
        return time.monotonic() - self.started

    def check_health(self):
        if not self.program.running():
            status = self.program.process.returncode
            raise Stop(f"the program ended by itself (exit status {status})")
        now = self.elapsed()
        while self.sample_points and now >= self.sample_points[0][1] * self.duration:
            label, _ = self.sample_points.pop(0)
            self.samples.append((label, now, self.program.rss_kib()))
        if now >= self.next_profile:
            self.profile.append((now, self.program.rss_kib()))
            self.next_profile += 30.0
        self.watch_hiscore()
        if self.last_answer_at is not None and \
                time.monotonic() - self.last_answer_at > RESPONSIVE_LIMIT_SECONDS:
            raise Stop(f"the program answered no query for {RESPONSIVE_LIMIT_SECONDS:.0f} s")

    def watch_hiscore(self):
        try:
            with open(self.program.hiscore_path(), "rb") as table:
                digest = hashlib.sha256(table.read()).hexdigest()
        except OSError:
            digest = None
        if self.last_hiscore is not None and digest != self.last_hiscore:
            self.counts["hiscore_changes"] += 1
        self.last_hiscore = digest

    def query(self, ask):
        """Runs one accessibility query; a late reply counts as slow and gives None."""
        try:
            value = ask()
            self.last_answer_at = time.monotonic()
            return value
        except GLib.GError:
            self.counts["slow_replies"] += 1
            return None

    def pause(self, seconds):
        end = time.monotonic() + seconds
        while True:
            self.check_health()
            self.tend_dialogs()
            left = end - time.monotonic()
            if left <= 0 or self.elapsed() >= self.duration:
                return
            time.sleep(min(left, 0.25))

    # -- input -------------------------------------------------------------------------------

    def log(self, message):
        if self.trace:
            print(f"{self.elapsed():8.2f} {message}", file=sys.stderr, flush=True)

    def xdotool(self, *args, events=1):
        subprocess.run(["xdotool", *[str(a) for a in args]], check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.counts["events"] += events

    def click_board(self, index):
        self.log(f"click {index}")
        x, y = self.centres[index]
        self.xdotool("mousemove", x, y, "click", 1)
        self.counts["board_clicks"] += 1

    def press(self, accessible, reply_limit_ms=1500):
        self.counts["events"] += 1
        try:
            ui.press(accessible, reply_limit_ms)
            self.last_answer_at = time.monotonic()
        except GLib.GError:
            self.counts["slow_replies"] += 1

    def choose_menu(self):
        roll = self.rng.random()
        if roll < 0.75:
            self.choose_level_game()
            return
        if roll < 0.95:
            path = ("High Scores",)
            self.counts["high_score_windows"] += 1
        else:
            path = ("Help", "About Sumbright")
        self.choose(path)

    def choose_level_game(self):
        self.choose((self.rng.choice(["Addition", "Subtraction"]),
                     f"Start Level {self.rng.randint(1, 5)}"))

    def choose(self, path):
        self.log(f"menu {path}")
        item = self.query(lambda: self.program.menu_item(*path))
        if item is not None:
            self.press(item)
            self.counts["menu_choices"] += 1

    def choose_menu_by_keys(self):
        """Alt with an access key, then the level's digit, as a keyboard user would."""
        menu = self.rng.choice(["alt+a", "alt+s"])
        self.xdotool("key", "--delay", 30, menu, str(self.rng.randint(1, 5)), events=2)
        self.counts["keys"] += 2
        self.counts["menu_choices"] += 1

    # -- dialogs -----------------------------------------------------------------------------

    def tend_dialogs(self):
        dialogs = self.query(self.program.dialogs)
        if dialogs is None:
            return
        open_paths = {dialog.path for dialog in dialogs}
        self.answered_dialogs &= open_paths
        for path in set(self.dialog_deadlines) - open_paths:
            del self.dialog_deadlines[path]
        for dialog in dialogs:
            path = dialog.path
            if path in self.answered_dialogs:
                continue
            if path not in self.dialog_deadlines:
                self.counts["games_completed"] += 1
                if self.rng.random() < 0.35:
                    wait = self.rng.uniform(2.0, 12.0)
                    self.counts["dialogs_left_open"] += 1
                else:
                    wait = self.rng.uniform(0.0, 1.5)
                self.dialog_deadlines[path] = time.monotonic() + wait
            elif time.monotonic() >= self.dialog_deadlines[path]:
                self.log(f"answer dialog {dialog.get_name()!r}")
                if self.query(lambda: self.answer(dialog)):
                    self.answered_dialogs.add(path)
                    del self.dialog_deadlines[path]

    def answer(self, dialog):
        parts = list(ui.descendants(dialog))
        fields = [acc for acc in parts if acc.get_role() in (Atspi.Role.TEXT, Atspi.Role.ENTRY)]
        buttons = {acc.get_name(): acc for acc in parts
                   if acc.get_role() == Atspi.Role.PUSH_BUTTON}
        if fields and self.rng.random() < 0.1 and "Cancel" in buttons:
            self.press(buttons["Cancel"])
            self.counts["prompts_cancelled"] += 1
            return True
        if fields:
            name = self.rng.choice(HOSTILE_NAMES)
            if len(name) < 40 and self.rng.random() < 0.3:
                # Typed key by key where the text is plain enough for the keyboard.
                fields[0].get_component_iface().grab_focus()
                self.xdotool("type", "--delay", 40, name.encode("ascii", "ignore").decode(),
                             events=len(name))
                self.counts["keys"] += len(name)
            else:
                Atspi.EditableText.set_text_contents(fields[0], name)
                self.counts["events"] += 1
            self.counts["names_typed"] += 1
        if "OK" not in buttons:
            return False
        self.press(buttons["OK"])
        if not fields:
            self.counts["messages_answered"] += 1
        return True

    # -- paces -------------------------------------------------------------------------------

    def read_question(self):
        def read():
            operation = self.program.text("operation sign")
            target = self.program.text("target number")
            numbers = self.program.board_numbers()
            question = self.program.text("question number")
            pending = self.program.text("first number") != "?" and \
                self.program.text("second number") == "?"
            return operation, target, numbers, question, pending
        reading = self.query(read)
        if reading is None:
            return None
        operation, target, numbers, question, self.pick_pending = reading
        self.log(f"question {question}: {operation} {target} pending={self.pick_pending}")
        if question != self.last_question:
            if question == "11":
                self.question_eleven_seen += 1
            elif question == "1":
                # A new game: now and then one of its answers comes late.
                late = self.rng.random() < 0.4
                self.slow_question = str(self.rng.randint(1, 10)) if late else None
        self.last_question = question
        if question == "11":
            return None  # the game is over; its last board only stands for show
        try:
            return operation, int(target), [int(n) for n in numbers]
        except ValueError:
            return None  # idle board: the target reads "?"

    def right_pair(self, reading):
        operation, target, numbers = reading
        return ui.find_pair(numbers, target, operation)

    def child_step(self):
        roll = self.rng.random()
        if roll < 0.55:
            self.click_board(self.rng.randrange(36))
        elif roll < 0.65:
            index = self.rng.randrange(36)
            self.click_board(index)
            self.pause(self.rng.uniform(0.2, 0.8))
            self.click_board(index)  # the same button twice
        elif roll < 0.85:
            reading = self.read_question()
            pair = reading and self.right_pair(reading)
            if pair:
                self.click_board(pair[0])
                self.pause(self.rng.uniform(0.3, 1.5))
                self.click_board(pair[1])
                self.counts["right_answers"] += 1
        elif roll < 0.95:
            self.choose_menu()
        else:
            self.choose_menu_by_keys()
        self.pause(self.rng.uniform(0.7, 2.5))

    def hammer_step(self):
        roll = self.rng.random()
        if roll < 0.6:
            burst = []
            count = self.rng.randint(10, 40)
            for _ in range(count):
                x, y = self.centres[self.rng.randrange(36)]
                burst += ["mousemove", x, y, "click", 1]
            self.xdotool(*burst, events=count)
            self.counts["board_clicks"] += count
        elif roll < 0.75:
            # Presses straight through the accessibility bus, which no dialog blocks.
            for _ in range(self.rng.randint(3, 12)):
                self.press(self.program.board[self.rng.randrange(36)], reply_limit_ms=300)
                self.counts["board_clicks"] += 1
        elif roll < 0.9:
            self.choose_menu()
        else:
            self.choose_menu_by_keys()
        self.pause(self.rng.uniform(0.0, 0.2))

    def close_side_window(self):
        """Closes a window standing over the board (High Scores, About) with its own button;
        True when there was one."""
        for top in self.program.windows():
            if top.get_name() == "Brightsum" or top.get_role() in (Atspi.Role.ALERT,
                                                                   Atspi.Role.DIALOG):
                continue
            buttons = [acc for acc in ui.descendants(top)
                       if acc.get_role() == Atspi.Role.PUSH_BUTTON]
            if buttons:
                self.log(f"close {top.get_name()!r} with {buttons[0].get_name()!r}")
                self.press(buttons[0])
                return True
        return False

    def solver_step(self):
        """Plays whole games quickly, so that games end and names are asked for."""
        if self.close_side_window():
            self.pause(0.3)
            return
        reading = self.read_question()
        if reading is None:
            if self.query(self.program.dialogs) == []:
                self.choose_level_game()
            self.pause(0.5)
            return
        if self.pick_pending:
            # A first pick left by another pace would pair with ours; finish it off first.
            self.click_board(self.rng.randrange(36))
        elif self.last_question == self.slow_question:
            self.slow_question = None
            self.pause(SLOW_ANSWER_SECONDS)
            return
        else:
            pair = self.right_pair(reading)
            if pair:
                self.click_board(pair[0])
                self.click_board(pair[1])
                self.counts["right_answers"] += 1
        self.pause(self.rng.uniform(1.1, 1.6))

    # -- the run -----------------------------------------------------------------------------

    def run(self):
        self.program.connect()
        self.started = time.monotonic()
        self.last_answer_at = time.monotonic()
        self.centres = [ui.centre_of(button) for button in self.program.board]
        paces = [("child", self.child_step), ("hammer", self.hammer_step),
                 ("solver", self.solver_step)]
        if self.only_pace:
            paces = [pace for pace in paces if pace[0] == self.only_pace]
        # Every pace comes round once in each shuffled round, so each gets its share.
        rounds = []
        phase_end, step = 0.0, None
        self.check_health()
        while self.elapsed() < self.duration:
            if self.elapsed() >= phase_end:
                if not rounds:
                    rounds = self.rng.sample(paces, len(paces))
                pace, step = rounds.pop()
                self.phases.append(pace)
                # The solver's longer phases let games reach their end.
                longest = 75.0 if pace == "solver" else 45.0
                phase_end = self.elapsed() + self.rng.uniform(15.0, longest)
                if pace == "solver":
                    self.choose_level_game()
            try:
                step()
            except GLib.GError:  # a reply that came late, or a window that just closed
                self.counts["slow_replies"] += 1
        self.samples.append(("end", self.elapsed(), self.program.rss_kib()))
        self.profile.append((self.elapsed(), self.program.rss_kib()))
        self.check_saved_table()

    def check_saved_table(self):
        """The names typed must not have broken the file: High Scores re-reads it, and a
        file it could not read would bring back the built-in table."""
        old = self.program.window("High Scores")
        if old is not None:
            okay = [acc for acc in ui.descendants(old) if acc.get_name() == "Okay"]
            if okay:
                ui.press(okay[0])
            ui.poll("the old High Scores window to close",
                    lambda: self.program.window("High Scores") is None)
        ui.press(self.program.menu_item("High Scores"), reply_limit_ms=5000)
        window = ui.poll("the High Scores window", lambda: self.program.window("High Scores"))
        lists = ui.poll("its lists", lambda: [
            acc for acc in ui.descendants(window)
            if acc.get_role() in (Atspi.Role.LIST, Atspi.Role.LIST_BOX)
            and acc.get_child_count() == 12])
        # Each item reads its whole row, "3. Ada, 950, level 2": the score stands before the
        # level, whatever the name holds.
        rows = [item.get_name() for item in ui.children(lists[1])][2:]
        scores = [m.group(1) if (m := re.search(r"(\S+), level \S*$", row)) else row
                  for row in rows]
        try:
            values = [int(text) for text in scores]
        except ValueError:
            self.table_check = f"the re-read table holds a score that is not a number: {scores}"
            return
        default = [1000, 900, 700, 600, 500, 400, 300, 200, 100, 100]
        if values != sorted(values, reverse=True):
            self.table_check = f"the re-read table is not sorted: {scores}"
        elif self.counts["hiscore_changes"] and values == default:
            self.table_check = "the saved table came back as the built-in one"
        else:
            self.table_check = "ok"
        print(f"  re-read scores: {' '.join(s.strip() for s in scores)}")

    def report(self, failure):
        print(f"soak: {self.duration / 60:.1f} minutes, seed {self.seed}")
        for key, value in self.counts.items():
            print(f"  {key:20} {value}")
        print(f"  {'question 11 seen':20} {self.question_eleven_seen}")
        for label, at, rss in self.samples:
            print(f"  RSS at {label:5} ({at / 60:5.2f} min): {rss} KiB ({rss / 1024:.1f} MiB)")
        print("  RSS every 30 s (KiB): " + " ".join(str(rss) for _, rss in self.profile))

        print(f"  paces: {' '.join(self.phases)}")
        problems = [failure] if failure else []
        if self.table_check not in (None, "ok"):
            problems.append(self.table_check)
        err = self.program.stderr_text()
        warnings = [line for line in err.splitlines() if EVENT_LOOP_WARNING.search(line)]
        if warnings:
            problems.append("warnings about the event loop:\n    " + "\n    ".join(warnings[:20]))
        other = [line for line in err.splitlines() if line.strip() and line not in warnings]
        if other:
            print(f"  other stderr lines ({len(other)}):")
            for line in other[:20]:
                print(f"    {line[:200]}")

        marks = {label: (at, rss) for label, at, rss in self.samples}
        if "4/10" in marks and "end" in marks:
            at4, rss4 = marks["4/10"]
            growth = marks["end"][1] - rss4
            print(f"  RSS growth from 4/10 to end: {growth} KiB (limit {GROWTH_LIMIT_KIB} KiB)")
            if at4 >= SETTLED_AFTER_SECONDS and growth > GROWTH_LIMIT_KIB:
                problems.append(f"resident memory grew by {growth} KiB after {at4 / 60:.1f} min")
            elif at4 < SETTLED_AFTER_SECONDS:
                print("  (the memory limit applies to runs of ten minutes or more)")
        if problems:
            for problem in problems:
                print(f"FAIL: {problem}")
            return 1
        print("PASS")
        return 0


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    minutes = float(sys.argv[2]) if len(sys.argv) > 2 else 10.0
    chosen = sys.argv[3] if len(sys.argv) > 3 else "-"
    seed = random.randrange(1 << 30) if chosen in ("", "-") else int(chosen)
    reason = ui.missing_desktop()
    if reason:
        print(f"SKIP: {reason}")
        return ui.SKIP
    soak = Soak(sys.argv[1], minutes, seed, sys.argv[4] if len(sys.argv) > 4 else None)
    failure = None
    try:
        soak.run()
    except Stop as stop:
        failure = str(stop)
    except ui.DriverError as error:
        failure = str(error)
    except GLib.GError as error:
        failure = f"the accessibility bus failed: {error.message}"
    finally:
        crashed = not soak.program.running()
        if crashed and failure is None:
            failure = f"the program ended with status {soak.program.process.returncode}"
        if soak.program.process.returncode is not None and soak.program.process.returncode < 0:
            failure = failure or "crash"
        result = soak.report(failure)
        soak.program.stop(keep_scratch=result != 0)
        if result != 0:
            print(f"  the run's folder is kept: {soak.program.scratch}")
    return result


if __name__ == "__main__":
    sys.exit(main())
