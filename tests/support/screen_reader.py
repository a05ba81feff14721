# SPDX-License-Identifier: GPL-3.0-or-later
"""Orca, the real screen reader, on the test desktop, and what it says.

Orca writes every utterance to its debug output as "SPEECH OUTPUT: '...'"; no synthesiser is
needed. Traps this module keeps out of the tests:
- Orca 43 refuses to start while another "orca" of the same user runs anywhere on the machine
  (another test run, a desktop session): we wait for it, then give up with a reason.
- Its debug file is block-buffered and a stopped Orca loses the tail, so its output goes to a
  pseudo-terminal, which Python writes line by line, and is read as it comes.
- speech-dispatcher refuses to start without a sound device and, started with --run-single,
  leaves when its first client does; Orca connects twice while it starts, and the second time
  it would wait on a server that is leaving. It gets its own configuration with ALSA's null
  device and no idle timeout.
- Without a synthesiser speech-dispatcher falls back to its "dummy" module, which answers every
  utterance with a 29-second recording played into the null device at the pace of real time;
  Orca waits on it when it interrupts itself and hangs for many seconds, keys included. The
  one output module here is a silent one (the generic module running "true").
- Key echo would fill the speech with our own key presses: the preferences turn it off.
- Everything Orca and speech-dispatcher write goes under a private HOME and XDG folders, with
  GSETTINGS_BACKEND=memory.
"""

import json
import os
import pty
import re
import shutil
import signal
import socket
import subprocess
import tempfile
import threading
import time

# Seconds. Orca takes 3 to 15 s to start on a busy two-core machine.
START_LIMIT = 60.0
OTHER_ORCA_PATIENCE = 180.0
SPEECH_LIMIT = 20.0

_UTTERANCE = re.compile(r"SPEECH OUTPUT: '(.*)'(?:\{.*\})?\s*$")


class ScreenReaderError(AssertionError):
    pass


def missing():
    """Why Orca cannot run here, or None."""
    for program in ("orca", "speech-dispatcher"):
        if shutil.which(program) is None:
            return f"{program} is not installed (Debian packages orca, speech-dispatcher)"
    if not os.environ.get("XDG_RUNTIME_DIR"):
        return "XDG_RUNTIME_DIR is not set"
    return None


def other_orcas():
    """Orca processes of this user, which would keep ours from starting."""
    found = subprocess.run(["pgrep", "-u", str(os.getuid()), "-x", "orca"],
                           capture_output=True, text=True, check=False).stdout.split()
    return [int(pid) for pid in found]


def wait_for_other_orcas(patience=OTHER_ORCA_PATIENCE):
    """None once no other Orca runs, else the reason to give up."""
    deadline = time.monotonic() + patience
    while True:
        others = other_orcas()
        if not others:
            return None
        if time.monotonic() > deadline:
            return (f"another Orca of this user still runs after {patience:.0f} s "
                    f"(PIDs {others}); Orca 43 allows one per user")
        time.sleep(1.0)


def _answers(address):
    with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as probe:
        try:
            probe.connect(address)
        except OSError:
            return False
    return True


def press(*keys):
    """Real key presses through the X server, as a player makes them, "alt+s" included.

    While a screen reader listens, Qt hands every key to it over the accessibility bus and
    takes it back afterwards; a combination pressed and released within a few milliseconds,
    as "xdotool key alt+s" does, then reaches the window out of order and the menu closes as
    it opens. The modifiers are held down for a moment instead, as fingers do.
    """
    for key in keys:
        *modifiers, last = key.split("+")
        for modifier in modifiers:
            _xdotool("keydown", modifier)
            time.sleep(0.1)
        _xdotool("key", last)
        for modifier in reversed(modifiers):
            time.sleep(0.1)
            _xdotool("keyup", modifier)
        time.sleep(0.15)


def _xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, timeout=30, stdout=subprocess.DEVNULL)


class Orca:
    """One Orca and its speech-dispatcher, started and stopped by this object (by PID)."""

    def __init__(self, log_path):
        self.scratch = tempfile.mkdtemp(prefix="brightsum-orca.")
        self.log_path = log_path
        self._lines = []
        self._lock = threading.Lock()
        self._orca = None
        self._speechd = None
        self._reader = None
        self._master = None
        self.env = self._private_env()

    def _private_env(self):
        home = os.path.join(self.scratch, "home")
        env = dict(os.environ)
        env.update({
            "HOME": home,
            "XDG_CONFIG_HOME": os.path.join(home, "config"),
            "XDG_DATA_HOME": os.path.join(home, "data"),
            "XDG_CACHE_HOME": os.path.join(home, "cache"),
            "GSETTINGS_BACKEND": "memory",
            # Orca's own words (roles, "Screen reader on.") stay English in every run.
            "LANGUAGE": "en",
            "LC_ALL": "C.UTF-8",
        })
        return env

    def start(self):
        config = os.path.join(self.env["XDG_CONFIG_HOME"], "speech-dispatcher")
        os.makedirs(os.path.join(config, "modules"))
        with open(os.path.join(config, "speechd.conf"), "w", encoding="ascii") as conf:
            conf.write('AudioOutputMethod "alsa"\nAudioALSADevice "null"\n'
                       'AddModule "silent" "sd_generic" "silent.conf"\nDefaultModule silent\n')
        with open(os.path.join(config, "modules", "silent.conf"), "w", encoding="ascii") as conf:
            conf.write('GenericExecuteSynth "true"\nAddVoice "en" "MALE1" "silent"\n')
        # The socket where Orca's speech-dispatcher client looks by default.
        socket_dir = os.path.join(os.environ["XDG_RUNTIME_DIR"], "speech-dispatcher")
        os.makedirs(socket_dir, exist_ok=True)
        address = os.path.join(socket_dir, "speechd.sock")
        if os.path.exists(address):
            if _answers(address):
                raise ScreenReaderError(f"a speech-dispatcher already listens at {address}")
            os.remove(address)  # left by one that ended
        self._speechd = subprocess.Popen(
            ["speech-dispatcher", "--run-single", "--timeout", "0", "--communication-method",
             "unix_socket", "--socket-path", address, "--config-dir", config],
            env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        self._wait("speech-dispatcher's socket", lambda: _answers(address), 15.0)

        prefs = os.path.join(self.scratch, "orca")
        os.makedirs(prefs)
        quiet = {"enableKeyEcho": False, "enableEchoByCharacter": False,
                 "enableEchoByWord": False, "enableBraille": False, "enableSound": False}
        with open(os.path.join(prefs, "user-settings.conf"), "w", encoding="ascii") as conf:
            json.dump({"general": quiet,
                       "profiles": {"default": dict(quiet, profile=["Default", "default"])},
                       "pronunciations": {}, "keybindings": {}}, conf)

        self._master, slave = pty.openpty()
        self._orca = subprocess.Popen(
            ["orca", "--debug-file=/dev/stdout", "--user-prefs", prefs], env=self.env,
            stdin=subprocess.DEVNULL, stdout=slave, stderr=slave)
        os.close(slave)
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()
        self.wait_for("Orca to start speaking", lambda said: "Screen reader on." in said,
                      since=0, limit=START_LIMIT)

    def _read(self):
        pending = b""
        with open(self.log_path, "wb") as log:
            while True:
                try:
                    data = os.read(self._master, 65536)
                except OSError:
                    break
                if not data:
                    break
                log.write(data)
                pending += data
                *complete, pending = pending.split(b"\n")
                with self._lock:
                    self._lines.extend(line.decode("utf-8", "replace").rstrip("\r")
                                       for line in complete)

    def _wait(self, what, condition, limit):
        deadline = time.monotonic() + limit
        while not condition():
            if self._orca is not None and self._orca.poll() is not None:
                raise ScreenReaderError(f"Orca ended with {self._orca.returncode} while waiting "
                                        f"for {what}; see {self.log_path}")
            if time.monotonic() > deadline:
                raise ScreenReaderError(f"gave up waiting for {what}")
            time.sleep(0.05)

    def utterances(self):
        """Everything Orca has said so far, one entry an utterance."""
        with self._lock:
            lines = list(self._lines)
        said = []
        for line in lines:
            found = _UTTERANCE.search(line)
            if found:
                said.append(found.group(1))
        return said

    def mark(self):
        """A place in the speech: wait_for(since=mark()) looks only at what comes after."""
        return len(self.utterances())

    def wait_for(self, what, heard, since, limit=SPEECH_LIMIT):
        """The first utterance after `since` for which heard(utterance) holds; heard may also be
        a regular expression. Fails with what was said instead."""
        if isinstance(heard, str):
            pattern = re.compile(heard)
            heard = pattern.search
        found = []

        def condition():
            for text in self.utterances()[since:]:
                if heard(text):
                    found.append(text)
                    return True
            return False

        try:
            self._wait(what, condition, limit)
        except ScreenReaderError as error:
            raise ScreenReaderError(f"{error}; Orca said: {self.utterances()[since:]}") from None
        return found[0]

    def stop(self):
        if self._orca is not None and self._orca.poll() is None:
            self._orca.send_signal(signal.SIGTERM)
            try:
                self._orca.wait(timeout=15)
            except subprocess.TimeoutExpired:
                self._orca.kill()
                self._orca.wait()
        if self._reader is not None:
            self._reader.join(timeout=5)
        if self._master is not None:
            os.close(self._master)
            self._master = None
        if self._speechd is not None and self._speechd.poll() is None:
            self._speechd.terminate()
            try:
                self._speechd.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self._speechd.kill()
                self._speechd.wait()
        shutil.rmtree(self.scratch, ignore_errors=True)
