#!/usr/bin/env python3
"""Runs golden cases against the real launcher under a private X server.

    run.py FILE.case [NAME...]      (only the cases named, if any are)

A case file holds cases; each begins with "case NAME" and gets a fresh work
folder $WORK holding the game directory $GAME and a home folder $HOME. Steps
come one per line; blank lines and lines starting with "#" are skipped. A step
that takes text is followed by its lines and a line holding only ".".

Laying out files (PATH is under $GAME; "~/" means $HOME, "$WORK/" the work folder):
  file [-n] [-e] PATH + text   the text (-n: no line feed at its end;
                               -e: \\t \\r \\n \\0 \\\\ \\xHH escapes)
  touch PATH...  mkdir PATH... empty files, folders
  build FROM [TO]              a file of the build tree (TO defaults to FROM's name)
  source FROM [TO]             a file of the source tree
  copy FROM [TO]               a file beside the case file
  sh COMMAND                   a shell command in $GAME; it must succeed
  use FILE                     the steps of FILE, beside the case file
Running (a case may run several times; each run sees the files of the last):
  start [as USER] [VAR=VALUE | -VAR]... COMMAND [ARG...]
                               COMMAND "launcher" is the build's launcher, run
                               in $GAME; any other command runs in $WORK
  dialog                       wait for the dialog and focus it
  capture                      wait for the console-key window; keys and close
                               go to it until the next dialog
  keys KEY...   type TEXT      keys as xdotool names them, or text typed
  paste + text                 the text put on the clipboard, then Ctrl+V
  close                        ask the window to close, as a window manager does
  signal NAME                  send a signal to the started program
  heard WAV                    wait until the launch sound has played, then check
                               what the audio device got against WAV's samples
  snap NAME                    the window's picture against pictures/NAME.png
  end                          wait for the program to end
Checks, on the last run (a run's standard output must be checked):
  stdout + text   stderr + text   status N   expect [-n] [-e] PATH + text
  absent PATH...                the files do not exist
  cpu N FACTOR                  this run took at most FACTOR times the CPU of run N
Standard error is compared with process ids, times and the work folder's
path taken out of it.
"""
import os
import pwd
import re
import select
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import time

BUILD = os.environ["ORVEK_BUILD"]
SOURCE = os.environ["ORVEK_SOURCE"]
TOOLS = os.environ.get("ORVEK_TOOLS", BUILD)
WAIT = float(os.environ.get("CASE_WAIT", "60"))
CAPTURE_TITLE = "^Console Key \\(ESC to cancel\\)\\?$"
TEXT_STEPS = {"file", "paste", "stdout", "stderr", "expect"}


class Failure(Exception):
    pass


class Skip(Exception):
    pass


def parse(path):
    """[(name, [(line number, words, text or None)])] of the case file."""
    cases, lines, i = [], open(path, encoding="utf-8").read().split("\n"), 0
    while i < len(lines):
        number, line = i + 1, lines[i]
        i += 1
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        verb, _, rest = line.strip().partition(" ")
        if verb == "case":
            cases.append((rest, []))
            continue
        words = [verb] + (shlex.split(rest) if verb not in ("type", "sh") else [rest])
        if not cases:
            cases.append(("", []))  # a file of steps for "use"
        text = None
        if verb in TEXT_STEPS:
            end = lines.index(".", i)
            text, i = "".join(line + "\n" for line in lines[i:end]), end + 1
        cases[-1][1].append((number, words, text))
    return cases


def unescape(text):
    return re.sub(rb"\\(x[0-9a-fA-F]{2}|.)", lambda m: {
        b"t": b"\t", b"r": b"\r", b"n": b"\n", b"0": b"\0", b"\\": b"\\"}.get(
            m.group(1)) or bytes([int(m.group(1)[1:], 16)]), text.encode())


def content(flags, text):
    """The bytes of a step's text: -e reads escapes, -n drops the last line feed."""
    data = unescape(text) if "-e" in flags else text.encode()
    return data[:-1] if "-n" in flags else data


def wait_for(what, condition, timeout=WAIT):
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            raise Failure(f"{what}: not within {timeout:.0f} s")
        time.sleep(0.05)


def xdotool(*args, check=True):
    try:
        result = subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=WAIT)
    except subprocess.TimeoutExpired:
        raise Failure(f"xdotool {' '.join(args)}: no answer within {WAIT:.0f} s")
    if check and result.returncode != 0:
        raise Failure(f"xdotool {' '.join(args)}: {result.stderr.strip()}")
    return result.stdout.split()


class Case:
    def __init__(self, case_dir, display):
        self.case_dir = case_dir
        self.work = tempfile.mkdtemp(prefix="orvek-case-")
        os.chmod(self.work, 0o755)  # an unprivileged player must reach the game
        self.game, self.home = os.path.join(self.work, "game"), os.path.join(self.work, "home")
        os.mkdir(self.game)
        os.mkdir(self.home)
        self.vars = {"WORK": self.work, "GAME": self.game, "HOME": self.home, "DISPLAY": display,
                     "ORVEK_BUILD": BUILD, "ORVEK_SOURCE": SOURCE}
        self.env = dict(os.environ, LC_ALL="C", SDL_AUDIODRIVER="dummy", **self.vars)
        self.process, self.runs, self.window, self.dialog = None, [], None, None
        self.clipboard, self.unchecked = None, False

    def expand(self, text):
        return re.sub(r"\$\{?(\w+)\}?", lambda m: self.vars.get(m.group(1), m.group(0)), text)

    def path(self, name):
        name = self.expand(name)
        if name.startswith("~/"):
            return os.path.join(self.home, name[2:])
        return os.path.join(self.game, name)

    def write(self, name, data):
        target = self.path(name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as out:
            out.write(data)

    def place(self, root, words):
        source = os.path.join(root, self.expand(words[1]))
        target = self.path(words[2] if len(words) > 2 else os.path.basename(words[1]))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy2(source, target)

    # --- running --------------------------------------------------------------

    def start(self, words):
        self.finish_run()
        words, user, env = words[1:], None, dict(self.env)
        if words[0] == "as":
            user, words = words[1], words[2:]
            if os.geteuid() != 0:
                raise Skip(f"running as {user} needs root")
        while "=" in words[0] or words[0].startswith("-"):
            word = words.pop(0)
            if word.startswith("-"):
                env.pop(word[1:], None)
            else:
                name, value = word.split("=", 1)
                env[name] = self.expand(value)
        command = [self.expand(w) for w in words]
        cwd = self.work
        if command[0] == "launcher":
            command[0], cwd = os.path.join(BUILD, "orvek-launcher"), self.game
        if user:
            command = ["setpriv", f"--reuid={user}", f"--regid={pwd.getpwnam(user).pw_gid}",
                       "--init-groups", *command]
        self.out = open(os.path.join(self.work, "stdout"), "wb")
        self.err = open(os.path.join(self.work, "stderr"), "wb")
        self.process = subprocess.Popen(command, cwd=cwd, env=env, stdout=self.out,
                                        stderr=self.err, start_new_session=True)
        self.runs.append({"status": None, "cpu": 0.0})
        self.unchecked, self.window = True, None

    def end(self):
        if not self.process:
            return
        deadline = time.monotonic() + WAIT
        while True:
            pid, status, usage = os.wait4(self.process.pid, os.WNOHANG)
            if pid:
                break
            if time.monotonic() > deadline:
                self.kill()
                raise Failure(f"the program did not end within {WAIT:.0f} s")
            time.sleep(0.02)
        code = os.waitstatus_to_exitcode(status)
        self.runs[-1].update(status=code if code >= 0 else 128 - code,
                             cpu=usage.ru_utime + usage.ru_stime)
        self.process.returncode = code
        self.process = None
        self.out.close()
        self.err.close()

    def kill(self):
        if self.process:
            try:
                os.killpg(self.process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.process.wait()
            self.process = None

    def finish_run(self):
        self.end()
        if self.unchecked:
            raise Failure("the run's standard output was not checked")

    def output(self, name):
        with open(os.path.join(self.work, name), "rb") as f:
            data = f.read().decode("utf-8", "replace")
        if name == "stderr":
            data = re.sub(r"\((\S+?):\d+\): (.*?) \*\*: [\d:.]+: ", r"(\1): \2 **: ", data)
            data = data.replace(self.work, "$WORK")
        return data

    def find_window(self, title):
        found = xdotool("search", "--sync", "--onlyvisible", "--name", title)
        if not found:
            raise Failure(f"no window named {title}")
        return found[0]

    # --- steps ----------------------------------------------------------------

    def step(self, words, text):
        verb = words[0]
        if verb == "file":
            self.write(words[-1], content(words[1:-1], text))
        elif verb == "touch":
            for name in words[1:]:
                self.write(name, b"")
        elif verb == "mkdir":
            for name in words[1:]:
                os.makedirs(self.path(name), exist_ok=True)
        elif verb in ("build", "source", "copy"):
            self.place({"build": BUILD, "source": SOURCE, "copy": self.case_dir}[verb], words)
        elif verb == "use":
            for _, used, used_text in parse(os.path.join(self.case_dir, words[1]))[0][1]:
                self.step(used, used_text)
        elif verb == "sh":
            result = subprocess.run(["sh", "-c", words[1]], cwd=self.game, env=self.env,
                                    capture_output=True, text=True)
            if result.returncode != 0:
                raise Failure(f"sh failed ({result.returncode}): {result.stderr.strip()}")
        elif verb == "start":
            self.start(words)
        elif verb == "dialog":
            wait_for("the capture window to close",
                     lambda: not xdotool("search", "--name", CAPTURE_TITLE, check=False))
            self.window = self.dialog = self.find_window("^Orvek Demo$")
            xdotool("windowfocus", "--sync", self.window)
        elif verb == "capture":
            self.window = self.find_window(CAPTURE_TITLE)
        elif verb == "keys":
            if self.window and self.window != self.dialog:
                xdotool("key", "--window", self.window, *words[1:])
            else:
                xdotool("key", "--clearmodifiers", "--delay", "30", *words[1:])
        elif verb == "type":
            xdotool("type", "--clearmodifiers", "--delay", "30", self.expand(words[1]))
        elif verb == "paste":
            if self.clipboard:
                self.clipboard.kill()
            self.clipboard = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard"],
                                              stdin=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                              stdout=subprocess.DEVNULL, env=self.env)
            self.clipboard.stdin.write(content(words[1:], text))
            self.clipboard.stdin.close()
            time.sleep(0.2)  # xclip takes the selection after reading its input
            xdotool("key", "--clearmodifiers", "ctrl+v")
        elif verb == "close":
            subprocess.run([os.path.join(TOOLS, "wm-delete"), self.window], check=True)
        elif verb == "signal":
            self.process.send_signal(getattr(signal, "SIG" + words[1]))
        elif verb == "heard":
            heard(os.path.join(self.game, words[1]), os.path.join(self.work, "heard.raw"))
        elif verb == "snap":
            self.snap(words[1])
        elif verb == "end":
            self.end()
        else:
            self.check(words, text)

    def check(self, words, text):
        self.end()
        verb, run = words[0], self.runs[-1]
        if verb in ("stdout", "stderr"):
            compare(verb, content(words[1:], text).decode(), self.output(verb))
            self.unchecked &= verb != "stdout"
        elif verb == "status":
            compare("exit status", words[1], str(run["status"]))
        elif verb == "expect":
            data, name = content(words[1:-1], text), words[-1]
            try:
                with open(self.path(name), "rb") as f:
                    actual = f.read()
            except OSError as error:
                raise Failure(f"{name}: {error.strerror}")
            compare(name, data.decode("utf-8", "replace"), actual.decode("utf-8", "replace"))
        elif verb == "absent":
            for name in words[1:]:
                if os.path.lexists(self.path(name)):
                    raise Failure(f"{name} exists")
        elif verb == "cpu":
            base = self.runs[int(words[1]) - 1]["cpu"]
            if run["cpu"] > float(words[2]) * base:
                raise Failure(f"run {len(self.runs)} took {run['cpu']:.2f} s of CPU, more than "
                              f"{words[2]} times the {base:.2f} s of run {words[1]}")
        else:
            raise Failure(f"unknown step {verb}")

    def snap(self, name):
        expected = os.path.join(self.case_dir, "pictures", name + ".png")
        actual = os.path.join(self.work, name + ".png")
        # The window settles after the last key; wait until two pictures agree.
        previous = None
        for _ in range(50):
            subprocess.run(["import", "-window", self.window, actual], check=True)
            with open(actual, "rb") as f:
                picture = f.read()
            if picture == previous:
                break
            previous = picture
            time.sleep(0.1)
        if not os.path.exists(expected):
            os.makedirs(os.path.dirname(expected), exist_ok=True)
            shutil.copy(actual, expected)
            raise Failure(f"{expected} recorded: look at it, then run again")
        result = subprocess.run(["compare", "-metric", "AE", "-fuzz", "10%", expected, actual,
                                 "null:"], capture_output=True, text=True)
        differing = float(result.stderr.split()[0]) if result.returncode < 2 else float("inf")
        if differing > int(os.environ.get("SNAP_TOLERANCE", "40")):
            kept = os.path.join(tempfile.gettempdir(), f"orvek-snap-{name}.png")
            shutil.copy(actual, kept)
            raise Failure(f"picture {name}: {differing:g} pixels differ ({result.stderr.strip()}); "
                          f"this run's picture is {kept}")

    def close(self):
        self.kill()
        if self.clipboard:
            self.clipboard.kill()
        shutil.rmtree(self.work, ignore_errors=True)


def compare(what, expected, actual):
    if expected != actual:
        raise Failure(f"{what} differs\n  expected: {expected!r}\n  actual:   {actual!r}")


def heard(wav_path, raw_path, buffer=4096, silence=0x80):
    """The device got silence while paused, then from the start of a buffer the
    sound's samples once, zero bytes to the end of their last buffer, and only
    silence again after that: one buffer of it at least."""
    with open(wav_path, "rb") as f:
        samples = f.read()[44:]
    padded = -(-len(samples) // buffer) * buffer

    def played():
        try:
            with open(raw_path, "rb") as f:
                raw = f.read()
        except OSError:
            return None
        start = next((i for i, b in enumerate(raw) if b != silence), None)
        return raw if start is not None and len(raw) >= start + padded + buffer else None

    wait_for("the launch sound", lambda: played() is not None)
    raw = played()
    start = next(i for i, b in enumerate(raw) if b != silence)
    compare("where the sound starts, within its buffer", 0, start % buffer)
    compare("the samples played", samples, raw[start:start + len(samples)])
    compare("zero bytes after them", bytes(padded - len(samples)),
            raw[start + len(samples):start + padded])
    compare("silence after the sound", b"", raw[start + padded:].replace(bytes([silence]), b""))


def start_xvfb():
    read, write = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp", "-noreset"], pass_fds=[write],
                            stderr=subprocess.DEVNULL, start_new_session=True)
    os.close(write)
    number = b""
    while not number.endswith(b"\n"):
        if not select.select([read], [], [], WAIT)[0]:
            raise Failure("Xvfb did not start")
        chunk = os.read(read, 16)
        if not chunk:
            raise Failure("Xvfb did not start")
        number += chunk
    os.close(read)
    return xvfb, ":" + number.decode().strip()


def main():
    path, wanted = sys.argv[1], sys.argv[2:]
    cases = [c for c in parse(path) if not wanted or c[0] in wanted]
    xvfb, display = start_xvfb()
    os.environ["DISPLAY"] = display
    failed = skipped = 0
    try:
        for name, steps in cases:
            case = Case(os.path.dirname(os.path.abspath(path)), display)
            try:
                for number, words, text in steps:
                    try:
                        case.step(words, text)
                    except Failure as failure:
                        raise Failure(f"line {number} ({words[0]}): {failure}")
                case.finish_run()
                print(f"ok    {name}")
            except Skip as reason:
                skipped += 1
                print(f"skip  {name}: {reason}")
            except Failure as failure:
                failed += 1
                print(f"FAIL  {name}: {failure}")
            finally:
                case.close()
    finally:
        os.killpg(xvfb.pid, signal.SIGTERM)
        xvfb.wait()
    print(f"{len(cases) - failed - skipped} passed, {failed} failed, {skipped} skipped")
    return 1 if failed else 77 if skipped == len(cases) and cases else 0


if __name__ == "__main__":
    sys.exit(main())
