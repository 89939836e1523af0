#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# The floor of every Python launcher with a dialog: the interpreter, GTK 3
# through PyGObject, and one window holding one label, shown. It runs until
# killed; the timer stops at the window's map. No SDL: a Python launcher
# pays for its own sound and display probing on top of this.
import gi

gi.require_version("Gtk", "3.0")
from gi.repository import Gtk  # noqa: E402 (the version must be chosen first)

window = Gtk.Window(title="Floor")
window.add(Gtk.Label(label="Orvek"))
window.show_all()
Gtk.main()
