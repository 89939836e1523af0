#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the launcher and starts the bundled demo game through its start
# script: the dialog appears, and Launch runs the demo's stand-in client.
# Extra arguments go to the start script (--print, --setup, --no-setup).
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" >/dev/null
exec build/demo/orvek "$@"
