#!/usr/bin/env bash
# Takes the README's screenshots: the demo game's dialog, one picture per
# page, from the real window under a private Xvfb. Needs ImageMagick's
# `import` and a built tree (scripts/demo.sh or scripts/test.sh first;
# BUILD_DIR names another build directory).
set -eu
cd "$(dirname "$0")/.."
out=docs/screenshots
mkdir -p "$out"
work=$(mktemp -d)
. tests/xvfb.sh
launcher_pid=
trap '[ -n "$launcher_pid" ] && kill "$launcher_pid" 2>/dev/null; stop_xvfb; rm -rf "$work"' EXIT
start_xvfb "$work"

cp -r "${BUILD_DIR:-build}/demo" "$work/game"
# The demo as shipped, not as last played: a rebuild keeps the choices.
cp demo/OrvekLauncher.ini demo/autoexec.cfg "$work/game/"
rm -f "$work/game/RezList"
(cd "$work/game" && SDL_AUDIODRIVER=dummy exec ./orvek-launcher) >/dev/null &
launcher_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Orvek Demo$' | head -n 1)
xdotool windowfocus --sync "$window"

for page in title display sound advanced customize; do
    # Let the page draw before it is captured.
    timeout 10 bash -c 'until xwininfo -id "$0" | grep -q IsViewable; do sleep 0.05; done' "$window"
    xdotool sync 2>/dev/null || true
    sleep 0.3
    import -window "$window" "$out/$page.png"
    xdotool key --clearmodifiers ctrl+Next
done
xdotool key --clearmodifiers alt+c
wait "$launcher_pid" || true
launcher_pid=
echo "screenshots in $out"
