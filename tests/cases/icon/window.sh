#!/bin/sh
# SPDX-License-Identifier: MIT
# The icon of the window $WINDOW (_NET_WM_ICON, where GTK puts one picture
# of 48 pixels) set against the game's own, orvek.svg drawn by librsvg at
# the same size: its size and "the game's icon" where at most rounding tells
# them apart, else how many pixels differ, or "no icon".
set -eu
# The property's cardinals are the width, the height, then one ARGB pixel
# each; ImageMagick reads them in its pixel enumeration text.
xprop -notype -id "$WINDOW" 32c _NET_WM_ICON | tr -d , | awk '$2 == "=" {
    w = $3; h = $4
    print "# ImageMagick pixel enumeration: " w "," h ",255,srgba"
    for (i = 0; i < w * h; i++) {
        v = $(i + 5)
        printf "%d,%d: (%d,%d,%d,%d)\n", i % w, int(i / w),
            int(v / 65536) % 256, int(v / 256) % 256, v % 256, int(v / 16777216)
    }
}' >"$WORK/icon.txt"
if [ ! -s "$WORK/icon.txt" ]; then
    echo "no icon"
    exit
fi
size=$(identify -format %wx%h "$WORK/icon.txt")
rsvg-convert -w "${size%x*}" -h "${size#*x}" "$ORVEK_SOURCE/dist/orvek.svg" >"$WORK/game-icon.png"
differ=$(compare -metric AE -fuzz 1% "$WORK/icon.txt" "$WORK/game-icon.png" null: 2>&1) || true
if [ "$differ" = 0 ]; then
    echo "$size, the game's icon"
else
    echo "$size, $differ pixels differ from the game's icon"
fi
