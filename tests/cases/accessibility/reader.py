#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Reads the launcher's dialog through at-spi, as a screen reader does, on
the session bus of its environment (the runner's bus step), on which the
accessibility bus and its registry start.

    reader.py tree              prints, in the order of the accessible tree
                                of the running launcher's dialog, each control
                                that the keyboard can reach and each picture:
                                its role, its name and, where a label names
                                it, that label, as long as the label says in
                                turn that it names the control (controls the
                                player cannot see are marked hidden), then
                                does the Cancel button's action. Exit status
                                1 when a control has no name or no dialog
                                shows within half of CASE_WAIT seconds.
    reader.py seen              once the text on standard input is what the
                                four lists of the running launcher show
                                selected (their at-spi selections, which is
                                what GTK draws) and where the focus is, or
                                half of CASE_WAIT seconds have passed: prints
                                the last reading
    reader.py select NAME ROW   selects the row ROW of the list named NAME,
                                as a screen reader's user does, once
                                the dialog shows it
    reader.py where NAME [ROW]  the screen point in the middle of the control
                                named NAME, or of its row ROW, once it shows
                                and stays where it is
"""
import os
import sys
import time

import pyatspi  # Debian's python3-pyatspi

# The runner waits CASE_WAIT seconds for the script's end: each wait here
# takes a part of that, so that the script can still say what went wrong.
CASE_WAIT = float(os.environ.get("CASE_WAIT", "60"))
LISTS = ("Renderer", "Resolution", "Available REZ files", "REZ files to load")


def wait_for(condition, wait):
    """Whether `condition` came true within `wait` seconds; an exception
    counts as not yet (the launcher answers only once its main loop runs)."""
    deadline = time.monotonic() + wait
    while True:
        try:
            if condition():
                return True
        except Exception:
            pass
        if time.monotonic() > deadline:
            return False
        time.sleep(0.1)


def role_name(accessible):
    """The role's name, as at-spi has said it since 2.50 ("push button" was
    renamed "button")."""
    name = accessible.getRoleName()
    return "button" if name == "push button" else name


def quoted(name):
    return '"' + name.replace("\n", "\\n") + '"'


def targets(accessible, relation_type):
    return [relation.getTarget(i) for relation in accessible.getRelationSet()
            if relation.getRelationType() == relation_type for i in range(relation.getNTargets())]


def describe(accessible):
    """The line of a control or picture; None for anything else."""
    states = accessible.getState()
    if not states.contains(pyatspi.STATE_FOCUSABLE) and accessible.getRole() not in (pyatspi.ROLE_ICON,
                                                                                      pyatspi.ROLE_IMAGE):
        return None
    role = role_name(accessible)
    line = f"{role} {quoted(accessible.name)}" if accessible.name else f"{role} WITHOUT NAME"
    for label in targets(accessible, pyatspi.RELATION_LABELLED_BY):
        back = accessible in targets(label, pyatspi.RELATION_LABEL_FOR)
        line += f", labelled by {role_name(label)} {quoted(label.name)}" + ("" if back else " (one way only)")
    if not states.contains(pyatspi.STATE_VISIBLE):
        line += ", hidden"
    return line


def find_dialog():
    """The launcher's dialog once it shows, else None."""
    for application in pyatspi.Registry.getDesktop(0):
        if application is None or application.name != "orvek-launcher":
            continue
        for frame in application:
            if frame.name == "Orvek Demo" and frame.getState().contains(pyatspi.STATE_SHOWING):
                return frame
    return None


def tree():
    found = []
    if not wait_for(lambda: found.append(find_dialog()) or found[-1], CASE_WAIT / 2):
        print("no dialog in the accessible tree")
        return 1
    lines = [line for line in map(describe, pyatspi.findAllDescendants(found[-1], lambda a: True)) if line]
    print("\n".join(lines))
    # Cancel, in any language, is the last button.
    pyatspi.findAllDescendants(found[-1], lambda a: role_name(a) == "button")[-1].queryAction().doAction(0)
    return 1 if any("WITHOUT NAME" in line for line in lines) else 0


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


def main():
    if sys.argv[1] == "tree":
        return tree()
    if sys.argv[1] == "select":
        def select():  # once the dialog and its row are in the accessible tree
            table = control(find_dialog(), sys.argv[2])
            row = next(i for i, cell in enumerate(table) if cell.name == sys.argv[3])
            return table.querySelection().selectChild(row)

        if wait_for(select, CASE_WAIT / 2):
            return 0
        print(f"no row {sys.argv[3]} of {sys.argv[2]} could be selected")
        return 1
    expected = sys.stdin.read() if sys.argv[1] == "seen" else None
    reading = [""]

    def read():
        """Notes the reading; true once it is the one waited for. A point
        counts once two readings agree: a page just turned to may still be
        laid out, and a row read before that is not where a click lands."""
        try:
            dialog, last = find_dialog(), reading[0]
            point = dialog and expected is None and where(dialog, *sys.argv[2:])
            reading[0] = "no dialog\n" if not dialog else seen(dialog) if expected is not None else \
                point or "not on screen\n"
            return reading[0] == expected if expected is not None else bool(point) and point == last
        except Exception as error:
            reading[0] = f"no reading: {error}\n"
            return False

    done = wait_for(read, CASE_WAIT / 2)
    sys.stdout.write(reading[0])
    return 0 if done else 1


if __name__ == "__main__":
    sys.exit(main())
