#!/usr/bin/env bash
# An install into a staging directory lays out the documented files and
# works from there.
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

# start_script GAME [args]: runs the start script from another directory.
start_script() {
    local game=$1; shift
    (cd "$WORK" && exec "$game/orvek" "$@") >"$game.out" 2>"$game.err" &
    LAUNCHER_PID=$!
}

run_script() { start_script "$@"; wait_launcher; }

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
