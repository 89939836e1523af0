#!/usr/bin/env bash
# The launch sound with the real binary, heard through SDL's disk audio
# driver, which writes every buffer handed to the device into a file.
. "$(dirname "$0")/lib.sh"
start_xvfb "$WORK" || exit 1

BUFFER=4096  # SDL's WAV loader asks for 4096-sample buffers; one byte per sample here

# le VALUE BYTES: VALUE as little-endian binary.
le() {
    local i
    for ((i = 0; i < $2; i++)); do printf "\\x$(printf %02x $((($1 >> (8 * i)) & 255)))"; done
}

# sound DIR LENGTH: DIR/orvek.wav holding LENGTH unsigned 8-bit mono samples,
# none of them 0 or 128, so that zero fill and silence (128) stand out; the
# samples alone go to DIR.pcm.
sound() {
    LC_ALL=C awk -v n="$2" 'BEGIN { for (i = 0; i < n; i++) printf "%c", i % 126 + 1 }' >"$1.pcm"
    {
        printf RIFF; le $((36 + $2)) 4; printf 'WAVEfmt '
        le 16 4; le 1 2; le 1 2; le 8000 4; le 8000 4; le 1 2; le 8 2
        printf data; le "$2" 4; cat "$1.pcm"
    } >"$1/orvek.wav"
}

# start_heard DIR: starts the launcher with its audio going to DIR.raw.
start_heard() {
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$1.raw" SDL_DISKAUDIODELAY=5 start_launcher "$1"
}

size() { stat -c %s "$1" 2>/dev/null || echo 0; }

# onset FILE: offset of the first byte that is not silence (128), if any.
onset() { od -An -v -tu1 -w1 "$1" 2>/dev/null | awk '$1 != 128 { print NR - 1; exit }'; }

# played NAME LENGTH: what the device got while the dialog was up. It runs
# silent from its opening; then, from the start of a buffer, come the samples
# once, zero bytes to the end of their last buffer, and nothing but the
# silence of the paused device.
played() {
    local name=$1 length=$2 game padded start deadline
    game=$(new_gamedir "$name")
    ini_popup "$game"
    sound "$game" "$length"
    padded=$(((length + BUFFER - 1) / BUFFER * BUFFER))
    start_heard "$game"
    if wait_dialog; then
        # A whole buffer of silence after the sound shows that it has ended.
        deadline=$((SECONDS + WAIT_SECONDS))
        until start=$(onset "$game.raw") && [ -n "$start" ] &&
            [ "$(size "$game.raw")" -ge $((start + padded + BUFFER)) ]; do
            if [ $SECONDS -ge $deadline ]; then break; fi
            sleep 0.05
        done
        press alt+c
    fi
    wait_launcher
    start=$(onset "$game.raw")
    expect_eq "$name: sound starts a buffer" 0 "$((${start:-1} % BUFFER))"
    tail -c +$((${start:-0} + 1)) "$game.raw" >"$game.heard"
    expect_eq "$name: samples first" "" "$(head -c "$length" "$game.heard" | cmp - "$game.pcm" 2>&1)"
    expect_eq "$name: zero bytes to the end of the buffer" "$((padded - length)) 0" \
        "$(head -c "$padded" "$game.heard" | tail -c +$((length + 1)) | wc -c) $(head -c "$padded" "$game.heard" | tail -c +$((length + 1)) | tr -d '\0' | wc -c)"
    expect_eq "$name: then only silence, at least a buffer" "1 0" \
        "$(($(size "$game.heard") - padded >= BUFFER)) $(tail -c +$((padded + 1)) "$game.heard" | tr -d '\200' | wc -c)"
    expect_no_grep "$name: no sound messages" 'Error loading\|SND_Init' "$game.err"
}

played short 1000
played across-buffers $((BUFFER + 1500))
played whole-buffers $((2 * BUFFER))

# No sound file: one line on standard error, the dialog works as ever, and
# no device is opened.
game=$(new_gamedir missing)
ini_popup "$game"
start_heard "$game"
wait_dialog && press alt+l
wait_launcher
expect_eq "missing sound reported once" 1 "$(grep -c '^Error loading orvek.wav$' "$game.err")"
expect_eq "dialog still launches" 1 "$(wc -l <"$game.out")"
expect_eq "no device opened" 0 "$(size "$game.raw")"

# No audio device: reported, and the dialog works as ever.
game=$(new_gamedir no-device)
ini_popup "$game"
sound "$game" 1000
SDL_AUDIODRIVER=no-such-driver start_launcher "$game"
wait_dialog && press alt+l
wait_launcher
expect_grep "failing device reported" '^SND_Init: Error .' "$game.err"
expect_eq "dialog launches without sound" 1 "$(wc -l <"$game.out")"

# No dialog, no sound.
game=$(new_gamedir no-dialog)
sound "$game" 1000
start_heard "$game"
wait_launcher
expect_eq "launched at once" 1 "$(wc -l <"$game.out")"
expect_eq "nothing played without the dialog" 0 "$(size "$game.raw")"
expect_no_grep "nothing loaded without the dialog" 'Error\|SND_Init' "$game.err"

finish
