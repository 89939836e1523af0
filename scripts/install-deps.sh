#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages that building and running the launcher need,
# with --tests also those of the tests and the hardening checks, and any
# further packages named as arguments (the hardening scripts ask for theirs
# so). Does nothing when they are all present already; otherwise apt-get
# runs, through sudo unless we are root.
#   scripts/install-deps.sh [--tests] [PACKAGE...]
# packaging/debian/control's Build-Depends follow the two lists: the build's
# packages as they are, the tests' marked <!nocheck>.
set -eu
build_and_run=(
    build-essential cmake pkg-config
    libgtk-3-dev libsdl1.2-dev libx11-dev
    # The translations: the build compiles the catalogues and merges them
    # into the desktop entry and the AppStream file; the start script says
    # its messages through the gettext program.
    gettext gettext-base
    # GTK's theme draws its check marks and arrows from SVG images, which
    # GTK only recommends a loader for.
    librsvg2-common
)
tests=(
    googletest libgtest-dev
    xvfb xauth xdotool xclip x11-utils imagemagick python3 python3-xlib
    # The game's icon drawn by librsvg, as GTK draws it, to compare the
    # window's icon with.
    librsvg2-bin
    # The desktop entry's actions launched as the menu does, through GIO.
    python3-gi
    # The pictures' fonts: DejaVu, with the italic faces that a resource file
    # may ask for (fontconfig would otherwise slant the upright ones).
    fonts-dejavu-core fonts-dejavu-extra
    # A player's locale that writes numbers with a comma, and those of the
    # shipped languages, made by the cases; the Japanese pictures' font.
    locales fonts-vlgothic
    # The focus ring's pixels: their contrast, and which belong together.
    python3-numpy python3-scipy python3-pil
    # The launcher killed at each system call of its saves.
    strace
    # The Wayland cases' keyboard takes Xvfb's keymap through xkbcomp.
    sway xwayland python3-i3ipc x11-xkb-utils dbus-daemon at-spi2-core python3-pyatspi
    desktop-file-utils appstream man-db groff-base mandoc libglib2.0-bin shellcheck
)
packages=("${build_and_run[@]}")
if [ "${1-}" = --tests ]; then
    packages+=("${tests[@]}")
    shift
fi
packages+=("$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo
echo "Installing${sudo:+ with sudo}: ${missing[*]}" >&2
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
