#!/usr/bin/env bash
# Picking the console key with the real binary: "Choose..." opens a small
# SDL window that takes the next key released in it; Escape or closing the
# window cancels. The key travels on as "-conskey N" and "ConsoleKey".
. "$(dirname "$0")/lib.sh"
start_xvfb "$WORK" || exit 1

# The tabs hold the focus when the dialog opens; "Choose..." is the twelfth
# focusable widget of the third page down, after ten check boxes and the
# key's name.
to_choose() { press ctrl+Next ctrl+Next ctrl+Next Left Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab; }

# choose ACTION...: presses "Choose...", waits for the capture window (by its
# exact title), acts on it (window id in CAPTURE) and waits until it is gone.
choose() {
    press space
    CAPTURE=$(timeout "$WAIT_SECONDS" xdotool search --sync --name '^Console Key \(ESC to cancel\)\?$' | head -n 1)
    if [ -z "$CAPTURE" ]; then fail "capture window did not open"; return 1; fi
    "$@"
    local deadline=$((SECONDS + WAIT_SECONDS))
    while xdotool search --name '^Console Key' >/dev/null; do
        if [ $SECONDS -ge $deadline ]; then fail "capture window did not close"; return 1; fi
        sleep 0.05
    done
    xdotool windowfocus --sync "$DIALOG"
}

# The key goes straight to the capture window; it counts when released.
type_key() { xdotool key --window "$CAPTURE" "$1"; }
# A key only pressed does not count: closing the window after it cancels.
press_and_close() { xdotool keydown --window "$CAPTURE" F5; "$ORVEK_TOOLS/wm-delete" "$CAPTURE"; }

game=$(new_gamedir capture)
printf '[Advanced]\n\n\tConsoleKey = 96\n\n[OrvekLauncher]\n\n\tAlwaysPopup = Yes\n' >"$game/OrvekLauncher.ini"
start_launcher "$game"
if wait_dialog; then
    to_choose
    # F5, then "a" over it; Escape and a closed window keep the "a".
    choose type_key F5 && choose type_key a && choose type_key Escape && choose press_and_close
    press alt+l
fi
wait_launcher
expect_eq "one line, the last key captured" "1 -conskey 97 " "$(wc -l <"$game.out") $(grep -o -- '-conskey [-0-9]* $' "$game.out")"
expect_grep "captured key stored" $'^\tConsoleKey = 97$' "$game/OrvekLauncher.ini"

# No window can open: the caret stands in, and the reason comes first on
# standard output, ahead of the command line.
SDL_VIDEODRIVER=no-such-driver start_launcher "$game"
if wait_dialog; then
    to_choose
    press space alt+l
fi
wait_launcher
expect_grep "reason on standard output" '^SDL Window open failed: .' <(head -n 1 "$game.out")
expect_grep "caret stands in" '-conskey 94 $' <(sed -n 2p "$game.out")
expect_eq "nothing more written" 2 "$(wc -l <"$game.out")"
expect_grep "caret stored" $'^\tConsoleKey = 94$' "$game/OrvekLauncher.ini"

finish
