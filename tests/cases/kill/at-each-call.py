#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Kills the launcher at each system call of its saves in turn, in the game
folder $GAME that the case laid out, and prints what the player finds:

    at-each-call.py

A run under strace (its main thread, which saves) shows the calls: from the
first open of a file of the game folder for writing on, every call on that
folder or a file in it that changes the file system or whose order counts.
A kill changes what is on disk only between calls, so one run killed on
entering each of them in turn (strace injects SIGKILL there, before the call
is made) meets every state a kill can leave. After each kill, both files
must hold their old bytes or their new ones, and a run that is not killed
must save them whole and leave no other file beside them. Prints a line per
kill: the call, its file (a process id as PID) and what each file held.
"""
import os
import re
import subprocess
import sys

GAME, WORK = os.environ["GAME"], os.environ["WORK"]
LAUNCHER = os.path.join(os.environ["ORVEK_BUILD"], "orvek-launcher")
SAVED = ("RezList", "OrvekLauncher.ini")
CALLS = "openat,creat,write,fsync,fdatasync,fchmod,fchown,rename,renameat,renameat2,unlink,unlinkat,ftruncate,close"
# In a sanitizer build, these runs check the files and the other cases the
# launcher's memory: LeakSanitizer, which cannot check a traced process, is
# off, and so is the slow unwinding that only its reports need.
ENV = dict(os.environ, ASAN_OPTIONS=os.environ.get("ASAN_OPTIONS", "") + ":detect_leaks=0:fast_unwind_on_malloc=1")


def contents():
    return {name: open(os.path.join(GAME, name), "rb").read() for name in SAVED}


def lay_out(old, files):
    """The old files, and no file but `files`."""
    for name in set(os.listdir(GAME)) - set(files):
        os.remove(os.path.join(GAME, name))
    for name, data in old.items():
        with open(os.path.join(GAME, name), "wb") as out:
            out.write(data)


def run():
    """A run that is not traced: its exit status."""
    return subprocess.run([LAUNCHER], cwd=GAME, env=ENV, stdout=subprocess.DEVNULL).returncode


def traced(*inject):
    """The exit status of a run under strace, and its calls."""
    trace = os.path.join(WORK, "trace")
    status = subprocess.run(["strace", "-y", "-qq", "-o", trace, "-e", "trace=" + CALLS, *inject, LAUNCHER],
                            cwd=GAME, env=ENV, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL).returncode
    # The working folder, named by every openat, is not what it opens.
    return status, [line.replace(f"AT_FDCWD<{GAME}>", "AT_FDCWD") for line in open(trace) if re.match(r"\w+\(", line)]


def label(call):
    """The call's name and the file it is on (its first argument), relative
    to the game folder; None for a call outside it."""
    found = re.match(r'\w+\((?:AT_FDCWD, )?(?:"\./([^"]*)"|\d+<' + re.escape(GAME) + r"(?:/([^>]*))?>)", call)
    if not found:
        return None
    name = re.sub(r"\.tmp\.\d+$", ".tmp.PID", found.group(1) or found.group(2) or ".")
    return call[:call.index("(")] + " " + name


def labels(calls):
    return [label(call) for call in calls if label(call)]


def kill_at(calls, i, old, files):
    """Kills a run, which starts from the old files, on entering the call
    calls[i]: strace counts the calls of each name. Now and then GLib's
    threads wake the main thread, which writes to an eventfd, so a count of
    writes may be one off: a run killed elsewhere is repeated with the count
    shifted."""
    name = calls[i][:calls[i].index("(")]
    nth = sum(call.startswith(name + "(") for call in calls[:i + 1])
    for shift in (0, 1, -1) * 3:
        lay_out(old, files)
        status, killed = traced("-e", f"inject={name}:signal=KILL:when={nth + shift}")
        if status == -9 and labels(killed) == labels(calls[:i + 1]):
            return
    sys.exit(f"{label(calls[i])}: no run was killed there")


def main():
    old, files = contents(), sorted(os.listdir(GAME))
    # The first run on the X server does more than the later ones.
    run()
    lay_out(old, files)
    _, calls = traced()
    new = contents()
    first = next(i for i, call in enumerate(calls) if label(call) and re.search(r"O_WRONLY|O_RDWR|^creat\(", call))
    failed = False
    for i in range(first, len(calls)):
        if not label(calls[i]):
            continue
        kill_at(calls, i, old, files)
        found = contents()
        whole = all(found[name] in (old[name], new[name]) for name in SAVED)
        print(f"{label(calls[i])}: " + ", ".join(
            f"{name} " + ("old" if data == old[name] else "new" if data == new[name] else f"neither old nor new: {data!r}")
            for name, data in found.items()))
        # The next run, not killed, saves both files whole and removes what
        # the killed one left.
        status = run()
        if status != 0 or contents() != new or sorted(os.listdir(GAME)) != files:
            print(f"  the next run ended with status {status}, its files new: {contents() == new}, "
                  f"in the folder: {sorted(os.listdir(GAME))}")
            whole = False
        failed |= not whole
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
