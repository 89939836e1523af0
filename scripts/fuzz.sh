#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets of fuzz/ with clang into build-fuzz and runs
# each for SECONDS (default 60), or for N executions, one target after the
# other. Each starts from its corpus in build-fuzz/corpus/TARGET, which keeps
# what earlier runs found, seeded with the small minimised corpus of
# fuzz/corpus/TARGET (the campaign's corpus, which grew from the golden
# cases' input files, minimised).
# A finding stops the run with its reproducer kept under build-fuzz/findings/
# and makes the script fail. The targets' own standard error is closed, since
# the launcher's messages about broken files would cost most of the run; run
# the reproducer to see a finding's report.
#   scripts/fuzz.sh [SECONDS | -runs=N [TARGET...]]
#   targets: ini config format rezlist rc
# Reproduce a finding with: build-fuzz/fuzz/fuzz_TARGET FILE (the rezlist
# target under xvfb-run -a).
set -eu
cd "$(dirname "$0")/.."
root=$PWD
limit=${1:-60}
[ $# -gt 0 ] && shift
case $limit in
    -runs=*) ;;
    *) limit=-max_total_time=$limit ;;
esac
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(ini config format rezlist rc)

# clang's sanitizers name a report's functions only through llvm-symbolizer
# (package llvm); without names the leak suppressions that name a function
# cannot match, and a finding's report is hard to read.
scripts/install-deps.sh --tests clang libclang-rt-dev llvm
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
    -DORVEK_SANITIZE=ON -DORVEK_FUZZ=ON -DORVEK_TESTS=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target $(printf 'fuzz_%s ' "${targets[@]}") >/dev/null

export ASAN_OPTIONS="detect_leaks=1:fast_unwind_on_malloc=0:${ASAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0:${LSAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
# As in tests/sanitizers/environment.cmake.in: GLib's slabs would hide lost objects.
export G_SLICE=${G_SLICE:-always-malloc}
# No screen reader follows a fuzzed dialog. Without the accessibility bridge
# the toolkit does not look for a session bus either, whose lost error text
# the leak suppressions recognise only in a fully unwound stack; a campaign
# that unwinds fast (docs/fuzzing.md) would report it at the end of every run.
export NO_AT_BRIDGE=1

work=$(mktemp -d)
findings=$root/build-fuzz/findings
mkdir -p "$findings"
. scripts/xvfb.sh
trap 'stop_xvfb; rm -rf "$work"' EXIT
# The archive-list target drives the real dialog, which needs a display.
start_xvfb "$work"

# Lines longer than the readers' buffers need inputs of some kilobytes. The
# resource file's reader has no such buffers, and 2 KB hold a game's whole
# file (the demo's has 1.2 KB); longer inputs would only slow the run.
declare -A max_len=([ini]=8192 [config]=8192 [format]=4096 [rezlist]=4096 [rc]=2048)
status=0
for target in "${targets[@]}"; do
    corpus=$root/build-fuzz/corpus/$target
    mkdir -p "$corpus"
    cp fuzz/corpus/"$target"/* "$corpus"
    log=$work/$target.log
    start=$SECONDS
    if (cd "$work" && "$root/build-fuzz/fuzz/fuzz_$target" "$limit" \
        -max_len="${max_len[$target]}" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 -close_fd_mask=2 \
        -artifact_prefix="$findings/$target-" "$corpus") >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1)
        printf 'fuzz %-8s %10s executions in %3d s, %4d inputs in the corpus, %s, no finding\n' \
            "$target" "${runs:-?}" $((SECONDS - start)) "$(ls "$corpus" | wc -l)" "$coverage"
    else
        echo "fuzz $target: FINDING (reproducer in $findings):"
        grep -v '^INFO:\|^#[0-9]' "$log" | tail -n 80
        status=1
    fi
done
exit $status
