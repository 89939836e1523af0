# Shared by the end-to-end tests: a temporary game directory, a private X
# server, the real launcher run in it, and checks that count failures.
# The environment gives ORVEK_BUILD (build tree), ORVEK_SOURCE (source tree)
# and ORVEK_TOOLS (test helper programs).
set -u

LAUNCHER="$ORVEK_BUILD/orvek-launcher"
PLUGINS="$ORVEK_BUILD/plugins"
WORK=$(mktemp -d)
LAUNCHER_PID=
FAILURES=0
CHECKS=0
WAIT_SECONDS=${WAIT_SECONDS:-30}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

. "$ORVEK_SOURCE/tests/xvfb.sh"

cleanup() {
    # KILL, not TERM: a launcher stuck in a broken state must not keep the
    # test waiting.
    if [ -n "$LAUNCHER_PID" ]; then kill -KILL "$LAUNCHER_PID" 2>/dev/null; wait "$LAUNCHER_PID" 2>/dev/null; fi
    stop_xvfb
    rm -rf "$WORK"
}
trap cleanup EXIT

# --- checks ------------------------------------------------------------------

pass() { CHECKS=$((CHECKS + 1)); }
fail() { CHECKS=$((CHECKS + 1)); FAILURES=$((FAILURES + 1)); printf 'FAIL: %s\n' "$*" >&2; }

# expect_eq what expected actual
expect_eq() {
    if [ "$2" == "$3" ]; then pass; else fail "$1"$'\n'"  expected: [$2]"$'\n'"  actual:   [$3]"; fi
}

# expect_file what expected-content file (exact bytes, trailing newlines included)
expect_file() {
    if [ ! -f "$3" ]; then fail "$1: $3 does not exist"; return; fi
    if printf '%s' "$2" | cmp -s - "$3"; then pass; else
        fail "$1"$'\n'"  expected: $(printf '%s' "$2" | od -c | head -20)"$'\n'"  actual:   $(od -c "$3" | head -20)"
    fi
}

# expect_grep what pattern file
expect_grep() { if grep -q -- "$2" "$3" 2>/dev/null; then pass; else fail "$1: no [$2] in $3"; fi; }
expect_no_grep() { if grep -q -- "$2" "$3" 2>/dev/null; then fail "$1: unexpected [$2] in $3"; else pass; fi; }

finish() {
    echo "$((CHECKS - FAILURES)) passed, $FAILURES failed"
    [ "$FAILURES" -eq 0 ]
    exit
}

# --- game directories -------------------------------------------------------

# new_gamedir NAME: an empty game directory; its path is printed.
new_gamedir() {
    local dir="$WORK/$1"
    rm -rf "$dir"
    mkdir -p "$dir"
    printf '%s\n' "$dir"
}

# add_plugins DIR NAME...: copies sample plug-ins (without .ren) into DIR.
add_plugins() {
    local dir=$1; shift
    local name
    for name in "$@"; do cp "$PLUGINS/$name.ren" "$dir/"; done
}

# ini_popup DIR: an INI file that makes the dialog appear.
ini_popup() {
    printf '[OrvekLauncher]\n\n\tAlwaysPopup = Yes\n' >"$1/OrvekLauncher.ini"
}

# --- running the launcher ----------------------------------------------------

# start_launcher DIR [args]: runs the launcher in DIR in the background;
# its output goes to DIR.out and DIR.err.
start_launcher() {
    local dir=$1; shift
    (cd "$dir" && exec "$LAUNCHER" "$@") >"$dir.out" 2>"$dir.err" &
    LAUNCHER_PID=$!
}

# wait_launcher: waits (bounded) for the launcher to end; sets EXIT_STATUS.
wait_launcher() {
    local deadline=$((SECONDS + WAIT_SECONDS))
    while kill -0 "$LAUNCHER_PID" 2>/dev/null; do
        if [ $SECONDS -ge $deadline ]; then
            fail "launcher did not end within $WAIT_SECONDS s"
            kill -KILL "$LAUNCHER_PID" 2>/dev/null
            break
        fi
        sleep 0.05
    done
    wait "$LAUNCHER_PID"
    EXIT_STATUS=$?
    LAUNCHER_PID=
}

# run_launcher DIR [args]: runs the launcher to its end (no dialog expected).
run_launcher() {
    start_launcher "$@"
    wait_launcher
}

# wait_dialog: the id of the launcher's mapped dialog window, in DIALOG.
wait_dialog() {
    DIALOG=$(timeout "$WAIT_SECONDS" xdotool search --sync --onlyvisible --name '^Orvek Demo$' 2>/dev/null | head -n 1)
    if [ -z "$DIALOG" ]; then fail "the dialog did not appear"; return 1; fi
    xdotool windowfocus --sync "$DIALOG"
}

# press KEY...: keys typed into the focused dialog, as xdotool names them.
press() { xdotool key --clearmodifiers --delay 30 "$@"; }

# Widget positions are found by the dialog's own layout; clicking by
# coordinates is left to tests that know them.
