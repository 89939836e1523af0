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
import os
import re
import subprocess
import sys
import tempfile
import time

LAST, SETTLE = "focus-last.ppm", 0.5
WAIT = float(os.environ.get("CASE_WAIT", "60"))


def picture():
    """The window's picture now, as a PPM file's bytes."""
    return subprocess.run(["import", "-window", os.environ["WINDOW"], "-depth", "8", "ppm:-"], check=True,
                          capture_output=True).stdout


def pixels(ppm):
    """Width, height and the pixels, (r, g, b) each, of a picture."""
    # "P6", width, height and depth, each followed by one blank, then the
    # pixels (whose bytes may look like blanks too).
    fields = re.match(rb"P6\s+(\d+)\s+(\d+)\s+\d+\s", ppm)
    width, height, data = int(fields[1]), int(fields[2]), ppm[fields.end():]
    return width, height, [data[i:i + 3] for i in range(0, width * height * 3, 3)]


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


def luminance(rgb):
    def linear(c):
        c /= 255
        return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = (linear(c) for c in rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    darker, lighter = sorted((luminance(a), luminance(b)))
    return (lighter + 0.05) / (darker + 0.05)


def groups(changed, width):
    left, found = set(changed), []
    while left:
        todo, group = [left.pop()], []
        while todo:
            p = todo.pop()
            group.append(p)
            x = p % width
            for dy in range(-3, 4):
                for dx in range(max(-3, -x), min(4, width - x)):
                    q = p + dy * width + dx
                    if q in left:
                        left.remove(q)
                        todo.append(q)
        found.append(group)
    return found


def verdict(before, after):
    width, _, old = pixels(before)
    _, _, new = pixels(after)
    found = groups([i for i, (a, b) in enumerate(zip(old, new)) if a != b], width)
    faint = []
    for group in found:
        xs, ys = [p % width for p in group], [p // width for p in group]
        w, h = max(xs) - min(xs) + 1, max(ys) - min(ys) + 1
        strong = sum(contrast(old[p], new[p]) >= 3 for p in group)
        line = min(w * h, 2 * w + 2 * h - 4)
        if strong < line:
            faint.append(f"too faint at {min(xs)},{min(ys)}: {strong} of {line} pixels at 3:1")
    if len(found) < 2:
        faint.append(f"{len(found)} control(s) changed")
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
