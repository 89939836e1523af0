#!/usr/bin/env bash
# Start-up benchmark of the launcher against floor programs that do only what
# any GTK 2 + SDL launcher must. One command builds everything it needs,
# measures, and prints a Markdown table of the results:
#
#   bench/run.sh
#
# Cases, each run in rounds in which the programs take turns, in an order
# that rotates every round, so that a busy machine weighs on all alike:
#
#   nodialog  the demo game with "AlwaysPopup" off: start to exit, against
#             floor-nodialog (gtk_init, SDL_Init audio+video, one line,
#             SDL_Quit) and, for reference, floor-dialogbuilt (that floor
#             plus the resource file and the launcher's own dialog building,
#             which every run does, dialog or not);
#   dialog    the demo game as shipped, which pops the dialog up: start to
#             the MapNotify of its window, against floor-dialog (one window
#             with one label);
#   large     200 plug-ins with 50 modes each, 5,000 archives, "AlwaysLoad"
#             on with every archive in RezList, no dialog: start to exit,
#             against floor-large (floor-nodialog plus opening each plug-in
#             once for its modes and listing the archive folder);
#   reversed  the same with RezList in reverse order, for information.
#
# The figures are medians over the rounds of per-round ratios (launcher /
# floor) for wall and CPU time, and of per-round differences for peak
# resident memory. Callgrind instruction counts are taken once per program.
#
# Settings (environment): BENCH_BUILD (build directory, default build-bench),
# ROUNDS_NODIALOG (default 60), ROUNDS_DIALOG (40), ROUNDS_LARGE (20),
# ROUNDS_REVERSED (5), CALLGRIND (1; 0 skips the instruction counts).
# Needs cmake, a C/C++ compiler, GTK 2 and SDL 1.2 development files, Xvfb,
# and valgrind for the instruction counts.
set -eu
cd "$(dirname "$0")/.."
ROOT=$PWD
B=${BENCH_BUILD:-build-bench}
case $B in /*) ;; *) B=$ROOT/$B ;; esac
ROUNDS_NODIALOG=${ROUNDS_NODIALOG:-60}
ROUNDS_DIALOG=${ROUNDS_DIALOG:-40}
ROUNDS_LARGE=${ROUNDS_LARGE:-20}
ROUNDS_REVERSED=${ROUNDS_REVERSED:-5}
CALLGRIND=${CALLGRIND:-1}

say() { printf '%s\n' "$*" >&2; }

# --- Build ----------------------------------------------------------------
say "== building the launcher and the demo game into $B"
mkdir -p "$B"
cmake -S . -B "$B" -DORVEK_TESTS=OFF >"$B/bench-configure.log" 2>&1 || { cat "$B/bench-configure.log" >&2; exit 1; }
cmake --build "$B" -j2 --target demo-dir >"$B/bench-build.log" 2>&1 || { tail -40 "$B/bench-build.log" >&2; exit 1; }
say "== building the floors and the timer"
cmake -S bench -B "$B/bench-tools" -DORVEK_BUILD_DIR="$B" >/dev/null
cmake --build "$B/bench-tools" -j2 >/dev/null
T=$B/bench-tools
LAUNCHER=$B/orvek-launcher

W=$B/bench-work
rm -rf "$W"
mkdir -p "$W"
say "== laying out the game directories"
bench/gen-large.sh "$ROOT" "$B/demo" "$B/bench-large"
LARGE=$B/bench-large
# The same directory with RezList in reverse order: archives chosen in
# another order than the folder's make every name a search.
cp -r "$LARGE" "$W/large-reversed"
tac "$LARGE/.RezList" >"$W/large-reversed/.RezList"
# The demo without its dialog; the launcher rewrites its INI file on every
# launch, so each run starts from the same copy.
cp -r "$B/demo" "$W/nodialog"
printf '[OrvekLauncher]\nAlwaysPopup = No\n' >"$W/nodialog/.OrvekLauncher.ini"
cp -r "$B/demo" "$W/dialog"
cp "$W/dialog/OrvekLauncher.ini" "$W/dialog/.OrvekLauncher.ini"

reset_game() {
    cp "$1/.OrvekLauncher.ini" "$1/OrvekLauncher.ini"
    if [ -f "$1/.RezList" ]; then cp "$1/.RezList" "$1/RezList"; fi
}

# --- Display ----------------------------------------------------------------
. scripts/xvfb.sh
trap 'stop_xvfb' EXIT
start_xvfb "$W"
export SDL_AUDIODRIVER=dummy
unset SDL_VIDEODRIVER

RAW=$W/raw.tsv
LOADS=$W/load.txt
: >"$RAW"
: >"$LOADS"
note_load() { printf '%s %s\n' "$1" "$(cut -d' ' -f1-3 /proc/loadavg)" >>"$LOADS"; }

# measure CASE ROUND WHO DIR [--map] -- PROGRAM: one timed run, one line in RAW.
measure() {
    local case=$1 round=$2 who=$3 dir=$4 mode=$5 out=$W/$1-$3.out line
    shift 6
    reset_game "$dir" 2>/dev/null || true
    if [ "$mode" = map ]; then
        line=$("$T/benchtime" --map --dir "$dir" --out "$out" --timeout 60 -- "$@")
    else
        line=$("$T/benchtime" --dir "$dir" --out "$out" --timeout 120 -- "$@")
    fi
    if [ "$mode" = map ]; then
        case "$who: $line" in
        "launcher: "*' "Orvek Demo"' | "floor: "*' "Floor"') ;;
        *) say "unexpected window mapped by the $who: $line"; exit 1 ;;
        esac
    fi
    set -- $line
    if [ "$mode" != map ]; then
        [ "$4" = 0 ] || { say "$who exited with $4 in case $case"; exit 1; }
        if [ "$who" = launcher ]; then
            cmp -s "$out" "$W/$case.expected" || { say "launcher output changed:"; cat "$out" >&2; exit 1; }
        fi
    fi
    printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$case" "$round" "$who" "$1" "$2" "$3" >>"$RAW"
}

# run_case CASE ROUNDS DIR MODE WHO=PROGRAM...: a warm-up run of each, then
# rounds in which the programs take turns in a rotating order.
run_case() {
    local case=$1 rounds=$2 dir=$3 mode=$4 r i n who
    shift 4
    local programs=("$@")
    n=${#programs[@]}
    say "== $case: $rounds rounds"
    if [ "$mode" = exit ]; then
        # The launcher's first output is the reference for every later run.
        reset_game "$dir"
        (cd "$dir" && "$LAUNCHER" >"$W/$case.expected")
        grep -q '^\./client ' "$W/$case.expected" || { say "no command line from the launcher"; exit 1; }
    fi
    for ((i = 0; i < n; i++)); do
        measure "$case" 0 "${programs[i]%%=*}" "$dir" "$mode" -- "${programs[i]#*=}"
    done
    note_load "$case-start"
    for ((r = 1; r <= rounds; r++)); do
        for ((i = 0; i < n; i++)); do
            who=${programs[(r + i) % n]}
            measure "$case" "$r" "${who%%=*}" "$dir" "$mode" -- "${who#*=}"
        done
    done
    note_load "$case-end"
}

note_load start
run_case nodialog "$ROUNDS_NODIALOG" "$W/nodialog" exit launcher="$LAUNCHER" floor="$T/floor-nodialog" \
    dialogbuilt="$T/floor-dialogbuilt"
run_case dialog "$ROUNDS_DIALOG" "$W/dialog" map launcher="$LAUNCHER" floor="$T/floor-dialog"
run_case large "$ROUNDS_LARGE" "$LARGE" exit launcher="$LAUNCHER" floor="$T/floor-large"
run_case reversed "$ROUNDS_REVERSED" "$W/large-reversed" exit launcher="$LAUNCHER" floor="$T/floor-large"

# --- Instruction counts -----------------------------------------------------
CG=$W/callgrind
mkdir -p "$CG"
cg_total() { sed -n 's/^\(totals\|summary\): *//p' "$1" | head -n 1; }

# cg_exit NAME DIR PROGRAM: a whole run under callgrind.
cg_exit() {
    local name=$1 dir=$2
    shift 2
    reset_game "$dir" 2>/dev/null || true
    (cd "$dir" && valgrind --tool=callgrind --callgrind-out-file="$CG/$name" "$@" >/dev/null 2>"$CG/$name.log")
    reset_game "$dir" 2>/dev/null || true
}

# cg_map NAME DIR PROGRAM: a dialog run under callgrind up to gtk_main, where
# the window's map request goes out; the program is ended by its pid once
# that part of the profile is written.
cg_map() {
    local name=$1 dir=$2 pid deadline=$((SECONDS + 180))
    shift 2
    reset_game "$dir" 2>/dev/null || true
    (cd "$dir" && exec valgrind --tool=callgrind --dump-before=gtk_main --callgrind-out-file="$CG/$name" "$@" \
        >/dev/null 2>"$CG/$name.log") &
    pid=$!
    until grep -qs '^totals:' "$CG/$name.1"; do
        if ((SECONDS > deadline)) || ! kill -0 "$pid" 2>/dev/null; then
            say "callgrind of $name did not reach gtk_main"
            kill -KILL "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
            return 1
        fi
        sleep 0.2
    done
    # Valgrind does not act on SIGTERM while the program waits in its loop.
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null || true
    mv "$CG/$name.1" "$CG/$name"
}

if [ "$CALLGRIND" = 1 ] && command -v valgrind >/dev/null; then
    say "== callgrind"
    note_load callgrind-start
    cg_exit nodialog-launcher "$W/nodialog" "$LAUNCHER"
    cg_exit nodialog-floor "$W/nodialog" "$T/floor-nodialog"
    cg_exit nodialog-dialogbuilt "$W/nodialog" "$T/floor-dialogbuilt"
    cg_map dialog-launcher "$W/dialog" "$LAUNCHER"
    cg_map dialog-floor "$W/dialog" "$T/floor-dialog"
    cg_exit large-launcher "$LARGE" "$LAUNCHER"
    cg_exit large-floor "$LARGE" "$T/floor-large"
    note_load callgrind-end
fi
stop_xvfb
note_load end

# --- Results ----------------------------------------------------------------
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# values CASE WHO FIELD: the measured rounds' values (round 0 is warm-up).
values() { awk -F'\t' -v c="$1" -v w="$2" -v f="$3" '$1 == c && $3 == w && $2 > 0 { print $f }' "$RAW"; }
# per_round CASE FIELD OP REFERENCE: launcher OP reference, round by round.
per_round() {
    awk -F'\t' -v c="$1" -v f="$2" -v op="$3" -v ref="$4" '
        $1 == c && $2 > 0 { v[$2, $3] = $f; n = ($2 > n ? $2 : n) }
        END { for (r = 1; r <= n; r++) print (op == "/" ? v[r, "launcher"] / v[r, ref] : v[r, "launcher"] - v[r, ref]) }' "$RAW"
}
ms() { awk -v x="$1" 'BEGIN { printf "%.1f ms", x / 1000 }'; }
mib() { awk -v x="$1" 'BEGIN { printf "%.1f MiB", x / 1024 }'; }
ratio() { awk -v x="$1" 'BEGIN { printf "%.2f×", x }'; }
within() { awk -v x="$1" -v t="$2" 'BEGIN { print (x <= t ? "met" : "missed") }'; }
mcount() { awk -v x="$1" 'BEGIN { printf "%.1f M", x / 1e6 }'; }

# rows CASE LABEL WHAT TARGET REFERENCE REFNAME MEMORY_TARGET: the table rows
# of one comparison. An empty TARGET marks figures shown for information.
rows() {
    local case=$1 label=$2 what=$3 target=$4 ref=$5 refname=$6 memtarget=$7 n v l f r scope
    n=$(values "$case" launcher 4 | wc -l)
    for v in 4:"wall time, $what ($n rounds)" 5:"CPU time, $what"; do
        l=$(values "$case" launcher "${v%%:*}" | median)
        f=$(values "$case" "$ref" "${v%%:*}" | median)
        r=$(per_round "$case" "${v%%:*}" / "$ref" | median)
        if [ -n "$target" ]; then
            echo "| $label | ${v#*:} | $(ms "$l") | $(ms "$f") ($refname) | $(ratio "$r") | ≤ ${target}× | $(within "$r" "$target") |"
        else
            echo "| $label | ${v#*:} | $(ms "$l") | $(ms "$f") ($refname) | $(ratio "$r") | – | – |"
        fi
    done
    l=$(values "$case" launcher 6 | median)
    f=$(values "$case" "$ref" 6 | median)
    r=$(per_round "$case" 6 - "$ref" | median)
    scope=; [ "$case" = dialog ] && scope=" at the map"
    if [ -n "$memtarget" ]; then
        echo "| $label | peak resident memory$scope | $(mib "$l") | $(mib "$f") ($refname) | +$(mib "$r") | ≤ +$memtarget MiB | $(within "$r" $((memtarget * 1024))) |"
    else
        echo "| $label | peak resident memory$scope | $(mib "$l") | $(mib "$f") ($refname) | +$(mib "$r") | – | – |"
    fi
    if [ -s "$CG/$case-launcher" ] && [ -s "$CG/$case-$ref" ]; then
        l=$(cg_total "$CG/$case-launcher")
        f=$(cg_total "$CG/$case-$ref")
        r=$(awk -v a="$l" -v b="$f" 'BEGIN { print a / b }')
        scope="whole run"; [ "$case" = dialog ] && scope="up to gtk_main"
        if [ -n "$target" ]; then
            echo "| $label | instructions (callgrind, $scope) | $(mcount "$l") | $(mcount "$f") ($refname) | $(ratio "$r") | ≤ ${target}× | $(within "$r" "$target") |"
        else
            echo "| $label | instructions (callgrind, $scope) | $(mcount "$l") | $(mcount "$f") ($refname) | $(ratio "$r") | – | – |"
        fi
    fi
}

TABLE=$W/results.md
{
    echo "| Case | Figure | Launcher | Compared with | Launcher vs that (median per round) | Target | Verdict |"
    echo "|---|---|---|---|---|---|---|"
    rows nodialog "No dialog (demo)" "start to exit" 1.15 floor floor 4
    rows nodialog "No dialog (demo)" "start to exit" "" dialogbuilt "floor + dialog built" ""
    rows dialog "Dialog mapped (demo)" "start to MapNotify" 1.3 floor floor ""
    rows large "Large directory" "start to exit" 1.15 floor floor ""
    rows reversed "Large directory, RezList reversed" "start to exit" "" floor floor ""
    echo
    echo "Machine: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1), $(nproc) cores," \
        "$(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)."
    echo "Load average (1, 5, 15 min) during the run:"
    echo
    sed 's/^/    /' "$LOADS"
} >"$TABLE"

# Where the instructions go: inclusive counts of the main steps.
if [ -s "$CG/nodialog-launcher" ] && command -v callgrind_annotate >/dev/null; then
    {
        echo
        echo "Inclusive instruction counts of the main steps (callgrind; start_thread is"
        echo "Pango's font-configuration thread; _dl_start is the dynamic linking):"
        echo
        echo "| Step | floor, no dialog | launcher, no dialog | floor, large | launcher, large |"
        echo "|---|---|---|---|---|"
        for fn in _dl_start gtk_set_locale gtk_init SDL_Init 'create_WIN_Main()' 'create_pixmap(_GtkWidget*, char const*)' \
            start_thread 'InitStartupFiles()' 'LoadRezList()' 'InitRezFiles()' 'AddRezFileToList(char const*, int)' \
            'FillRenderList(char const*)' 'SaveRezList()' 'WriteSettings()' SDL_Quit; do
            row="| \`$fn\`"
            for prof in nodialog-floor nodialog-launcher large-floor large-launcher; do
                v=$(callgrind_annotate --inclusive=yes --threshold=100 "$CG/$prof" 2>/dev/null |
                    awk -v fn="$fn" '{ line = $0; sub(/^ *[0-9,]+ +\([^)]*\) +/, "", line)
                         name = line; sub(/ \[.*$/, "", name); sub(/^[^ ]*:/, "", name)
                         if (name == fn) { gsub(/,/, "", $1); print $1; exit } }')
                row="$row | $([ -n "$v" ] && mcount "$v" || echo –)"
            done
            echo "$row |"
        done
        echo "| total | $(mcount "$(cg_total "$CG/nodialog-floor")") | $(mcount "$(cg_total "$CG/nodialog-launcher")") |" \
            "$(mcount "$(cg_total "$CG/large-floor")") | $(mcount "$(cg_total "$CG/large-launcher")") |"
    } >>"$TABLE"
fi

cp "$TABLE" "$B/bench-results.md"
cp "$RAW" "$B/bench-raw.tsv"
cat "$TABLE"
say "== raw figures: $B/bench-raw.tsv; table: $B/bench-results.md; profiles: $CG"
