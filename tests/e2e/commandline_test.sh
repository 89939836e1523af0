#!/usr/bin/env bash
# The game client's command line, byte for byte, as the real binary prints
# it: the documented example with both endings, every switch at once in its
# fixed order, and a game directory without any renderer plug-in.
. "$(dirname "$0")/lib.sh"
start_xvfb "$WORK" || exit 1

HEAD='./client -autoconfig autoexec.cfg +savedirectory ./ -rez orvekdem.rez '

# --- The example: sample.ren at 640x480, only music disabled ----------------
EXAMPLE="${HEAD}+renderdll sample.ren +screenwidth 640 +screenheight 480 +Sound16Bit 1 +NumSWVoices 16 +DisableMusic 1 -config autoexec.cfg -conskey 291 "
for ending in alt+m:"+multiplayer 1" alt+l:""; do
    keys=${ending%%:*}
    game=$(new_gamedir "example-$keys")
    cp "$PLUGINS/software.ren" "$game/sample.ren"
    printf '"ScreenWidth" "640"\n"ScreenHeight" "480"\n' >"$game/autoexec.cfg"
    printf '[OrvekLauncher]\nAlwaysPopup = Yes\n[Advanced]\nDisableMusic = Yes\n' >"$game/OrvekLauncher.ini"
    start_launcher "$game"
    wait_dialog && press "$keys"
    wait_launcher
    expect_file "example, $keys" "$EXAMPLE${ending#*:}"$'\n' "$game.out"
done

# --- Everything at once -----------------------------------------------------
# Stored switches, windowed play, 8-bit sound, 24 voices, key 96 and a raw
# custom text come from the files; fog and factory defaults, which are never
# stored, are ticked in the dialog (fifth and thirteenth focusable widgets of
# the third page).
game=$(new_gamedir everything)
add_plugins "$game" software
printf '"ScreenWidth" "800"\n"ScreenHeight" "600"\n"Sound16Bit" "0"\n' >"$game/autoexec.cfg"
{
    printf '[OrvekLauncher]\nAlwaysPopup = Yes\n[Display]\nFullscreen = No\n[Sound]\nNumVoices = 24\n'
    printf '[Advanced]\nConsoleKey = 96\nUseCommandLine = Yes\n'
    printf 'CommandLine = +name "Rook  Vale" -x\n'
    for key in DisableSound DisableMusic DisableMovies DisableLightMapping DisableLineSystems \
        DisableModelFullbrights EnablePolygapFixing EnableSinglePass EnableMoviePixelDouble; do
        printf '%s = Yes\n' "$key"
    done
} >"$game/OrvekLauncher.ini"
start_launcher "$game"
if wait_dialog; then
    press ctrl+Next ctrl+Next ctrl+Next Left Tab Tab Tab Tab space
    press Tab Tab Tab Tab Tab Tab Tab Tab space alt+l
fi
wait_launcher
expect_file "every switch in its order, then -config, key and custom text" \
    "${HEAD}+renderdll software.ren +screenwidth 800 +screenheight 600 +windowed 1 +Sound16Bit 0 +NumSWVoices 24 +DisableSound 1 +DisableMusic 1 +DisableMovies 1 +DisableLightmap 1 +DisableFog 1 +DisableLines 1 +DisableModelFB 1 +EnableTjuncs 1 +EnableMultiTex 1 +DoubleMovies 1 -config defaults.cfg -conskey 96 +name \"Rook  Vale\" -x "$'\n' \
    "$game.out"
expect_no_grep "fog and factory defaults are not stored" 'Fog\|Factory' "$game/OrvekLauncher.ini"

# --- No renderer plug-in: the game keeps the renderer it is configured for --
game=$(new_gamedir no-plugin)
printf '"RenderDll" "gone.ren"\n"ScreenWidth" "1024"\n"ScreenHeight" "768"\n' >"$game/autoexec.cfg"
run_launcher "$game"
expect_file "no plug-in: no +renderdll, the stored size" \
    "${HEAD}+screenwidth 1024 +screenheight 768 +Sound16Bit 1 +NumSWVoices 16 -config autoexec.cfg -conskey 291 "$'\n' \
    "$game.out"

finish
