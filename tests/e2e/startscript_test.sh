#!/usr/bin/env bash
# The start script `orvek` as a player and a packager meet it: it runs the
# launcher, then the client with the chosen options; it switches the dialog
# on and off; it explains what is missing. Also: an install into a staging
# directory lays out the documented files and works from there.
. "$(dirname "$0")/lib.sh"
start_xvfb "$WORK" || exit 1

# A stand-in client that records its arguments, one per line, and ends with
# status 3 so that passing on its status shows.
write_client() {
    cat >"$1/client" <<'CLIENT'
#!/bin/sh
for a in "$@"; do printf '%s\n' "$a"; done >client.args
exit 3
CLIENT
    chmod +x "$1/client"
}

# script_game NAME: a game directory holding the launcher, the start script,
# one renderer and the stand-in client.
script_game() {
    local game
    game=$(new_gamedir "$1")
    cp "$LAUNCHER" "$ORVEK_SOURCE/dist/orvek" "$game/"
    mkdir "$game/pixmaps"
    cp "$ORVEK_SOURCE/pixmaps/orvek.xpm" "$game/pixmaps/"
    add_plugins "$game" software
    write_client "$game"
    printf '%s\n' "$game"
}

# start_script GAME [args]: runs the start script from another directory.
start_script() {
    local game=$1; shift
    (cd "$WORK" && exec "$game/orvek" "$@") >"$game.out" 2>"$game.err" &
    LAUNCHER_PID=$!
}

run_script() { start_script "$@"; wait_launcher; }

# --- switching the dialog on and off ------------------------------------------
game=$(script_game setup)
run_script "$game" --setup
expect_eq "--setup exits 0" 0 "$EXIT_STATUS"
expect_file "--setup creates the INI file with the entry" $'[OrvekLauncher]\n\n\tAlwaysPopup = Yes\n' "$game/OrvekLauncher.ini"
start_script "$game"
if wait_dialog; then pass; press alt+c; fi
wait_launcher
expect_eq "after --setup the dialog shows and Cancel exits 0" 0 "$EXIT_STATUS"
expect_eq "Cancel starts nothing" "" "$(cat "$game/client.args" 2>/dev/null)"

printf '[Sound]\r\n\r\n\tNumVoices = 24\r\n[OrvekLauncher]\n\n\talwayspopup = Yes\n\tKeep = me\n' >"$game/OrvekLauncher.ini"
run_script "$game" --no-setup
expect_file "--no-setup switches the entry and keeps every other line" \
    $'[Sound]\r\n\r\n\tNumVoices = 24\r\n[OrvekLauncher]\n\n\tAlwaysPopup = No\n\tKeep = me\n' "$game/OrvekLauncher.ini"
run_script "$game"
expect_eq "after --no-setup the game starts at once, its status passed on" 3 "$EXIT_STATUS"
expect_eq "the client ran with the remembered choices" $'+NumSWVoices\n24' "$(grep -A1 '^+NumSWVoices$' "$game/client.args")"

# --- running the line -----------------------------------------------------------
game=$(script_game quotes)
printf '[Advanced]\n\n\tCommandLine = +name "Big Bob" +say '"'"'a  b'"'"'\n\tUseCommandLine = Yes\n' >"$game/OrvekLauncher.ini"
run_script "$game" --print
expect_eq "--print exits 0" 0 "$EXIT_STATUS"
expect_grep "--print shows the line" "^./client -autoconfig autoexec.cfg .* +name \"Big Bob\" +say 'a  b' \$" "$game.out"
expect_eq "--print starts nothing" "" "$(cat "$game/client.args" 2>/dev/null)"
run_script "$game"
expect_eq "the shell splits the custom text as at a prompt" \
    $'-conskey\n291\n+name\nBig Bob\n+say\na  b' "$(tail -n 6 "$game/client.args")"

game=$(script_game close)
ini_popup "$game"
start_script "$game"
wait_dialog && "$ORVEK_TOOLS/wm-delete" "$DIALOG"
wait_launcher
expect_eq "closing the window exits 0" 0 "$EXIT_STATUS"
expect_eq "closing the window starts nothing" "" "$(cat "$game/client.args" 2>/dev/null)"

# --- what is missing -----------------------------------------------------------
game=$(script_game noclient)
rm "$game/client"
run_script "$game"
expect_eq "a missing client fails" 127 "$EXIT_STATUS"
expect_eq "a missing client is one clear line" "orvek: ./client is missing in $game: the game is not installed here" "$(cat "$game.err")"

rm "$game/orvek-launcher"
run_script "$game"
expect_eq "a missing launcher is one clear line" "orvek: orvek-launcher is missing in $game" "$(cat "$game.err")"

game=$(script_game nodisplay)
(unset DISPLAY; cd "$WORK" && exec "$game/orvek") >"$game.out" 2>"$game.err"
expect_eq "no display fails" 1 "$?"
expect_grep "no display is explained" "^orvek: no X display" "$game.err"

# --- installing ----------------------------------------------------------------
stage="$WORK/stage"
DESTDIR="$stage" cmake --install "$ORVEK_BUILD" --prefix /opt/orvek >"$WORK/install.log" 2>&1
expect_eq "install succeeds" 0 "$?"
gamedir="$stage/opt/orvek/lib/games/orvek"
for file in "$gamedir/orvek" "$gamedir/orvek-launcher" "$gamedir/pixmaps/orvek.xpm" \
    "$gamedir/software.ren" "$gamedir/opengl.ren" \
    "$stage/opt/orvek/share/applications/orvek.desktop" \
    "$stage/opt/orvek/share/icons/hicolor/scalable/apps/orvek.svg" \
    "$stage/opt/orvek/share/man/man6/orvek-launcher.6"; do
    if [ -f "$file" ]; then pass; else fail "install lays out ${file#$stage}"; fi
done
expect_eq "no test plug-in is installed" "" "$(find "$stage" -path '*test*' -name '*.ren')"
expect_grep "the desktop entry runs the installed start script" '^Exec=/opt/orvek/lib/games/orvek/orvek$' \
    "$stage/opt/orvek/share/applications/orvek.desktop"
desktop-file-validate "$stage/opt/orvek/share/applications/orvek.desktop" >"$WORK/validate.log" 2>&1
expect_eq "the desktop entry is valid: $(cat "$WORK/validate.log")" 0 "$?"
MANWIDTH=80 man -l "$stage/opt/orvek/share/man/man6/orvek-launcher.6" >"$WORK/man.txt" 2>"$WORK/man.err"
expect_grep "the manual page renders" "EXIT STATUS" "$WORK/man.txt"
expect_eq "the manual page renders without warnings" "" "$(cat "$WORK/man.err")"

write_client "$gamedir"
run_script "$gamedir"
expect_eq "the installed start script runs the client" 3 "$EXIT_STATUS"
expect_grep "the installed launcher found the installed renderers" '^opengl.ren$' "$gamedir/client.args"

finish
