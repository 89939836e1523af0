#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Starts the launcher in $GAME, reads its dialog as a screen reader does,
through at-spi, and ends it with the Cancel button's action.

Prints, in the order of the accessible tree, each control that the keyboard
can reach and each picture: its role, its name and, where a label names it,
that label, as long as the label says in turn that it names the control.
Controls the player cannot see are marked hidden.

The launcher and the reader share the session bus of the environment (the
runner's bus step), on which the accessibility bus and its registry start.
The exit status is 1 when a control has no name, the dialog never appears
or the launcher does not end; the launcher's own output follows the list.
"""
import os
import subprocess
import sys
import time

import pyatspi  # Debian's python3-pyatspi

# The runner waits CASE_WAIT seconds for the script's end: each wait here
# takes a part of that, so that the script can still say what went wrong.
WAIT = float(os.environ.get("CASE_WAIT", "60")) / 4


def wait_for(condition):
    deadline = time.monotonic() + WAIT
    while not condition():
        if time.monotonic() > deadline:
            return False
        time.sleep(0.1)
    return True


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


def walk(accessible, lines):
    line = describe(accessible)
    if line:
        lines.append(line)
    for child in accessible:
        walk(child, lines)


def find_dialog():
    """The launcher's dialog once it shows, else None."""
    for application in pyatspi.Registry.getDesktop(0):
        if application is None or application.name != "orvek-launcher":
            continue
        for frame in application:
            if frame.name == "Orvek Demo" and frame.getState().contains(pyatspi.STATE_SHOWING):
                return frame
    return None


def read_dialog(launcher):
    dialog = None

    def shown():
        nonlocal dialog
        if launcher.poll() is not None:
            return True
        try:
            dialog = find_dialog()
        except Exception:  # the launcher answers only once its main loop runs
            dialog = None
        return dialog is not None

    if not wait_for(shown) or not dialog:
        print(f"no dialog in the accessible tree (the launcher's status: {launcher.poll()})")
        return 1
    lines = []
    walk(dialog, lines)
    print("\n".join(lines), flush=True)
    # Cancel, in any language, is the last button.
    buttons = pyatspi.findAllDescendants(dialog, lambda a: role_name(a) == "button")
    buttons[-1].queryAction().doAction(0)
    if not wait_for(lambda: launcher.poll() is not None):
        print("the launcher did not end on Cancel")
        return 1
    return 1 if any("WITHOUT NAME" in line for line in lines) else 0


def main():
    launcher = subprocess.Popen([os.path.join(os.environ["ORVEK_BUILD"], "orvek-launcher")], cwd=os.environ["GAME"])
    try:
        return read_dialog(launcher)
    finally:
        if launcher.poll() is None:
            launcher.kill()
            launcher.wait()


if __name__ == "__main__":
    sys.exit(main())
