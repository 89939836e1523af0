#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Lays out the large game directories for the benchmark:
#
#   gen-large.sh SOURCE_DIR DEMO_DIR OUT_DIR
#
# For each count N of ARCHIVES (default "5000 20000") and each ORDER of
# "name reversed shuffled", OUT_DIR/N-ORDER is a game directory with the demo
# game's look, picture and sound, PLUGINS renderer plug-ins r000.ren ... with
# MODES display modes each (built once from plugins/renderer.c into
# OUT_DIR/plugins, one shared object per plug-in so that each is loaded on
# its own), N empty archives custom/archive00000.rez ..., an
# OrvekLauncher.ini that keeps the dialog closed and has "AlwaysLoad" on, and
# a RezList naming every archive once: in name order, in reverse order, or in
# a fixed random order (a Fisher-Yates shuffle driven by the Park-Miller
# generator from seed 15, so every machine gets the same order). The
# directory's .OrvekLauncher.ini and .RezList keep the start state, since the
# launcher rewrites both. autoexec.cfg names the plug-in in the middle and a
# size it offers.
#
# The plug-ins take a while to compile, so finished layouts are kept: each
# is rebuilt only when the counts, this script or renderer.c change.
set -eu

source_dir=$(cd "$1" && pwd)
demo_dir=$(cd "$2" && pwd)
out=$3
PLUGINS=${PLUGINS:-200}
MODES=${MODES:-50}
ARCHIVES=${ARCHIVES:-5000 20000}
CC=${CC:-cc}

renderer_c=$source_dir/plugins/renderer.c
plugin_stamp="$PLUGINS $MODES $(cat "$0" "$renderer_c" | cksum)"
# An older layout kept a single directory in OUT_DIR itself.
if [ -f "$out/.layout" ]; then rm -rf "$out"; fi
mkdir -p "$out"

# --- Plug-ins, shared by every layout ----------------------------------------
if ! { [ -f "$out/plugins/.layout" ] && [ "$(cat "$out/plugins/.layout")" = "$plugin_stamp" ]; }; then
    rm -rf "$out/plugins"
    mkdir -p "$out/plugins"
    # MODES modes: half as many sizes as modes, each at 16 and 32 bits per
    # pixel (an odd count gets one more 16-bit mode), sizes growing from
    # 640x480 in steps of 32x24.
    modes=
    for ((m = 0; m < MODES; m++)); do
        k=$((m / 2))
        depth=$((m % 2 ? 32 : 16))
        modes+="${modes:+,}$((640 + 32 * k)),$((480 + 24 * k)),$depth"
    done
    build_one() {
        local i=$1 name
        name=$(printf 'r%03d' "$i")
        "$CC" -O2 -shared -fPIC -o "$out/plugins/$name.ren" "$renderer_c" -I"$source_dir/src" \
            -DRENDERER_FILE="\"$name.ren\"" -DRENDERER_NAME="\"$name\"" \
            -DRENDERER_DESCRIPTION="\"Renderer $name\"" -DRENDERER_MODES="$modes" -ldl
    }
    export -f build_one
    export out renderer_c source_dir modes CC
    seq 0 $((PLUGINS - 1)) | xargs -P 2 -I{} bash -c 'build_one {}'
    printf '%s' "$plugin_stamp" >"$out/plugins/.layout"
fi

middle=$((PLUGINS / 2))
size_k=$(((MODES / 2) / 2))

# list_in ORDER: the archive names of standard input, in ORDER.
list_in() {
    case $1 in
    name) cat ;;
    reversed) tac ;;
    shuffled)
        awk '{ v[NR] = $0 }
             END {
                 seed = 15
                 for (i = NR; i > 1; i--) {
                     seed = (seed * 16807) % 2147483647
                     j = 1 + seed % i
                     t = v[i]; v[i] = v[j]; v[j] = t
                 }
                 for (i = 1; i <= NR; i++) print v[i]
             }' ;;
    *) echo "unknown order $1" >&2; exit 1 ;;
    esac
}

# --- One game directory per count and order ----------------------------------
for count in $ARCHIVES; do
    for order in name reversed shuffled; do
        dir=$out/$count-$order
        stamp="$plugin_stamp $count $order"
        if [ -f "$dir/.layout" ] && [ "$(cat "$dir/.layout")" = "$stamp" ]; then
            # The launcher rewrites these on every launch; start from the same state.
            cp "$dir/.OrvekLauncher.ini" "$dir/OrvekLauncher.ini"
            cp "$dir/.RezList" "$dir/RezList"
            continue
        fi
        rm -rf "$dir"
        mkdir -p "$dir/custom" "$dir/pixmaps"
        cp "$demo_dir/OrvekLauncher.rc" "$demo_dir/orvek.wav" "$dir/"
        cp "$demo_dir/pixmaps/"* "$dir/pixmaps/"
        cp "$out/plugins/"*.ren "$dir/"
        # Archives: empty files do, the launcher only lists them. Five digits
        # keep name order and the folder's sorted order the same at any count
        # up to 100,000.
        awk -v n="$count" 'BEGIN { for (i = 0; i < n; i++) printf "archive%05d.rez\n", i }' >"$dir/.names"
        (cd "$dir/custom" && xargs touch -- <../.names)
        list_in "$order" <"$dir/.names" >"$dir/.RezList"
        rm "$dir/.names"
        cat >"$dir/autoexec.cfg" <<EOF
"RenderDll" "$(printf 'r%03d' "$middle").ren"
"ScreenWidth" "$((640 + 32 * size_k))"
"ScreenHeight" "$((480 + 24 * size_k))"
"Sound16Bit" "1"
"NumSWVoices" "16"
EOF
        cat >"$dir/.OrvekLauncher.ini" <<EOF
[OrvekLauncher]
AlwaysPopup = No

[RezFiles]
AlwaysLoad = Yes
EOF
        cp "$dir/.OrvekLauncher.ini" "$dir/OrvekLauncher.ini"
        cp "$dir/.RezList" "$dir/RezList"
        printf '%s' "$stamp" >"$dir/.layout"
    done
done
