#!/usr/bin/env bash
# Remembered choices with the real binary: what a first run leaves behind,
# how "AlwaysPopup" decides the dialog, and how voices, the console key, the
# sound quality and the custom text travel between the INI file, the dialog
# and the command line.
. "$(dirname "$0")/lib.sh"
start_xvfb "$WORK" || exit 1

line() { printf './client -autoconfig autoexec.cfg +savedirectory ./ -rez orvekdem.rez +renderdll software.ren +screenwidth 0 +screenheight 0 %s\n' "$1"; }
DEFAULT_LINE=$(line '+Sound16Bit 1 +NumSWVoices 16 -config autoexec.cfg -conskey 291 ')

# ini_file [Key=Value]...: the INI file the launcher leaves after a launch,
# with the defaults but for the keys given.
ini_file() {
    local -A v=([CommandLine]= [ConsoleKey]=291 [Fullscreen]=Yes [AlwaysPopup]=No [AlwaysLoad]=No
                [NumVoices]=16.000000 [UseCommandLine]=No)
    local kv key
    for kv in "$@"; do v[${kv%%=*}]=${kv#*=}; done
    printf '[Advanced]\n\n'
    for key in CommandLine ConsoleKey DisableLightMapping DisableLineSystems DisableModelFullbrights \
        DisableMovies DisableMusic DisableSound EnableMoviePixelDouble EnablePolygapFixing \
        EnableSinglePass UseCommandLine; do
        printf '\t%s = %s\n' "$key" "${v[$key]-No}"
    done
    printf '\n[Display]\n\n\tFullscreen = %s\n' "${v[Fullscreen]}"
    printf '\n[OrvekLauncher]\n\n\tAlwaysPopup = %s\n' "${v[AlwaysPopup]}"
    printf '\n[RezFiles]\n\n\tAlwaysLoad = %s\n' "${v[AlwaysLoad]}"
    printf '\n[Sound]\n\n\tNumVoices = %s\n' "${v[NumVoices]}"
}

# game NAME [INI-TEXT [AUTOEXEC-TEXT]]: a game directory with the sample
# software renderer and the files given.
game() {
    GAME=$(new_gamedir "$1")
    add_plugins "$GAME" software
    if [ -n "${2-}" ]; then printf '%b' "$2" >"$GAME/OrvekLauncher.ini"; fi
    if [ -n "${3-}" ]; then printf '%b' "$3" >"$GAME/autoexec.cfg"; fi
}

# --- First run: no INI file, no dialog, the defaults at once ----------------
game first-run
run_launcher "$GAME"
expect_eq "first run: exit status" 0 "$EXIT_STATUS"
expect_file "first run: the default line at once" "$DEFAULT_LINE"$'\n' "$GAME.out"
expect_file "first run: every setting stored with its default" "$(ini_file)"$'\n' "$GAME/OrvekLauncher.ini"
# What was stored reads back as the same choices (16.000000 is 16 voices).
run_launcher "$GAME"
expect_file "second run: the same line" "$DEFAULT_LINE"$'\n' "$GAME.out"
expect_file "second run: the same file" "$(ini_file)"$'\n' "$GAME/OrvekLauncher.ini"

# --- "AlwaysPopup": only no, off and 0 keep the dialog away ----------------
for value in no OFF oFf 0; do
    game "popup-$value" "[OrvekLauncher]\nAlwaysPopup=$value\n"
    WAIT_SECONDS=10 run_launcher "$GAME"
    expect_file "AlwaysPopup=$value: no dialog, line at once" "$DEFAULT_LINE"$'\n' "$GAME.out"
    expect_grep "AlwaysPopup=$value: stored as No" $'^\tAlwaysPopup = No$' "$GAME/OrvekLauncher.ini"
done
for value in Yes 1 false ''; do
    game "popup-[$value]" "[OrvekLauncher]\nAlwaysPopup=$value\n"
    start_launcher "$GAME"
    wait_dialog && press alt+l
    wait_launcher
    expect_file "AlwaysPopup=[$value]: dialog, then the line" "$DEFAULT_LINE"$'\n' "$GAME.out"
    expect_grep "AlwaysPopup=[$value]: stored as Yes" $'^\tAlwaysPopup = Yes$' "$GAME/OrvekLauncher.ini"
done

# --- Voices: kept within 4 to 32; a fraction goes to the nearest whole ------
for case in 100:32:32.000000 2:4:4.000000 7.6:8:7.600000 abc:4:4.000000; do
    IFS=: read -r stored used kept <<<"$case"
    game "voices-$stored" "[Sound]\nNumVoices = $stored\n"
    run_launcher "$GAME"
    expect_eq "NumVoices $stored: voices on the line" "+NumSWVoices $used" "$(grep -o -- '+NumSWVoices [0-9]*' "$GAME.out")"
    expect_grep "NumVoices $stored: stored" $'^\tNumVoices = '"$kept"'$' "$GAME/OrvekLauncher.ini"
done

# --- Console key that is not a number, sound quality from the game ---------
# Key 0 and 8-bit sound go out; the low-quality box is never stored.
for value in 0 abc; do
    game "lowquality-$value" "[Advanced]\nConsoleKey = F10\n" "\"Sound16Bit\" \"$value\"\n"
    run_launcher "$GAME"
    expect_file "ConsoleKey F10, Sound16Bit $value" "$(line '+Sound16Bit 0 +NumSWVoices 16 -config autoexec.cfg -conskey 0 ')"$'\n' "$GAME.out"
    expect_file "ConsoleKey F10, Sound16Bit $value: stored" "$(ini_file ConsoleKey=0)"$'\n' "$GAME/OrvekLauncher.ini"
done
game lowquality-1 "" "\"Sound16Bit\" \"1\"\n"
run_launcher "$GAME"
expect_file "Sound16Bit 1: normal quality" "$DEFAULT_LINE"$'\n' "$GAME.out"

# --- The custom text, typed into the dialog --------------------------------
# The command-line entry is the fourteenth focusable widget of the third page.
to_text() { press ctrl+Next ctrl+Next ctrl+Next Left Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab; }
TEXT='+name "Rook Vale"'
game custom-text "[OrvekLauncher]\nAlwaysPopup=Yes\n"
start_launcher "$GAME"
if wait_dialog; then
    to_text
    xdotool type --clearmodifiers --delay 30 "$TEXT"
    press alt+l
fi
wait_launcher
expect_file "typed text goes out raw" "$(line '+Sound16Bit 1 +NumSWVoices 16 -config autoexec.cfg -conskey 291 ')$TEXT "$'\n' "$GAME.out"
expect_grep "typed text not remembered while its box is clear" $'^\tCommandLine = $' "$GAME/OrvekLauncher.ini"

start_launcher "$GAME"
if wait_dialog; then
    to_text
    xdotool type --clearmodifiers --delay 30 "$TEXT"
    press Tab space alt+m
fi
wait_launcher
expect_file "ticked: text remembered" "$(ini_file AlwaysPopup=Yes UseCommandLine=Yes "CommandLine=$TEXT")"$'\n' \
    "$GAME/OrvekLauncher.ini"

start_launcher "$GAME"
wait_dialog && press alt+l
wait_launcher
expect_file "remembered text comes back" "$(line '+Sound16Bit 1 +NumSWVoices 16 -config autoexec.cfg -conskey 291 ')$TEXT "$'\n' "$GAME.out"

finish
