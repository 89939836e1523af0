#!/usr/bin/env bash
# Builds the launcher and runs it on the bundled demo game directory.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" >/dev/null
cd build/demo
exec ../orvek-launcher
