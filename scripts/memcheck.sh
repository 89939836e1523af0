#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The launcher under valgrind memcheck on its no-dialog path, in a game
# directory like the demo's: first without an INI file (the line comes at
# once with the defaults), then with the INI file, RezList and archives of
# a remembered choice. Fails on any invalid read or write, any use of
# uninitialised memory and any definitely lost block that the toolkit
# suppressions in tests/valgrind/toolkit.supp do not cover.
# First it shows on a canary program that these settings do catch each
# kind of fault.
#   scripts/memcheck.sh [BUILD_DIR]    (default: its own tree, build-memcheck)
set -eu
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh --tests valgrind

build=${1:-}
if [ -z "$build" ]; then
    build=build-memcheck
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVEK_TESTS=OFF >/dev/null
    cmake --build "$build" -j"$(nproc)" --target orvek-launcher plugins >/dev/null
fi
build=$(cd "$build" && pwd)

work=$(mktemp -d)
. scripts/xvfb.sh
trap 'stop_xvfb; rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=dummy

ERRORS=97
# Where no session bus runs, libdbus forks to start dbus-launch; that child
# is not the launcher, and its report would only hide the launcher's.
memcheck() {
    valgrind --tool=memcheck --error-exitcode=$ERRORS --leak-check=full \
        --show-leak-kinds=definite --errors-for-leak-kinds=definite --track-origins=yes \
        --num-callers=40 --child-silent-after-fork=yes \
        --suppressions="$root/tests/valgrind/toolkit.supp" "$@"
}

# --- the canary: each fault must fail the check -----------------------------------
cc -O0 -g -o "$work/canary" tests/valgrind/canary.c $(pkg-config --cflags --libs glib-2.0)
status=0
for fault in "" leak read write uninit; do
    set +e
    memcheck -q "$work/canary" $fault >/dev/null 2>"$work/canary.log"
    rc=$?
    set -e
    want=$ERRORS
    [ -z "$fault" ] && want=0
    if [ "$rc" -ne "$want" ]; then
        echo "memcheck: the canary's ${fault:-clean} run ended with $rc, not $want" >&2
        cat "$work/canary.log" >&2
        status=1
    fi
done
[ $status -eq 0 ] || exit 1
echo "memcheck: the canary's leak, invalid read, invalid write and uninitialised branch are all caught"

# --- the launcher -------------------------------------------------------------------
start_xvfb "$work"
game=$work/game
mkdir -p "$game/custom" "$game/pixmaps"
cp "$build/plugins/software.ren" "$build/plugins/opengl.ren" "$game/"
cp pixmaps/orvek.xpm "$game/pixmaps/"
cp demo/OrvekLauncher.rc "$game/"
: >"$game/custom/maps.rez"
: >"$game/custom/sounds.rez"
printf '"RenderDll" "software.ren"\n"ScreenWidth" "800"\n"ScreenHeight" "600"\n"Sound16Bit" "0"\n' >"$game/autoexec.cfg"

# run NAME EXPECTED-LINE: the launcher in the game directory under memcheck.
run() {
    local name=$1 expected=$2 rc
    set +e
    (cd "$game" && memcheck "$build/orvek-launcher") >"$work/$name.out" 2>"$work/$name.log"
    rc=$?
    set -e
    if [ "$rc" -ne 0 ]; then
        echo "memcheck: $name: exit status $rc ($ERRORS: memcheck found errors)" >&2
        grep -v '^==[0-9]*== *$' "$work/$name.log" | head -n 200 >&2
        exit 1
    fi
    if [ "$(cat "$work/$name.out")" != "$expected" ]; then
        echo "memcheck: $name: unexpected output [$(cat "$work/$name.out")]" >&2
        exit 1
    fi
    echo "memcheck: $name: $(grep -o 'ERROR SUMMARY: .*' "$work/$name.log" | head -n 1)"
}

head='./client -autoconfig autoexec.cfg +savedirectory ./ -rez orvekdem.rez +renderdll software.ren +screenwidth 800 +screenheight 600 +Sound16Bit 0'
run "first run, no INI file" "$head +NumSWVoices 16 -config autoexec.cfg -conskey 291 "

printf '[Advanced]\n\tConsoleKey = 96\n\tDisableMusic = Yes\n\tUseCommandLine = Yes\n\tCommandLine = +windowed 1\n[RezFiles]\n\tAlwaysLoad = Yes\n[Sound]\n\tNumVoices = 24\n' \
    >"$game/OrvekLauncher.ini"
printf 'sounds.rez\nMAPS.REZ\nmissing.rez\n' >"$game/RezList"
run "remembered choices" "$head +NumSWVoices 24 +DisableMusic 1 -config autoexec.cfg -conskey 96 +windowed 1 "
if [ "$(cat "$game/RezList")" != $'sounds.rez\nMAPS.REZ' ]; then
    echo "memcheck: remembered choices: RezList holds [$(cat "$game/RezList")]" >&2
    exit 1
fi
