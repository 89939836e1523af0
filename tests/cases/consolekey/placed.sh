#!/bin/sh
# SPDX-License-Identifier: MIT
# How the console-key window stands to the dialog: its size, whether it is
# the dialog's transient, and whether its centre is the dialog's (to the
# half pixel that an odd difference of sizes leaves).
set -eu
dialog=$(xdotool search --onlyvisible --name '^Orvek Demo$')
capture=$(xdotool search --onlyvisible --name '^Console Key \(ESC to cancel\)\?$')
eval "$(xdotool getwindowgeometry --shell --prefix d "$dialog")"
eval "$(xdotool getwindowgeometry --shell --prefix c "$capture")"
echo "size ${cWIDTH}x$cHEIGHT"

owner=$(xprop -id "$capture" WM_TRANSIENT_FOR | sed -n 's/.*window id # //p')
if [ -n "$owner" ] && [ $((owner)) -eq "$dialog" ]; then
    echo "transient for the dialog"
else
    echo "transient for: ${owner:-nothing}"
fi

# Twice the distance between the centres.
off_x=$((2 * cX + cWIDTH - 2 * dX - dWIDTH)) off_y=$((2 * cY + cHEIGHT - 2 * dY - dHEIGHT))
if [ "${off_x#-}" -le 1 ] && [ "${off_y#-}" -le 1 ]; then
    echo "centred on the dialog"
else
    echo "centre off the dialog's by $((off_x / 2)),$((off_y / 2))"
fi
