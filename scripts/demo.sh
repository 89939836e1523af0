#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the launcher and starts the bundled demo game through its start
# script: the dialog appears, and Launch runs the demo's stand-in client.
# Extra arguments go to the start script (--print, --setup, --no-setup).
# It installs only what building and running need, so a build folder that
# it makes has no test suites; scripts/test.sh adds them.
set -eu
cd "$(dirname "$0")/.."

say() {
    echo "demo.sh: $*" >&2
}

scripts/install-deps.sh
options=()
[ -f build/CMakeCache.txt ] || options=(-DORVEK_TESTS=OFF)
say "configuring the build in build/"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
say "building the launcher, the sample renderers and the demo game build/demo"
cmake --build build -j"$(nproc)" --target demo-dir >&2
say "starting build/demo/orvek $*"
exec build/demo/orvek "$@"
