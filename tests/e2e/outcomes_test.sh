#!/usr/bin/env bash
# How the dialog ends: each way out gives exactly its bytes on standard
# output and exit status 0; a broken or missing picture still gives a
# working dialog.
. "$(dirname "$0")/lib.sh"
start_xvfb "$WORK" || exit 1

HEAD='./client -autoconfig autoexec.cfg +savedirectory ./ -rez orvekdem.rez +renderdll software.ren +screenwidth 0 +screenheight 0 +Sound16Bit 1 +NumSWVoices 16 -config autoexec.cfg -conskey 291 '
LAUNCH="$HEAD"$'\n'
MULTIPLAYER="${HEAD}+multiplayer 1"$'\n'

close_by_window_manager() { "$ORVEK_TOOLS/wm-delete" "$DIALOG"; }

# ends_with NAME EXPECTED-OUTPUT ACTION...: opens the dialog in a fresh game
# directory, performs the action and checks what the launcher leaves.
ends_with() {
    local name=$1 expected=$2 game
    shift 2
    game=$(new_gamedir "$name")
    add_plugins "$game" software
    ini_popup "$game"
    start_launcher "$game" --some extra words
    wait_dialog || return
    "$@"
    wait_launcher
    expect_file "$name: standard output" "$expected" "$game.out"
    expect_eq "$name: exit status" 0 "$EXIT_STATUS"
}

ends_with alt-l "$LAUNCH" press alt+l
ends_with plain-l "$LAUNCH" press l
ends_with alt-m "$MULTIPLAYER" press alt+m
ends_with plain-m "$MULTIPLAYER" press m
ends_with alt-c "" press alt+c
ends_with plain-c "" press c
ends_with window-close "" close_by_window_manager

# Cancel stores nothing from the dialog, yet the file that was read is
# written back at exit: the same entries, sorted, in the launcher's layout.
game=$(new_gamedir cancel-rewrites)
add_plugins "$game" software
printf '[Zed]\nB=2\n[OrvekLauncher]\nAlwaysPopup=yes\n[alpha]\n  A =  1\n' >"$game/OrvekLauncher.ini"
start_launcher "$game"
wait_dialog && press alt+c
wait_launcher
expect_file "cancel prints nothing" "" "$game.out"
expect_file "cancel rewrites the INI file sorted and unchanged" \
    $'[alpha]\n\n\tA =  1\n\n[OrvekLauncher]\n\n\tAlwaysPopup = yes\n\n[Zed]\n\n\tB = 2\n' "$game/OrvekLauncher.ini"

# Ctrl+C or the end of a session stops the launcher even with the dialog up.
game=$(new_gamedir terminate)
ini_popup "$game"
start_launcher "$game"
wait_dialog && kill -TERM "$LAUNCHER_PID"
wait_launcher
expect_eq "SIGTERM ends the launcher" 143 "$EXIT_STATUS"
expect_file "SIGTERM prints nothing" "" "$game.out"

# Pictures: none at all, then one that is not an image.
game=$(new_gamedir no-picture)
add_plugins "$game" software
ini_popup "$game"
start_launcher "$game"
wait_dialog && press alt+l
wait_launcher
expect_grep "missing picture is reported" "Couldn't find pixmap file: orvek.xpm" "$game.err"
expect_file "dialog without picture still launches" "$LAUNCH" "$game.out"

mkdir "$game/pixmaps"
echo "not an image" >"$game/pixmaps/orvek.xpm"
start_launcher "$game"
wait_dialog && press alt+m
wait_launcher
expect_grep "broken picture is reported with its path" "Error loading pixmap file: ./pixmaps/orvek.xpm" "$game.err"
expect_file "dialog with broken picture still launches" "$MULTIPLAYER" "$game.out"

finish
