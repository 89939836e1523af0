#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Kills the launcher with SIGKILL while it saves, trial after trial, and
checks what the player finds afterwards:

    xvfb-run -a tests/kill/killsave.py BUILD [TRIALS]

BUILD is a build folder (its orvek-launcher and plugins/software.ren are
used). Each trial starts the launcher without its dialog in a game directory
whose OrvekLauncher.ini and RezList it rewrites, picks one of the two files,
waits (through inotify) for the temporary file of its save, kills the
launcher after a random delay of up to that file's usual save time, and
checks that each file is whole: its old bytes or its new ones. A run that is
not killed follows, after which the folder may hold no file but its own.
Prints the counts and exits 1 when a check failed.
"""
import ctypes
import os
import random
import select
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import tempfile
import time

IN_CREATE, IN_MOVED_TO = 0x100, 0x80
SAVED = ("OrvekLauncher.ini", "RezList")
OWN = {"custom", "software.ren", *SAVED}  # anything else in the folder is a stray file
OLD_LIST, NEW_LIST = b"b.rez\ngone.rez\n", b"b.rez\n"


def old_ini(trial):
    """A hand-made file, not yet in the launcher's layout, so that the old
    and the new bytes differ in every trial."""
    return f"[RezFiles]\nAlwaysLoad=Yes\n[Campaign]\nTrial={trial}\n".encode()


class Watch:
    """Names created in (or renamed into) a folder, as inotify reports them."""

    def __init__(self, folder):
        libc = ctypes.CDLL(None, use_errno=True)
        self.fd = libc.inotify_init1(os.O_NONBLOCK | os.O_CLOEXEC)
        if self.fd < 0 or libc.inotify_add_watch(self.fd, folder.encode(), IN_CREATE | IN_MOVED_TO) < 0:
            sys.exit("inotify: " + os.strerror(ctypes.get_errno()))

    def events(self, timeout):
        """[(mask, name)] within `timeout` seconds ([] when none came)."""
        if not select.select([self.fd], [], [], timeout)[0]:
            return []
        data, found = os.read(self.fd, 65536), []
        while data:
            _, mask, _, length = struct.unpack("iIII", data[:16])
            found.append((mask, data[16:16 + length].rstrip(b"\0").decode()))
            data = data[16 + length:]
        return found

    def drain(self):
        while self.events(0):
            pass


class Campaign:
    def __init__(self, build):
        self.launcher = os.path.abspath(os.path.join(build, "orvek-launcher"))
        self.work = tempfile.mkdtemp(prefix="orvek-kill-")
        self.game = os.path.join(self.work, "game")
        os.makedirs(os.path.join(self.game, "custom"))
        shutil.copy(os.path.join(build, "plugins", "software.ren"), self.game)
        for name in ("a.rez", "b.rez"):
            open(os.path.join(self.game, "custom", name), "wb").close()
        self.env = dict(os.environ, SDL_AUDIODRIVER="dummy", LC_ALL="C")
        self.watch = Watch(self.game)
        self.failures = []

    def lay_out(self, trial):
        for name, data in (("OrvekLauncher.ini", old_ini(trial)), ("RezList", OLD_LIST)):
            with open(os.path.join(self.game, name), "wb") as f:
                f.write(data)

    def read(self, name):
        with open(os.path.join(self.game, name), "rb") as f:
            return f.read()

    def strays(self):
        return sorted(set(os.listdir(self.game)) - OWN)

    def start(self):
        return subprocess.Popen([self.launcher], cwd=self.game, env=self.env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def save_begins(self, process, saved):
        """Waits until the run makes a file for saving `saved` (a temporary
        file named after it); the time, or None when the run ended first."""
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            for mask, name in self.watch.events(0.01):
                if mask & IN_CREATE and saved in name and name != saved:
                    return time.monotonic()
            if process.poll() is not None:
                return None
        return None

    def calibrate(self):
        """The new INI file of trial 0, and how long each file's save takes,
        from its temporary file to the rename: the median of 5 runs."""
        spans = {saved: [] for saved in SAVED}
        for _ in range(5):
            self.lay_out(0)
            self.watch.drain()
            process, begun = self.start(), {}
            while process.poll() is None:
                for mask, name in self.watch.events(0.01):
                    now = time.monotonic()
                    for saved in SAVED:
                        if mask & IN_CREATE and saved in name and name != saved:
                            begun[saved] = now
                        elif mask & IN_MOVED_TO and name == saved and saved in begun:
                            spans[saved].append(now - begun[saved])
            process.wait()
        self.new_ini_template = self.read("OrvekLauncher.ini").decode()
        if "\tTrial = 0\n" not in self.new_ini_template or self.strays() or not all(spans.values()):
            sys.exit("calibration: the launcher did not save as expected")
        return {saved: statistics.median(times) for saved, times in spans.items()}

    def check(self, what, condition):
        if not condition:
            self.failures.append(what)

    def run(self, trials):
        spans = self.calibrate()
        counts = dict.fromkeys(("killed", "ended before the kill",
                                "kills inside a save (they leave a temporary file)",
                                "ini old", "ini new", "list old", "list new"), 0)
        for trial in range(1, trials + 1):
            new_ini = self.new_ini_template.replace("\tTrial = 0\n", f"\tTrial = {trial}\n").encode()
            self.lay_out(trial)
            self.watch.drain()
            before = self.strays()
            process, aim = self.start(), random.choice(SAVED)
            if self.save_begins(process, aim) is None:
                process.wait()
                self.check(f"trial {trial}: no save of {aim} seen", False)
                continue
            time.sleep(random.uniform(0, spans[aim]))
            process.send_signal(signal.SIGKILL)
            counts["killed" if process.wait() == -signal.SIGKILL else "ended before the kill"] += 1
            counts["kills inside a save (they leave a temporary file)"] += self.strays() != before
            ini, rezlist = self.read("OrvekLauncher.ini"), self.read("RezList")
            self.check(f"trial {trial}: OrvekLauncher.ini is neither old nor new: {ini!r}",
                       ini in (old_ini(trial), new_ini))
            self.check(f"trial {trial}: RezList is neither old nor new: {rezlist!r}",
                       rezlist in (OLD_LIST, NEW_LIST))
            counts["ini old"] += ini == old_ini(trial)
            counts["ini new"] += ini == new_ini
            counts["list old"] += rezlist == OLD_LIST
            counts["list new"] += rezlist == NEW_LIST
            # The next save, not killed, leaves no stray file behind.
            self.start().wait()
            self.check(f"trial {trial}: left after the next save: {self.strays()}", not self.strays())
            self.check(f"trial {trial}: the next save did not end whole",
                       self.read("OrvekLauncher.ini") == new_ini and self.read("RezList") == NEW_LIST)
        times = ", ".join(f"{saved} {span * 1000:.2f} ms" for saved, span in spans.items())
        print(f"trials {trials}; a save takes {times} (median of 5 runs)")
        for name, count in counts.items():
            print(f"  {name}: {count}")
        print(f"  files neither old nor new, or strays after the next save: {len(self.failures)}")
        for failure in self.failures[:20]:
            print("  FAIL " + failure)
        shutil.rmtree(self.work)
        return 1 if self.failures else 0


if __name__ == "__main__":
    sys.exit(Campaign(sys.argv[1]).run(int(sys.argv[2]) if len(sys.argv) > 2 else 400))
