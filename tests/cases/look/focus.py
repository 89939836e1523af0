#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Run by a case's sh step after a key that moves the keyboard focus: takes
a picture of the window $WINDOW once it has changed from the one the last
run took (focus-last.ppm in the current folder) and then stayed the same for
half a second, and tells how visible the focus is in the change.

Each focus indicator is a group of pixels that changed (those within 3
pixels of each other belong together); it is visible when the pixels that
changed by a contrast of at least 3:1 would draw a line around the area it
covers. Prints "visible" when the control left and the one entered show it
so (two groups at least, each visible), else what is wrong; nothing on the
first run or with the argument "start" (a new page makes the next picture
the first), and "no change" when the picture stays the same."""
import io
import os
import subprocess
import sys
import tempfile
import time

import numpy  # Debian's python3-numpy, python3-scipy and python3-pil
from PIL import Image
from scipy import ndimage

LAST, SETTLE = "focus-last.ppm", 0.5
WAIT = float(os.environ.get("CASE_WAIT", "60"))


def picture():
    """The window's picture now, as a PPM file's bytes."""
    return subprocess.run(["import", "-window", os.environ["WINDOW"], "-depth", "8", "ppm:-"], check=True,
                          capture_output=True).stdout


def settled(last, wait=WAIT):
    """The window's picture once it differs from `last` and has stayed the
    same for SETTLE seconds; None when it did not change within `wait`."""
    start, shown, since = time.monotonic(), None, 0.0
    while time.monotonic() - start < wait:
        now = picture()
        if now != shown:
            shown, since = now, time.monotonic()
        elif now != last and time.monotonic() - since >= SETTLE:
            return now
        time.sleep(0.05)
    return None


def rgb(ppm):
    return numpy.asarray(Image.open(io.BytesIO(ppm)).convert("RGB"))


def luminance(pixels):
    """Each pixel's relative luminance (sRGB)."""
    c = pixels / 255
    return numpy.where(c <= 0.04045, c / 12.92, ((c + 0.055) / 1.055) ** 2.4) @ [0.2126, 0.7152, 0.0722]


def verdict(before, after):
    old, new = rgb(before), rgb(after)
    changed = (old != new).any(axis=2)
    darker, lighter = numpy.sort([luminance(old), luminance(new)], axis=0)
    strong = changed & ((lighter + 0.05) / (darker + 0.05) >= 3)
    # Pixels within 3 of each other belong together: grown by one pixel
    # each way, they touch.
    square = numpy.ones((3, 3))
    groups, count = ndimage.label(ndimage.binary_dilation(changed, square), square)
    groups *= changed
    faint = []
    for number, (rows, columns) in enumerate(ndimage.find_objects(groups), 1):
        w, h = columns.stop - columns.start, rows.stop - rows.start
        line = min(w * h, 2 * w + 2 * h - 4)
        if (found := int(strong[groups == number].sum())) < line:
            faint.append(f"too faint at {columns.start},{rows.start}: {found} of {line} pixels at 3:1")
    if count < 2:
        faint.append(f"{count} control(s) changed")
    return "; ".join(faint) or "visible"


def main():
    last = None
    if os.path.exists(LAST) and sys.argv[1:] != ["start"]:
        with open(LAST, "rb") as f:
            last = f.read()
    now = settled(last)
    if now is None:
        print("no change")
        return
    # A busy machine may leave the window half drawn for longer than SETTLE:
    # a verdict against the move stands only once nothing more comes.
    found = verdict(last, now) if last else None
    while found not in (None, "visible") and (later := settled(now, 2 + 3 * SETTLE)):
        now, found = later, verdict(last, later)
    with open(LAST, "wb") as f:
        f.write(now)
    if found and found != "visible":  # the pictures, to be looked at
        kept = tempfile.mkdtemp(prefix="orvek-focus-")
        for name, data in (("before", last), ("after", now)):
            with open(os.path.join(kept, name + ".ppm"), "wb") as f:
                f.write(data)
        found += f" (pictures in {kept})"
    if found:
        print(found)


if __name__ == "__main__":
    main()
