#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Brightsum against the floor program, side by side, under a private X server.

Runs both programs alternately with BRIGHTSUM_TRACE=1 and measures, from the outside (/proc,
X map events) and from their timing marks on stderr:
  1. exec to mapped, exec to first paint, CPU used by the first paint;
  2. peak resident memory, resident memory after the idle stretch, threads;
  3. CPU during the idle animation;
then drives one Brightsum game with xdotool for
  4. CPU during the one-second pauses after wrong answers and time-outs;
  5. the length of unanswered questions and the timing of the decay ticks;
  6. the time from a click on a board button to the button painted green;
and last, as on a slow disk,
  7. exec to first paint with every flush (fsync, fdatasync) held up 50 ms by strace's fault
     injection, with the flushes counted (--only-slow-flush measures just this).
Prints medians and ratios and appends every figure as one JSON line to a results file.

Expects DISPLAY (Xvfb, no window manager) and PULSE_SERVER to be set: scripts/bench.sh starts
them. Uses only the standard library; X map events come from libX11 through ctypes.
"""

import argparse
import ctypes
import datetime
import json
import os
import select
import statistics
import subprocess
import sys
import tempfile
import threading
import time
import wave

NS = 1_000_000_000
CLK_TCK = os.sysconf("SC_CLK_TCK")

# Board geometry in pixels of the client area below the menu bar: six columns of 73 x 33
# buttons, 80 px apart, from (16, 72); rows 40 px apart.
CLIENT_HEIGHT = 350


def now_ns():
    return time.monotonic_ns()


def sleep_until(deadline_ns):
    while True:
        left = deadline_ns - now_ns()
        if left <= 0:
            return
        time.sleep(left / NS)


# ---------------------------------------------------------------------------------------------
# /proc


def proc_cpu_ticks(pid):
    """utime + stime of the whole process, in clock ticks."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def proc_cpu_ns(pid):
    """CPU time of all live threads, in nanoseconds (schedstat is exact; stat counts ticks)."""
    total = 0
    task_dir = f"/proc/{pid}/task"
    for tid in os.listdir(task_dir):
        try:
            with open(f"{task_dir}/{tid}/schedstat") as f:
                total += int(f.read().split()[0])
        except (FileNotFoundError, ProcessLookupError):
            pass
    return total


def proc_status(pid):
    values = {}
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            key, _, rest = line.partition(":")
            if key in ("VmHWM", "VmRSS", "Threads"):
                values[key] = int(rest.split()[0])
    return values


# x86-64 numbers of the calls a start-up can block in.
SYSCALL_NAMES = {0: "read", 1: "write", 7: "poll", 23: "select", 42: "connect", 45: "recvfrom",
                 47: "recvmsg", 74: "fsync", 75: "fdatasync", 82: "rename", 202: "futex",
                 232: "epoll_wait", 257: "openat", 270: "pselect6", 271: "ppoll"}


def blocked_in(pid):
    """What the main thread is doing right now: the system call it waits in, or running."""
    try:
        with open(f"/proc/{pid}/syscall") as f:
            fields = f.read().split()
        with open(f"/proc/{pid}/wchan") as f:
            wchan = f.read().strip() or "-"
    except OSError:
        return None
    if not fields or fields[0] == "running":
        return "running"
    if fields[0] == "-1":
        return "user code"
    number = int(fields[0])
    return f"{SYSCALL_NAMES.get(number, number)}/{wchan}"


# ---------------------------------------------------------------------------------------------
# X: map events of top-level windows, read as they happen


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("pad", ctypes.c_long * 24)]


class MapWatcher:
    """Records (time, window) for every top-level window mapped on the display's root."""

    MAP_NOTIFY = 19
    SUBSTRUCTURE_NOTIFY_MASK = 1 << 19

    def __init__(self):
        x = ctypes.CDLL("libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        x.XPending.argtypes = [ctypes.c_void_p]
        x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
        x.XFlush.argtypes = [ctypes.c_void_p]
        self._x = x
        self._dpy = x.XOpenDisplay(None)
        if not self._dpy:
            raise RuntimeError("cannot open the X display " + os.environ.get("DISPLAY", "?"))
        x.XSelectInput(self._dpy, x.XDefaultRootWindow(self._dpy), self.SUBSTRUCTURE_NOTIFY_MASK)
        x.XFlush(self._dpy)
        self._fd = x.XConnectionNumber(self._dpy)
        self._maps = []
        self._cond = threading.Condition()
        threading.Thread(target=self._run, daemon=True).start()

    def _run(self):
        event = XEvent()
        while True:
            select.select([self._fd], [], [], 0.5)
            while self._x.XPending(self._dpy):
                self._x.XNextEvent(self._dpy, ctypes.byref(event))
                stamp = now_ns()
                if event.type != self.MAP_NOTIFY:
                    continue
                # XMapEvent: type, serial, send_event, display, event, window, override_redirect
                raw = ctypes.cast(ctypes.byref(event), ctypes.POINTER(ctypes.c_ulong))
                window = raw[5]
                override_redirect = raw[6] & 0xFFFFFFFF
                if override_redirect:
                    continue
                with self._cond:
                    self._maps.append((stamp, window))
                    self._cond.notify_all()

    def wait_map(self, after_ns, timeout_s=15):
        deadline = time.monotonic() + timeout_s
        with self._cond:
            while True:
                for stamp, window in self._maps:
                    if stamp >= after_ns:
                        return stamp, window
                left = deadline - time.monotonic()
                if left <= 0:
                    return None, None
                self._cond.wait(left)


# ---------------------------------------------------------------------------------------------
# A traced program


class Traced:
    """A program started with BRIGHTSUM_TRACE=1; its marks are collected as they arrive."""

    def __init__(self, path, name, wrapper=()):
        self.name = name
        env = dict(os.environ)
        env["BRIGHTSUM_TRACE"] = "1"
        env.pop("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", None)
        env.pop("QT_ACCESSIBILITY", None)
        self.marks = []  # (what, ns, detail)
        self.other = []
        self.first_paint_proc_ticks = None
        self._cond = threading.Condition()
        self.exec_ns = now_ns()
        self.proc = subprocess.Popen([*wrapper, path], env=env, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.pid = self.proc.pid
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for raw in self.proc.stderr:
            line = raw.decode("utf-8", "replace").rstrip("\n")
            parts = line.split(" ", 2)
            if len(parts) >= 2 and parts[1].isdigit():
                what, stamp = parts[0], int(parts[1])
                detail = parts[2] if len(parts) > 2 else ""
                if what == "first-paint":
                    # As close to the paint as an outside reader gets.
                    try:
                        self.first_paint_proc_ticks = proc_cpu_ticks(self.pid)
                    except OSError:
                        pass
                with self._cond:
                    self.marks.append((what, stamp, detail))
                    self._cond.notify_all()
            else:
                self.other.append(line)

    def wait_first_paint(self, slow_ms=200):
        """The first-paint mark. A start-up slower than slow_ms is sampled every 10 ms for the
        call its main thread waits in, so that an outlier shows what held it up."""
        try:
            return self.wait_mark("first-paint", timeout_s=slow_ms / 1000), {}
        except RuntimeError:
            if self.proc.poll() is not None:
                raise
        samples = {}
        while True:
            try:
                return self.wait_mark("first-paint", timeout_s=0.01), samples
            except RuntimeError:
                if self.proc.poll() is not None or now_ns() - self.exec_ns > 15 * NS:
                    raise
            state = blocked_in(self.pid)
            if state:
                samples[state] = samples.get(state, 0) + 1

    def wait_mark(self, what, after_ns=0, detail=None, timeout_s=15):
        """The first mark named what (one of several names, when a tuple) at or after after_ns."""
        names = what if isinstance(what, tuple) else (what,)
        deadline = time.monotonic() + timeout_s
        with self._cond:
            while True:
                for mark in self.marks:
                    if mark[0] in names and mark[1] >= after_ns and (
                            detail is None or mark[2] == detail):
                        return mark
                left = deadline - time.monotonic()
                if left <= 0 or self.proc.poll() is not None:
                    raise RuntimeError(f"{self.name}: no '{'/'.join(names)}' mark; "
                                       f"stderr: {self.other[-5:]}")
                self._cond.wait(min(left, 0.5))

    def marks_between(self, what, start_ns, end_ns):
        with self._cond:
            return [m for m in self.marks if m[0] == what and start_ns <= m[1] <= end_ns]

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()


# ---------------------------------------------------------------------------------------------
# 1 to 3: start-up, memory, idle CPU


def startup_run(path, name, watcher, idle_s):
    program = Traced(path, name)
    try:
        (_, paint_ns, detail), stalls = program.wait_first_paint()
        map_ns, _ = watcher.wait_map(program.exec_ns)
        cpu_at_paint_ns = int(detail.split("=", 1)[1]) if detail.startswith("cpu=") else None
        # The idle stretch starts one second after the first paint, when start-up is over.
        start_ns = paint_ns + 1 * NS
        sleep_until(start_ns)
        cpu0, t0 = proc_cpu_ns(program.pid), now_ns()
        sleep_until(t0 + idle_s * NS)
        cpu1, t1 = proc_cpu_ns(program.pid), now_ns()
        status = proc_status(program.pid)
        return {
            "mapped_ms": (map_ns - program.exec_ns) / 1e6 if map_ns else None,
            "first_paint_ms": (paint_ns - program.exec_ns) / 1e6,
            "startup_cpu_ms": program.first_paint_proc_ticks * 1000 / CLK_TCK
            if program.first_paint_proc_ticks is not None else None,
            "startup_cpu_exact_ms": cpu_at_paint_ns / 1e6 if cpu_at_paint_ns else None,
            "peak_rss_mb": status["VmHWM"] / 1024,
            "idle_rss_mb": status["VmRSS"] / 1024,
            "threads": status["Threads"],
            "idle_cpu_pct": 100.0 * (cpu1 - cpu0) / (t1 - t0),
            # 10 ms samples of the main thread's state, taken only after the first 200 ms.
            "slow_start_samples": stalls,
        }
    finally:
        program.stop()


# ---------------------------------------------------------------------------------------------
# 4 to 6: one game of Brightsum, driven with xdotool


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True, timeout=15,
                   stdout=subprocess.DEVNULL)


def window_height(window):
    out = subprocess.run(["xwininfo", "-id", str(window)], check=True, capture_output=True,
                         text=True, timeout=15).stdout
    for line in out.splitlines():
        if line.strip().startswith("Height:"):
            return int(line.split(":")[1])
    raise RuntimeError("no window height")


def button_centre(index, menu_bar):
    column, row = index % 6, index // 6
    return 16 + 80 * column + 36, menu_bar + 72 + 40 * row + 16


def start_game(game, window):
    """Subtraction, level 5: a random pair of board buttons is rarely the answer."""
    before = now_ns()
    xdotool("windowfocus", "--sync", window)
    xdotool("key", "alt+s")
    time.sleep(0.3)
    xdotool("key", "5")
    return game.wait_mark("question-start", before)


def pause_cpu(game, cue_ns):
    """CPU over the pause that starts at cue_ns, from 50 ms in to 50 ms before its end."""
    sleep_until(cue_ns + 50_000_000)
    cpu0, t0 = proc_cpu_ns(game.pid), now_ns()
    sleep_until(cue_ns + 950_000_000)
    cpu1, t1 = proc_cpu_ns(game.pid), now_ns()
    return 100.0 * (cpu1 - cpu0) / (t1 - t0)


def click(game, window, menu_bar, index):
    """Clicks board button index; returns the stages from the press to the paint in green."""
    name = f"Cmd_Number_{index}"
    before = now_ns()
    x, y = button_centre(index, menu_bar)
    xdotool("mousemove", "--window", window, x, y, "click", "1")
    _, press_ns, _ = game.wait_mark("press", before, name)
    _, green_ns, _ = game.wait_mark("paint-green", press_ns, name)
    _, cue_ns, _ = game.wait_mark("cue", press_ns, "select.wav")
    _, end_ns, _ = game.wait_mark("cue-end", cue_ns, "select.wav")
    return {
        "press_ns": press_ns,
        "press_to_green_ms": (green_ns - press_ns) / 1e6,
        "xdotool_to_green_ms": (green_ns - before) / 1e6,
        "press_to_cue_ms": (cue_ns - press_ns) / 1e6,
        "cue_to_end_ms": (end_ns - cue_ns) / 1e6,
        "end_to_green_ms": (green_ns - end_ns) / 1e6,
    }


def game_run(path, watcher, pauses, questions):
    game = Traced(path, "brightsum")
    try:
        game.wait_mark("first-paint")
        _, window = watcher.wait_map(game.exec_ns)
        menu_bar = window_height(window) - CLIENT_HEIGHT
        time.sleep(1)
        start_game(game, window)
        time.sleep(0.5)

        clicks = []
        wrong_pause_cpu, right_pause_cpu = [], []
        pairs = [(i, i + 1) for i in range(0, 36, 2)]
        attempt = 0
        while len(wrong_pause_cpu) < pauses and attempt < 4 * pauses:
            first, second = pairs[attempt % len(pairs)]
            attempt += 1
            for index in (first, second):
                if index == second:
                    time.sleep(0.15)
                clicks.append(click(game, window, menu_bar, index))
            what, cue_ns, detail = game.wait_mark("cue", clicks[-1]["press_ns"], None)
            while detail not in ("bad.wav", "good.wav"):
                what, cue_ns, detail = game.wait_mark("cue", cue_ns + 1, None)
            (wrong_pause_cpu if detail == "bad.wav" else right_pause_cpu).append(
                pause_cpu(game, cue_ns))
            sleep_until(cue_ns + 1_300_000_000)

        # Unanswered questions, each from a fresh start with nothing clicked.
        lengths, tick_offsets_ms, timeout_pause_cpu = [], [], []
        if questions > 0:
            _, start_ns, _ = start_game(game, window)
        for _ in range(questions):
            _, cue_ns, _ = game.wait_mark("cue", start_ns, "timeup.wav", timeout_s=30)
            ticks = game.marks_between("tick", start_ns, cue_ns)
            lengths.append((cue_ns - start_ns) / NS)
            for k, tick in enumerate(ticks, start=1):
                tick_offsets_ms.append((tick[1] - start_ns - k * NS) / 1e6)
            timeout_pause_cpu.append(pause_cpu(game, cue_ns))
            _, start_ns, _ = game.wait_mark("question-start", cue_ns, timeout_s=5)
        stages = ["press_to_green_ms", "xdotool_to_green_ms", "press_to_cue_ms",
                  "cue_to_end_ms", "end_to_green_ms"]
        return {
            **{key: [c[key] for c in clicks] for key in stages},
            "wrong_pause_cpu_pct": wrong_pause_cpu,
            "right_pause_cpu_pct": right_pause_cpu,
            "timeout_pause_cpu_pct": timeout_pause_cpu,
            "question_s": lengths,
            "tick_offset_ms": tick_offsets_ms,
        }
    finally:
        game.stop()


def sink_latency_ms():
    """The configured latency of the sound server's sink, which a waited cue waits out."""
    try:
        out = subprocess.run(["pactl", "list", "sinks"], capture_output=True, text=True,
                             timeout=15).stdout
    except OSError:
        return None
    for line in out.splitlines():
        if "configured" in line and line.strip().startswith("Latency:"):
            return int(line.split("configured")[1].split()[0]) / 1000
    return None


def low_latency_clicks(path, watcher, reader_ms, pauses):
    """The click measurement again while a reader holds the sink at reader_ms."""
    reader = subprocess.Popen(["parec", f"--latency-msec={reader_ms}", "-d", "nullsink.monitor",
                               "--raw"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(2.1)  # the sink settles on the new latency
        latency = sink_latency_ms()
        result = game_run(path, watcher, pauses, 0)
        result["sink_latency_ms"] = latency
        return result
    finally:
        reader.terminate()
        reader.wait()


# ---------------------------------------------------------------------------------------------
# The memory plateau: both programs side by side for minutes


def plateau_run(paths, seconds):
    programs = [Traced(path, name) for name, path in paths.items()]
    try:
        for program in programs:
            program.wait_mark("first-paint")
        samples = {program.name: [] for program in programs}
        start = now_ns()
        step = 30
        for t in range(step, seconds + 1, step):
            sleep_until(start + t * NS)
            for program in programs:
                samples[program.name].append(proc_status(program.pid)["VmRSS"] / 1024)
        return samples
    finally:
        for program in programs:
            program.stop()


# ---------------------------------------------------------------------------------------------
# Report


def median(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else None


def fmt(value, digits=1):
    return "-" if value is None else f"{value:.{digits}f}"


def ratio(a, b):
    return a / b if a is not None and b else None


# Every flush of the program and its threads held up 50 ms on its way back, as on a slow disk.
SLOW_FLUSH = ["strace", "-f", "-o", "/dev/null", "-e", "inject=fsync,fdatasync:delay_exit=50000"]


def stop_traced_child(program):
    """Ends the program that strace started (strace then ends with it)."""
    try:
        with open(f"/proc/{program.pid}/task/{program.pid}/children") as f:
            children = [int(pid) for pid in f.read().split()]
    except OSError:
        children = []
    for pid in children:
        try:
            os.kill(pid, 15)
        except ProcessLookupError:
            pass
    try:
        program.proc.wait(5)
    except subprocess.TimeoutExpired:
        pass
    program.stop()


def slow_flush_run(path):
    """Exec to first paint, in ms, with every flush held up 50 ms."""
    program = Traced(path, "brightsum", wrapper=SLOW_FLUSH)
    try:
        (_, paint_ns, _), _ = program.wait_first_paint(slow_ms=15000)
        return (paint_ns - program.exec_ns) / 1e6
    finally:
        stop_traced_child(program)


def flushes_at_start(path):
    """How many flushes one start-up makes, up to a second after its first paint."""
    handle, log = tempfile.mkstemp(prefix="brightsum-flushes.")
    os.close(handle)
    program = Traced(path, "brightsum",
                     wrapper=["strace", "-f", "-o", log, "-e", "trace=fsync,fdatasync"])
    try:
        (_, paint_ns, _), _ = program.wait_first_paint(slow_ms=15000)
        sleep_until(paint_ns + 1 * NS)
    finally:
        stop_traced_child(program)
    try:
        with open(log) as f:
            return sum(1 for line in f if "fsync(" in line or "fdatasync(" in line)
    finally:
        os.remove(log)


def slow_flush_section(path, runs):
    """Median exec to first paint with slow flushes, after a warm-up start that leaves the
    program folder as every later start finds it."""
    slow_flush_run(path)
    times = []
    for number in range(1, runs + 1):
        times.append(slow_flush_run(path))
        print(f"run {number}    brightsum with 50 ms flushes: first paint {fmt(times[-1])} ms",
              flush=True)
    return {"first_paint_ms": median(times), "per_run_ms": times,
            "flushes_at_start": flushes_at_start(path)}


def print_slow_flush(slow):
    print(f"7. exec to first paint, each flush slowed 50 ms (ms): median "
          f"{fmt(slow['first_paint_ms'])} over {len(slow['per_run_ms'])} runs; "
          f"{slow['flushes_at_start']} flushes at start-up")


def git_commit(folder):
    try:
        return subprocess.run(["git", "-C", folder, "rev-parse", "--short", "HEAD"],
                              capture_output=True, text=True, timeout=10).stdout.strip()
    except OSError:
        return ""


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--brightsum", required=True)
    parser.add_argument("--floor", required=True)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--idle", type=int, default=10, help="seconds of idle animation")
    parser.add_argument("--pauses", type=int, default=6, help="wrong answers to time")
    parser.add_argument("--questions", type=int, default=3, help="unanswered questions to time")
    parser.add_argument("--low-latency", type=int, default=5,
                        help="repeat the clicks with the sink held at this many ms (0: skip)")
    parser.add_argument("--plateau", type=int, default=0,
                        help="also run both side by side this many seconds for the RSS plateau")
    parser.add_argument("--slow-flush", type=int, default=5,
                        help="start-ups to time with every flush slowed 50 ms (0: skip)")
    parser.add_argument("--only-slow-flush", action="store_true",
                        help="measure only the start-ups with slow flushes")
    parser.add_argument("--commit", help="the commit the measured program was built from "
                        "(default: this script's tree)")
    parser.add_argument("--sound-server", default="pulseaudio",
                        help="the desktop's sound server, for the record (scripts/bench.sh "
                        "starts it)")
    parser.add_argument("--results", required=True, help="JSON lines file to append to")
    args = parser.parse_args()
    # The tree as built for this run; other commits may land while it runs.
    commit = args.commit or git_commit(os.path.dirname(os.path.abspath(__file__)))

    if args.only_slow_flush:
        load_before = os.getloadavg()
        slow = slow_flush_section(args.brightsum, max(args.slow_flush, 1))
        load_after = os.getloadavg()
        print()
        print_slow_flush(slow)
        print(f"   load average {load_before[0]:.2f} before, {load_after[0]:.2f} after")
        record = {
            "time": datetime.datetime.now(datetime.timezone.utc).isoformat(timespec="seconds"),
            "commit": commit,
            "cores": os.cpu_count(),
            "load": [round(load_before[0], 2), round(load_after[0], 2)],
            "slow_flush": slow,
        }
        with open(args.results, "a") as out:
            out.write(json.dumps(record, sort_keys=True) + "\n")
        print(f"\nappended to {args.results}")
        return 0

    select_s = None
    select_path = os.path.join(os.path.dirname(args.brightsum), "select.wav")
    with wave.open(select_path) as w:
        select_s = w.getnframes() / w.getframerate()

    watcher = MapWatcher()
    load_before = os.getloadavg()
    programs = {"brightsum": args.brightsum, "floor": args.floor}
    runs = {name: [] for name in programs}
    for round_number in range(args.runs + 1):
        for name, path in programs.items():
            result = startup_run(path, name, watcher, args.idle)
            label = "warm-up" if round_number == 0 else f"run {round_number}"
            print(f"{label:8} {name:9} mapped {fmt(result['mapped_ms'])} ms, first paint "
                  f"{fmt(result['first_paint_ms'])} ms, cpu {fmt(result['startup_cpu_exact_ms'])}"
                  f" ms, peak {fmt(result['peak_rss_mb'])} MB, idle rss "
                  f"{fmt(result['idle_rss_mb'])} MB, {result['threads']} threads, idle cpu "
                  f"{fmt(result['idle_cpu_pct'], 2)} %", flush=True)
            if result["slow_start_samples"]:
                print(f"         slow start, main thread every 10 ms after 200 ms: "
                      f"{result['slow_start_samples']}", flush=True)
            if round_number > 0:
                runs[name].append(result)

    print("game run: wrong answers, then unanswered questions ...", flush=True)
    game = game_run(args.brightsum, watcher, args.pauses, args.questions)
    game["sink_latency_ms"] = sink_latency_ms()
    low = None
    if args.low_latency > 0:
        print(f"clicks again with the sink held at {args.low_latency} ms ...", flush=True)
        low = low_latency_clicks(args.brightsum, watcher, args.low_latency, 3)

    plateau = plateau_run(programs, args.plateau) if args.plateau > 0 else None
    slow = None
    if args.slow_flush > 0:
        print("start-ups with every flush slowed 50 ms ...", flush=True)
        slow = slow_flush_section(args.brightsum, args.slow_flush)
    load_after = os.getloadavg()

    keys = ["mapped_ms", "first_paint_ms", "startup_cpu_ms", "startup_cpu_exact_ms",
            "peak_rss_mb", "idle_rss_mb", "threads", "idle_cpu_pct"]
    med = {name: {k: median([r[k] for r in runs[name]]) for k in keys} for name in programs}
    b, f = med["brightsum"], med["floor"]
    ratios = {k: ratio(b[k], f[k]) for k in keys}

    green = median(game["press_to_green_ms"])
    green_max = max(game["press_to_green_ms"]) if game["press_to_green_ms"] else None
    green_goal = select_s * 1000 + 20
    tick_abs = [abs(x) for x in game["tick_offset_ms"]]
    pause_all = game["wrong_pause_cpu_pct"] + game["right_pause_cpu_pct"] \
        + game["timeout_pause_cpu_pct"]

    goals = {
        "mapped_within_30ms": b["mapped_ms"] - f["mapped_ms"] <= 30,
        "first_paint_within_30ms": b["first_paint_ms"] - f["first_paint_ms"] <= 30,
        "startup_cpu_at_most_1_5x": b["startup_cpu_exact_ms"] <= 1.5 * f["startup_cpu_exact_ms"],
        "idle_rss_within_8mb": b["idle_rss_mb"] - f["idle_rss_mb"] <= 8,
        "threads_at_most_floor": b["threads"] <= f["threads"],
        "idle_cpu_within_0_3": b["idle_cpu_pct"] - f["idle_cpu_pct"] <= 0.3,
        "pause_cpu_at_most_2pct": bool(pause_all) and max(pause_all) <= 2.0,
        "question_23s_20ms": bool(game["question_s"])
        and all(abs(s - 23.0) <= 0.02 for s in game["question_s"]),
        "ticks_within_10ms": bool(tick_abs) and max(tick_abs) <= 10.0,
        "click_to_green": green_max is not None and green_max <= green_goal,
    }
    if low:
        goals["click_to_green_low_latency"] = max(low["press_to_green_ms"]) <= green_goal
    if plateau:
        goals["plateau_rss_within_8mb"] = plateau["brightsum"][-1] - plateau["floor"][-1] <= 8

    def row(label, key, digits=1, goal=""):
        print(f"{label:34} {fmt(b[key], digits):>10} {fmt(f[key], digits):>10} "
              f"{fmt(ratios[key], 2):>7}   {goal}")

    def met(key):
        return "met" if goals[key] else "MISSED"

    print()
    print(f"Brightsum against the floor: medians of {args.runs} runs each, alternating, after a "
          f"warm-up; load average {load_before[0]:.2f} before, {load_after[0]:.2f} after")
    print(f"{'':34} {'Brightsum':>10} {'floor':>10} {'ratio':>7}   goal")
    row("1. exec to mapped (ms)", "mapped_ms", goal=f"floor + 30: {met('mapped_within_30ms')}")
    row("   exec to first paint (ms)", "first_paint_ms",
        goal=f"floor + 30: {met('first_paint_within_30ms')}")
    row("   CPU by first paint (ms)", "startup_cpu_exact_ms",
        goal=f"1.5 x floor: {met('startup_cpu_at_most_1_5x')}")
    row("   same, /proc utime+stime (ms)", "startup_cpu_ms")
    row("2. peak RSS (MB)", "peak_rss_mb")
    row(f"   RSS after {args.idle} s idle (MB)", "idle_rss_mb",
        goal=f"floor + 8: {met('idle_rss_within_8mb')}")
    row("   threads", "threads", 0, goal=f"floor's: {met('threads_at_most_floor')}")
    row(f"3. idle CPU over {args.idle} s (% of a core)", "idle_cpu_pct", 2,
        goal=f"floor + 0.3: {met('idle_cpu_within_0_3')}")
    if plateau:
        print(f"   RSS side by side every 30 s (MB): brightsum "
              f"{' '.join(fmt(v) for v in plateau['brightsum'])}")
        print(f"{'':36}floor     {' '.join(fmt(v) for v in plateau['floor'])}")
        print(f"{'':36}floor + 8 at {args.plateau} s: {met('plateau_rss_within_8mb')}")
    print()
    print("Brightsum alone, one game driven with xdotool:")

    def series(values, digits=2):
        return " ".join(fmt(v, digits) for v in values)

    print(f"4. CPU in wrong-answer pauses (%): {series(game['wrong_pause_cpu_pct'])}")
    if game["right_pause_cpu_pct"]:
        print(f"   CPU in right-answer pauses (%): {series(game['right_pause_cpu_pct'])}")
    print(f"   CPU in time-out pauses (%):     {series(game['timeout_pause_cpu_pct'])}")
    print(f"   goal at most 2 % of a core:      {met('pause_cpu_at_most_2pct')}")
    print(f"5. unanswered question (s):        {series(game['question_s'], 4)}"
          f"   goal 23.00 +- 0.02: {met('question_23s_20ms')}")
    print(f"   decay ticks from whole seconds:  median |x| {fmt(median(tick_abs), 2)} ms, "
          f"max |x| {fmt(max(tick_abs) if tick_abs else None, 2)} ms over {len(tick_abs)}"
          f"   goal 10 ms: {met('ticks_within_10ms')}")
    def stages(result):
        return (f"press to cue {fmt(median(result['press_to_cue_ms']), 2)}, cue to its end "
                f"{fmt(median(result['cue_to_end_ms']), 2)}, end to green paint "
                f"{fmt(median(result['end_to_green_ms']), 2)}")

    print(f"6. press to green (ms):            median {fmt(green)}, max {fmt(green_max)} over "
          f"{len(game['press_to_green_ms'])}; select.wav {select_s * 1000:.1f} ms, sink latency "
          f"{fmt(game['sink_latency_ms'])} ms   goal {green_goal:.1f}: {met('click_to_green')}")
    print(f"   sound server:                    {args.sound_server}")
    print(f"   medians of its stages (ms):      {stages(game)}")
    print(f"   xdotool start to green (ms):     median {fmt(median(game['xdotool_to_green_ms']))}")
    if low:
        print(f"   with the sink at {fmt(low['sink_latency_ms'])} ms:         median "
              f"{fmt(median(low['press_to_green_ms']))}, max {fmt(max(low['press_to_green_ms']))}"
              f" over {len(low['press_to_green_ms'])}   goal {green_goal:.1f}: "
              f"{met('click_to_green_low_latency')}")
        print(f"   medians of its stages (ms):      {stages(low)}")
    if slow:
        print()
        print_slow_flush(slow)

    record = {
        "time": datetime.datetime.now(datetime.timezone.utc).isoformat(timespec="seconds"),
        "commit": commit,
        "cores": os.cpu_count(),
        "load": [round(load_before[0], 2), round(load_after[0], 2)],
        "runs": args.runs,
        "idle_s": args.idle,
        "brightsum": b,
        "floor": f,
        "ratio": ratios,
        "per_run": runs,
        "game": game,
        "game_low_latency": low,
        "select_wav_ms": select_s * 1000,
        "sound_server": args.sound_server,
        "plateau_rss_mb": plateau,
        "slow_flush": slow,
        "goals": goals,
    }
    with open(args.results, "a") as out:
        out.write(json.dumps(record, sort_keys=True) + "\n")
    print(f"\nappended to {args.results}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
