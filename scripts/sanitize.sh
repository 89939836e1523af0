#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# (ORVEK_SANITIZE) into build-asan and runs the whole test suite there. CTest
# gives every test, and the launcher that the end-to-end scripts start, the
# sanitizer options and leak suppressions of tests/sanitizers/. Extra
# arguments go to CMake.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests
# -O1 keeps the instrumented build and its runs quick on a small machine.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVEK_SANITIZE=ON \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" "$@" >/dev/null
cmake --build build-asan -j"$(nproc)"
cd build-asan
ctest --output-on-failure -j2
