#!/usr/bin/env bash
# Renderer plug-ins with the real binary: which plug-in the game's
# "RenderDll" picks, which modes the dialog then offers, sizes kept or
# chosen, and broken plug-ins among good ones.
. "$(dirname "$0")/lib.sh"
start_xvfb "$WORK" || exit 1

# renderer DIR FILE DESCRIPTION MODE...: a plug-in reporting those modes.
renderer() {
    local dir=$1 file=$2 description=$3
    shift 3
    cp "$PLUGINS/test/configurable.ren" "$dir/$file"
    printf '%s\n' "$description" "$@" >"$dir/$file.modes"
}

# The rest of the line after the size.
TAIL='+Sound16Bit 1 +NumSWVoices 16 -config autoexec.cfg -conskey 291 '
HEAD='./client -autoconfig autoexec.cfg +savedirectory ./ -rez orvekdem.rez '

# The Display page: the renderer list, then Tab to the resolution list.
to_renderers() { press ctrl+Next Left; }

# --- "RenderDll" names the second of three, in other letters ---------------
game=$(new_gamedir by-name)
renderer "$game" a.ren Alpha 640x480-16 1280x1024-32
renderer "$game" b.ren Beta 800x600-16 1024x768-16
renderer "$game" c.ren Gamma 320x200-8 400x300-8
printf '"RenderDll" "B.REN"\n' >"$game/autoexec.cfg"
ini_popup "$game"
start_launcher "$game"
# The second row of the offered modes is the second plug-in's.
wait_dialog && to_renderers && press Tab Down alt+l
wait_launcher
expect_file "B.REN picks b.ren and offers its modes" \
    "${HEAD}+renderdll b.ren +screenwidth 1024 +screenheight 768 $TAIL"$'\n' "$game.out"

# A name that only ends like a longer file name picks nothing: the first
# plug-in stays.
mv "$game/c.ren" "$game/xc.ren"
mv "$game/c.ren.modes" "$game/xc.ren.modes"
printf '"RenderDll" "C.ren"\n' >"$game/autoexec.cfg"
rm "$game/OrvekLauncher.ini"
run_launcher "$game"
expect_file "C.ren does not pick xc.ren" "${HEAD}+renderdll a.ren +screenwidth 0 +screenheight 0 $TAIL"$'\n' "$game.out"

# --- A stored size the plug-in does not offer is kept until a row is picked --
game=$(new_gamedir size)
add_plugins "$game" software
printf '"ScreenWidth" "1280"\n"ScreenHeight" "1024"\n' >"$game/autoexec.cfg"
ini_popup "$game"
start_launcher "$game"
wait_dialog && press alt+l
wait_launcher
expect_file "size not offered: kept" "${HEAD}+renderdll software.ren +screenwidth 1280 +screenheight 1024 $TAIL"$'\n' "$game.out"
start_launcher "$game"
wait_dialog && to_renderers && press Tab Down alt+l
wait_launcher
expect_file "size not offered: the picked row wins" "${HEAD}+renderdll software.ren +screenwidth 800 +screenheight 600 $TAIL"$'\n' "$game.out"

# --- Broken plug-ins keep their rows, so the numbers still match ------------
game=$(new_gamedir broken)
echo "not a shared object" >"$game/a.ren"
cp "$PLUGINS/test/nomodes.ren" "$game/b.ren"
cp "$PLUGINS/test/nofree.ren" "$game/c.ren"
renderer "$game" d.ren Delta 640x480-16 800x600-16
printf '"RenderDll" "d.ren"\n"ScreenWidth" "640"\n"ScreenHeight" "480"\n' >"$game/autoexec.cfg"
ini_popup "$game"
start_launcher "$game"
# Up visits a broken row (no modes to offer), Down returns to the last, the
# working plug-in; its second mode is picked.
wait_dialog && to_renderers && press Up Down Down Down Tab Down alt+l
wait_launcher
expect_file "broken plug-ins before the good one" \
    "${HEAD}+renderdll d.ren +screenwidth 800 +screenheight 600 $TAIL"$'\n' "$game.out"

finish
