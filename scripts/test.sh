#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds everything and runs every test suite. Extra arguments go to CMake.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests
# A build folder that scripts/demo.sh made has no test suites yet.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVEK_TESTS=ON "$@" >/dev/null
cmake --build build -j"$(nproc)"
cd build
ctest --output-on-failure -j2
