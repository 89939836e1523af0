#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Reads the running launcher's dialog through at-spi, as a screen reader
does, on the session bus of its environment (the runner's bus step).

    reader.py seen              once the text on standard input is what the
                                four lists show selected (their at-spi
                                selections, which is what GTK draws) and
                                where the focus is, or half of CASE_WAIT
                                seconds have passed: prints the last reading
    reader.py where NAME [ROW]  the screen point in the middle of the control
                                named NAME, or of its row ROW, once it shows
"""
import os
import sys
import time

import pyatspi  # Debian's python3-pyatspi

from tree import find_dialog, quoted, role_name

WAIT = float(os.environ.get("CASE_WAIT", "60")) / 2
LISTS = ("Renderer", "Resolution", "Available REZ files", "REZ files to load")


def control(dialog, name):
    """The control the keyboard can reach that is named `name`: not its label."""
    return pyatspi.findDescendant(dialog, lambda a: a.name == name and
                                  a.getState().contains(pyatspi.STATE_FOCUSABLE))


def focused(accessible):
    """The focused control at or below `accessible` that shows; a list
    rather than its row."""
    states = accessible.getState()
    if not states.contains(pyatspi.STATE_SHOWING):
        return None
    if states.contains(pyatspi.STATE_FOCUSED):
        return accessible
    if accessible.getRole() == pyatspi.ROLE_TABLE:
        return None
    return next(filter(None, map(focused, accessible)), None)


def seen(dialog):
    lines = []
    for name in LISTS:
        selection = control(dialog, name).querySelection()
        rows = [quoted(selection.getSelectedChild(i).name) for i in range(selection.nSelectedChildren)]
        lines.append(f"{name}: {', '.join(rows) or 'none'}")
    focus = focused(dialog)
    lines.append("focus: " + (f"{role_name(focus)} {quoted(focus.name)}" if focus else "none"))
    return "".join(line + "\n" for line in lines)


def where(dialog, name, row=None):
    """The screen point "X Y" in the middle of the control or of its row,
    None while that is not on screen."""
    target = control(dialog, name)
    if target and row is not None:
        target = next((cell for cell in target if cell.name == row), None)
    if not target or not target.getState().contains(pyatspi.STATE_SHOWING):
        return None
    box = target.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return f"{box.x + box.width // 2} {box.y + box.height // 2}\n" if box.width > 0 and box.height > 0 else None


def read(args, expected):
    """The reading, and whether it is the one waited for."""
    dialog = find_dialog()
    if not dialog:
        return "no dialog\n", False
    if expected is not None:
        reading = seen(dialog)
        return reading, reading == expected
    reading = where(dialog, *args)
    return reading or "not on screen\n", reading is not None


def main():
    expected = sys.stdin.read() if sys.argv[1] == "seen" else None
    deadline = time.monotonic() + WAIT
    while True:
        try:
            reading, done = read(sys.argv[2:], expected)
        except Exception as error:  # the launcher answers once its main loop runs
            reading, done = f"no reading: {error}\n", False
        if done or time.monotonic() > deadline:
            break
        time.sleep(0.1)
    sys.stdout.write(reading)
    return 0 if done else 1


if __name__ == "__main__":
    sys.exit(main())
