#!/usr/bin/env bash
# Lays out a large game directory for the benchmark:
#
#   gen-large.sh SOURCE_DIR DEMO_DIR OUT_DIR
#
# OUT_DIR gets the demo game's look, picture and sound, PLUGINS renderer
# plug-ins r000.ren ... with MODES display modes each (built from
# plugins/renderer.c, one shared object per plug-in so that each is loaded on
# its own), ARCHIVES empty archives
# custom/archive0000.rez ..., an OrvekLauncher.ini that keeps the dialog
# closed and has "AlwaysLoad" on, and a RezList naming every archive in name
# order. autoexec.cfg names the plug-in in the middle and a size it offers.
#
# The plug-ins take a while to compile, so a finished layout is kept: it is
# rebuilt only when the counts, this script or renderer.c change.
set -eu

source_dir=$(cd "$1" && pwd)
demo_dir=$(cd "$2" && pwd)
out=$3
PLUGINS=${PLUGINS:-200}
MODES=${MODES:-50}
ARCHIVES=${ARCHIVES:-5000}
CC=${CC:-cc}

renderer_c=$source_dir/plugins/renderer.c
stamp_text="$PLUGINS $MODES $ARCHIVES $(cat "$0" "$renderer_c" | cksum)"
if [ -f "$out/.layout" ] && [ "$(cat "$out/.layout")" = "$stamp_text" ]; then
    # The launcher rewrites these on every launch; start from the same state.
    cp "$out/.OrvekLauncher.ini" "$out/OrvekLauncher.ini"
    cp "$out/.RezList" "$out/RezList"
    exit 0
fi

rm -rf "$out"
mkdir -p "$out/custom" "$out/pixmaps"
cp "$demo_dir/OrvekLauncher.rc" "$demo_dir/orvek.wav" "$out/"
cp "$demo_dir/pixmaps/"* "$out/pixmaps/"

# MODES modes: half as many sizes as modes, each at 16 and 32 bits per pixel
# (an odd count gets one more 16-bit mode), sizes growing from 640x480 in
# steps of 32x24.
modes=
for ((m = 0; m < MODES; m++)); do
    k=$((m / 2))
    depth=$((m % 2 ? 32 : 16))
    modes+="${modes:+,}$((640 + 32 * k)),$((480 + 24 * k)),$depth"
done
middle=$((PLUGINS / 2))
size_k=$(((MODES / 2) / 2))

build_one() {
    local i=$1 name
    name=$(printf 'r%03d' "$i")
    "$CC" -O2 -shared -fPIC -o "$out/$name.ren" "$renderer_c" -I"$source_dir/src" \
        -DRENDERER_FILE="\"$name.ren\"" -DRENDERER_NAME="\"$name\"" \
        -DRENDERER_DESCRIPTION="\"Renderer $name\"" -DRENDERER_MODES="$modes" -ldl
}
export -f build_one
export out renderer_c source_dir modes CC
seq 0 $((PLUGINS - 1)) | xargs -P 2 -I{} bash -c 'build_one {}'

# Archives: empty files do, the launcher only lists them.
(
    cd "$out/custom"
    for ((a = 0; a < ARCHIVES; a++)); do
        printf -v name 'archive%04d.rez' "$a"
        : >"$name"
        printf '%s\n' "$name"
    done
) >"$out/.RezList"

cat >"$out/autoexec.cfg" <<EOF
"RenderDll" "$(printf 'r%03d' "$middle").ren"
"ScreenWidth" "$((640 + 32 * size_k))"
"ScreenHeight" "$((480 + 24 * size_k))"
"Sound16Bit" "1"
"NumSWVoices" "16"
EOF
cat >"$out/.OrvekLauncher.ini" <<EOF
[OrvekLauncher]
AlwaysPopup = No

[RezFiles]
AlwaysLoad = Yes
EOF
cp "$out/.OrvekLauncher.ini" "$out/OrvekLauncher.ini"
cp "$out/.RezList" "$out/RezList"
printf '%s' "$stamp_text" >"$out/.layout"
