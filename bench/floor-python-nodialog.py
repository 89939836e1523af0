#!/usr/bin/python3
# SPDX-License-Identifier: MIT
# The floor of every Python launcher without its dialog: the interpreter and
# GTK 3 through PyGObject, whose import initialises the toolkit and opens the
# display, then one line printed. No SDL, no window. Importing does not fail
# without a display, so the check below makes sure the display was opened.
import sys

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import Gtk  # noqa: E402 (the version must be chosen first)

if not Gtk.init_check(sys.argv)[0]:
    sys.exit("cannot open the display")
print("./client")
