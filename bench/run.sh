#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up benchmark of the launcher against floor programs that do only what
# any GTK 3 + SDL launcher must, and beside the floor of a Python launcher.
# One command builds everything it needs, measures, and prints a Markdown
# table of the results:
#
#   bench/run.sh
#
# Cases, each run in rounds in which the programs take turns, in an order
# that rotates every round, so that a busy machine weighs on all alike:
#
#   nodialog  the demo game with "AlwaysPopup" off: start to exit, against
#             floor-nodialog (gtk_init, SDL_Init audio+video, one line,
#             SDL_Quit), floor-dialogbuilt (that floor plus translating the
#             resource file and the launcher's own dialog building, which
#             every run does, dialog or not) and floor-python-nodialog.py
#             (Python importing GTK 3, which opens the display, one line);
#   dialog    the demo game as shipped, which pops the dialog up: start to
#             the MapNotify of its window, against floor-dialog (one window
#             with one label) and floor-python-dialog.py (the same window
#             from Python);
#   large     200 plug-ins with 50 modes each, 5,000 archives, "AlwaysLoad"
#             on with every archive in RezList (in name order), no dialog:
#             start to exit, against floor-large (floor-nodialog plus opening
#             each plug-in once for its modes and listing the archive folder)
#             and floor-largebuilt (floor-dialogbuilt plus the same plug-in
#             and folder work);
#   scale-name, scale-reversed, scale-shuffled
#             the large directory at 5,000 and at 20,000 archives, RezList in
#             name order, reversed, or in a fixed random order: the launcher
#             and floor-largebuilt, each at both sizes, take turns in every
#             round, so that the growth from 5,000 to 20,000 archives is a
#             per-round ratio as well.
#
# The figures are medians over the rounds of per-round ratios (launcher /
# floor, or 20,000 / 5,000 archives) for wall and CPU time, and of per-round
# differences for peak resident memory. Callgrind instruction counts are
# taken once per program.
#
# BEFORE may name the build directory of an older commit: its launcher
# (BEFORE/orvek-launcher) and the floors of that commit's own bench/, built
# into BEFORE/bench-tools (cmake -S SOURCE/bench -B BEFORE/bench-tools
# -DORVEK_BUILD_DIR=BEFORE). Every case then runs the older launcher and
# floors too, in the same rounds as this launcher and its floors, in the
# same game directories; the results have a table for each and one of the
# older launcher and floors against these.
#
# Settings (environment): BENCH_BUILD (build directory, default build-bench),
# ROUNDS_NODIALOG (default 60), ROUNDS_DIALOG (40), ROUNDS_LARGE (20),
# ROUNDS_SCALE (20, for each of the three orders), CALLGRIND (1; 0 skips the
# instruction counts), BEFORE (unset).
# Needs cmake, a C/C++ compiler, GTK 3 and SDL 1.2 development files, Xvfb,
# Python 3 with PyGObject and GTK 3's introspection data (python3-gi,
# gir1.2-gtk-3.0) at /usr/bin/python3, and valgrind for the instruction
# counts.
set -eu
cd "$(dirname "$0")/.."
ROOT=$PWD
B=${BENCH_BUILD:-build-bench}
case $B in /*) ;; *) B=$ROOT/$B ;; esac
ROUNDS_NODIALOG=${ROUNDS_NODIALOG:-60}
ROUNDS_DIALOG=${ROUNDS_DIALOG:-40}
ROUNDS_LARGE=${ROUNDS_LARGE:-20}
ROUNDS_SCALE=${ROUNDS_SCALE:-20}
CALLGRIND=${CALLGRIND:-1}
BEFORE=${BEFORE:-}
if [ -n "$BEFORE" ]; then BEFORE=$(cd "$BEFORE" && pwd); fi
STARTED=$SECONDS

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
# The Python floors run from the source tree, as a Python launcher would.
PY=$ROOT/bench
if [ -n "$BEFORE" ]; then
    TB=$BEFORE/bench-tools
    for program in "$BEFORE/orvek-launcher" "$TB"/floor-{nodialog,dialog,dialogbuilt,large,largebuilt}; do
        [ -x "$program" ] || { say "BEFORE: no $program (see the recipe in docs/performance.md)"; exit 1; }
    done
fi

W=$B/bench-work
rm -rf "$W"
mkdir -p "$W"
say "== laying out the game directories"
# One directory per count of archives and order of RezList:
# $LARGE/5000-name ... $LARGE/20000-shuffled.
LARGE=$B/bench-large
ARCHIVES="5000 20000" bench/gen-large.sh "$ROOT" "$B/demo" "$LARGE"
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

# measure CASE ROUND WHO DIR MODE -- PROGRAM: one timed run, one line in RAW.
# A launcher's output must be its reference output. In the large directories,
# whose start RezList names every archive once, the launcher must have saved
# RezList anew (a new file renamed into place: another inode) and saved the
# same list: every name restored, in its order.
measure() {
    local case=$1 round=$2 who=$3 dir=$4 mode=$5 out=$W/$1-$3.out line inode=
    shift 6
    reset_game "$dir" 2>/dev/null || true
    if [ -f "$dir/.layout" ]; then inode=$(stat -c %i "$dir/RezList"); fi
    if [ "$mode" = map ]; then
        line=$("$T/benchtime" --map --dir "$dir" --out "$out" --timeout 60 -- "$@")
    else
        line=$("$T/benchtime" --dir "$dir" --out "$out" --timeout 120 -- "$@")
    fi
    if [ "$mode" = map ]; then
        case "$who: $line" in
        launcher*': '*' "Orvek Demo"' | floor*': '*' "Floor"' | python*': '*' "Floor"') ;;
        *) say "unexpected window mapped by the $who: $line"; exit 1 ;;
        esac
    fi
    set -- $line
    if [ "$mode" != map ]; then
        [ "$4" = 0 ] || { say "$who exited with $4 in case $case"; exit 1; }
        case $who in launcher*)
            cmp -s "$out" "$W/$case-$who.expected" || { say "launcher output changed:"; cat "$out" >&2; exit 1; }
            if [ -n "$inode" ]; then
                [ "$(stat -c %i "$dir/RezList")" != "$inode" ] || { say "$who in $dir did not save RezList"; exit 1; }
                cmp -s "$dir/RezList" "$dir/.RezList" || { say "$who in $dir saved another RezList"; exit 1; }
            fi ;;
        esac
    fi
    printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$case" "$round" "$who" "$1" "$2" "$3" >>"$RAW"
}

# run_case CASE ROUNDS DIR MODE WHO[@DIR]=PROGRAM...: a warm-up run of each,
# then rounds in which the programs take turns in a rotating order. A
# program runs in DIR unless its WHO names a directory of its own.
run_case() {
    local case=$1 rounds=$2 dir=$3 mode=$4 r i n entry
    shift 4
    local programs=() whos=() dirs=()
    for entry in "$@"; do
        local who=${entry%%=*}
        programs+=("${entry#*=}")
        whos+=("${who%%@*}")
        case $who in *@*) dirs+=("${who#*@}") ;; *) dirs+=("$dir") ;; esac
    done
    n=${#programs[@]}
    say "== $case: $rounds rounds"
    if [ "$mode" = exit ]; then
        # A launcher's first output is the reference for its later runs.
        for ((i = 0; i < n; i++)); do
            case ${whos[i]} in launcher*)
                reset_game "${dirs[i]}"
                (cd "${dirs[i]}" && "${programs[i]}" >"$W/$case-${whos[i]}.expected")
                grep -q '^\./client ' "$W/$case-${whos[i]}.expected" || { say "no command line from the launcher"; exit 1; } ;;
            esac
        done
        # The older launcher must print what this one prints, or the two
        # would not be doing the same work.
        for ((i = 0; i < n; i++)); do
            case ${whos[i]} in launcher*-before)
                cmp -s "$W/$case-${whos[i]}.expected" "$W/$case-${whos[i]%-before}.expected" ||
                    { say "the launchers print different lines in case $case"; exit 1; } ;;
            esac
        done
    fi
    for ((i = 0; i < n; i++)); do
        measure "$case" 0 "${whos[i]}" "${dirs[i]}" "$mode" -- "${programs[i]}"
    done
    note_load "$case-start"
    for ((r = 1; r <= rounds; r++)); do
        for ((i = 0; i < n; i++)); do
            local k=$(((r + i) % n))
            measure "$case" "$r" "${whos[k]}" "${dirs[k]}" "$mode" -- "${programs[k]}"
        done
    done
    note_load "$case-end"
}

# before WHO[@DIR]=PROGRAM...: the same entries for the older launcher and
# floors, when BEFORE names them: "-before" added to each WHO, the program
# taken from the older build (a launcher from BEFORE, a floor from its
# bench-tools under the same name).
before() {
    [ -n "$BEFORE" ] || return 0
    local entry who program
    for entry in "$@"; do
        who=${entry%%=*}
        program=${entry#*=}
        case $program in
        "$LAUNCHER") program=$BEFORE/orvek-launcher ;;
        "$T"/*) program=$TB/${program#"$T"/} ;;
        *) continue ;;
        esac
        case $who in
        *@*) echo "${who%%@*}-before@${who#*@}=$program" ;;
        *) echo "$who-before=$program" ;;
        esac
    done
}

# with_before ENTRY...: the entries, followed by their older counterparts.
with_before() {
    printf '%s\n' "$@"
    before "$@"
}

note_load start
mapfile -t programs < <(with_before launcher="$LAUNCHER" floor="$T/floor-nodialog" \
    dialogbuilt="$T/floor-dialogbuilt" python="$PY/floor-python-nodialog.py")
run_case nodialog "$ROUNDS_NODIALOG" "$W/nodialog" exit "${programs[@]}"
mapfile -t programs < <(with_before launcher="$LAUNCHER" floor="$T/floor-dialog" python="$PY/floor-python-dialog.py")
run_case dialog "$ROUNDS_DIALOG" "$W/dialog" map "${programs[@]}"
mapfile -t programs < <(with_before launcher="$LAUNCHER" floor="$T/floor-large" largebuilt="$T/floor-largebuilt")
run_case large "$ROUNDS_LARGE" "$LARGE/5000-name" exit "${programs[@]}"
for order in name reversed shuffled; do
    mapfile -t programs < <(with_before \
        "launcher-5000@$LARGE/5000-$order=$LAUNCHER" "launcher-20000@$LARGE/20000-$order=$LAUNCHER" \
        "floor-5000@$LARGE/5000-$order=$T/floor-largebuilt" "floor-20000@$LARGE/20000-$order=$T/floor-largebuilt")
    run_case "scale-$order" "$ROUNDS_SCALE" "" exit "${programs[@]}"
done

# --- Instruction counts -----------------------------------------------------
CG=$W/callgrind
mkdir -p "$CG"
cg_total() { sed -n 's/^\(totals\|summary\): *//p' "$1" | head -n 1; }

# cg_exit NAME DIR PROGRAM: a whole run under callgrind.
cg_exit() {
    local name=$1 dir=$2 inode=
    shift 2
    reset_game "$dir" 2>/dev/null || true
    if [ -f "$dir/.layout" ]; then inode=$(stat -c %i "$dir/RezList"); fi
    (cd "$dir" && valgrind --tool=callgrind --callgrind-out-file="$CG/$name" "$@" >"$CG/$name.out" 2>"$CG/$name.log")
    # Launchers, as in measure: the command line, and RezList saved whole.
    case $name in *launcher*)
        grep -q '^\./client ' "$CG/$name.out" || { say "no command line from $name"; exit 1; }
        if [ -n "$inode" ]; then
            [ "$(stat -c %i "$dir/RezList")" != "$inode" ] || { say "$name did not save RezList"; exit 1; }
            cmp -s "$dir/RezList" "$dir/.RezList" || { say "$name saved another RezList"; exit 1; }
        fi ;;
    esac
    reset_game "$dir" 2>/dev/null || true
}

# cg_map NAME DIR PROGRAM: a dialog run under callgrind up to its main loop,
# where the window's map request goes out; the program is ended by its pid
# once that part of the profile is written. The profile ends where
# g_main_loop_run is first entered: gtk_main goes straight there, and
# callgrind does not see Python's call of gtk_main (made through libffi)
# as one.
cg_map() {
    local name=$1 dir=$2 pid deadline=$((SECONDS + 180))
    shift 2
    reset_game "$dir" 2>/dev/null || true
    (cd "$dir" && exec valgrind --tool=callgrind --dump-before=g_main_loop_run --callgrind-out-file="$CG/$name" "$@" \
        >/dev/null 2>"$CG/$name.log") &
    pid=$!
    until grep -qs '^totals:' "$CG/$name.1"; do
        if ((SECONDS > deadline)) || ! kill -0 "$pid" 2>/dev/null; then
            say "callgrind of $name did not reach the main loop"
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

# cg KIND NAME DIR PROGRAM: the program under callgrind (cg_exit or cg_map
# by KIND) and, with BEFORE, the older build's counterpart as NAME-before.
cg() {
    local kind=$1 name=$2 dir=$3 program=$4 older
    "cg_$kind" "$name" "$dir" "$program"
    older=$(before "x=$program")
    if [ -n "$older" ]; then "cg_$kind" "$name-before" "$dir" "${older#*=}"; fi
}

if [ "$CALLGRIND" = 1 ] && command -v valgrind >/dev/null; then
    say "== callgrind"
    note_load callgrind-start
    cg exit nodialog-launcher "$W/nodialog" "$LAUNCHER"
    cg exit nodialog-floor "$W/nodialog" "$T/floor-nodialog"
    cg exit nodialog-dialogbuilt "$W/nodialog" "$T/floor-dialogbuilt"
    cg exit nodialog-python "$W/nodialog" "$PY/floor-python-nodialog.py"
    cg map dialog-launcher "$W/dialog" "$LAUNCHER"
    cg map dialog-floor "$W/dialog" "$T/floor-dialog"
    cg map dialog-python "$W/dialog" "$PY/floor-python-dialog.py"
    cg exit large-launcher "$LARGE/5000-name" "$LAUNCHER"
    cg exit large-floor "$LARGE/5000-name" "$T/floor-large"
    cg exit large-largebuilt "$LARGE/5000-name" "$T/floor-largebuilt"
    for order in name reversed shuffled; do
        cg exit "scale-$order-launcher-5000" "$LARGE/5000-$order" "$LAUNCHER"
        cg exit "scale-$order-launcher-20000" "$LARGE/20000-$order" "$LAUNCHER"
        cg exit "scale-$order-floor-20000" "$LARGE/20000-$order" "$T/floor-largebuilt"
    done
    note_load callgrind-end
fi
stop_xvfb
note_load end

# --- Results ----------------------------------------------------------------
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# values CASE WHO FIELD: the measured rounds' values (round 0 is warm-up).
values() { awk -F'\t' -v c="$1" -v w="$2" -v f="$3" '$1 == c && $3 == w && $2 > 0 { print $f }' "$RAW"; }
# per_round CASE FIELD OP WHO REFERENCE: WHO OP REFERENCE, round by round.
per_round() {
    awk -F'\t' -v c="$1" -v f="$2" -v op="$3" -v who="$4" -v ref="$5" '
        $1 == c && $2 > 0 { v[$2, $3] = $f; n = ($2 > n ? $2 : n) }
        END { for (r = 1; r <= n; r++) print (op == "/" ? v[r, who] / v[r, ref] : v[r, who] - v[r, ref]) }' "$RAW"
}
ms() { awk -v x="$1" 'BEGIN { printf "%.1f ms", x / 1000 }'; }
mib() { awk -v x="$1" 'BEGIN { printf "%.1f MiB", x / 1024 }'; }
ratio() { awk -v x="$1" 'BEGIN { printf "%.2f×", x }'; }
within() { awk -v x="$1" -v op="$2" -v t="$3" 'BEGIN { print ((op == "≥" ? x >= t : x <= t) ? "met" : "missed") }'; }
mcount() { awk -v x="$1" 'BEGIN { printf "%.1f M", x / 1e6 }'; }
signed_mib() { awk -v x="$1" 'BEGIN { printf "%s%.1f MiB", (x < 0 ? "−" : "+"), (x < 0 ? -x : x) / 1024 }'; }

# verdict FIGURE TARGET: the table's last two cells; TARGET is "≤ 1.15",
# "≥ 3" or empty.
verdict() { if [ -n "$2" ]; then echo "${2}× | $(within "$1" "${2%% *}" "${2#* }")"; else echo "– | –"; fi; }

# rows CASE LABEL WHAT WHO REF REFNAME TARGET MEMORY_TARGET: the table rows
# of one comparison, WHO against REF. An empty TARGET marks figures shown
# for information; MEMORY_TARGET is the most MiB WHO may take above REF.
rows() {
    local case=$1 label=$2 what=$3 who=$4 ref=$5 refname=$6 target=$7 memtarget=$8 n v l f r scope
    n=$(values "$case" "$who" 4 | wc -l)
    for v in 4:"wall time, $what ($n rounds)" 5:"CPU time, $what"; do
        l=$(values "$case" "$who" "${v%%:*}" | median)
        f=$(values "$case" "$ref" "${v%%:*}" | median)
        r=$(per_round "$case" "${v%%:*}" / "$who" "$ref" | median)
        echo "| $label | ${v#*:} | $(ms "$l") | $(ms "$f") ($refname) | $(ratio "$r") | $(verdict "$r" "$target") |"
    done
    l=$(values "$case" "$who" 6 | median)
    f=$(values "$case" "$ref" 6 | median)
    r=$(per_round "$case" 6 - "$who" "$ref" | median)
    scope=; [ "$case" = dialog ] && scope=" at the map"
    if [ -n "$memtarget" ]; then
        echo "| $label | peak resident memory$scope | $(mib "$l") | $(mib "$f") ($refname) | $(signed_mib "$r") | ≤ +$memtarget MiB | $(within "$r" ≤ $((memtarget * 1024))) |"
    else
        echo "| $label | peak resident memory$scope | $(mib "$l") | $(mib "$f") ($refname) | $(signed_mib "$r") | – | – |"
    fi
    if [ -s "$CG/$case-$who" ] && [ -s "$CG/$case-$ref" ]; then
        l=$(cg_total "$CG/$case-$who")
        f=$(cg_total "$CG/$case-$ref")
        r=$(awk -v a="$l" -v b="$f" 'BEGIN { print a / b }')
        scope="whole run"; [ "$case" = dialog ] && scope="up to the main loop"
        echo "| $label | instructions (callgrind, $scope) | $(mcount "$l") | $(mcount "$f") ($refname) | $(ratio "$r") | $(verdict "$r" "$target") |"
    fi
}

# results SUFFIX: the table of one launcher against its floors; SUFFIX is
# "" for this launcher, "-before" for the older one. The Python floors are
# the same programs in both.
results() {
    local x=$1 order how
    echo "| Case | Figure | Program | Compared with | Program vs that (median per round) | Target | Verdict |"
    echo "|---|---|---|---|---|---|---|"
    rows nodialog "No dialog (demo)" "start to exit" "launcher$x" "floor$x" floor "≤ 1.15" 4
    rows nodialog "No dialog (demo)" "start to exit" "launcher$x" "dialogbuilt$x" "floor + dialog built" "≤ 1.05" ""
    rows nodialog "No dialog (demo), Python floor against the launcher" "start to exit" \
        python "launcher$x" launcher "≥ 3" ""
    rows nodialog "No dialog (demo), Python floor against the C floor" "start to exit" \
        python "floor$x" floor "" ""
    rows dialog "Dialog mapped (demo)" "start to MapNotify" "launcher$x" "floor$x" floor "≤ 1.3" ""
    rows dialog "Dialog mapped (demo), Python floor against the launcher" "start to MapNotify" \
        python "launcher$x" launcher "≥ 3" ""
    rows dialog "Dialog mapped (demo), Python floor against the C floor" "start to MapNotify" \
        python "floor$x" floor "" ""
    rows large "Large directory (5,000 archives)" "start to exit" "launcher$x" "floor$x" floor "≤ 1.15" ""
    rows large "Large directory (5,000 archives)" "start to exit" "launcher$x" "largebuilt$x" \
        "floor + dialog built" "" ""
    for order in name reversed shuffled; do
        case $order in name) how="in name order" ;; reversed) how=reversed ;; shuffled) how=shuffled ;; esac
        rows "scale-$order" "20,000 against 5,000 archives, RezList $how" "start to exit" \
            "launcher-20000$x" "launcher-5000$x" "launcher, 5,000 archives" "≤ 4.5" ""
        rows "scale-$order" "20,000 archives, RezList $how" "start to exit" \
            "launcher-20000$x" "floor-20000$x" "floor + dialog built" "≤ 2" ""
    done
}

# older CASE LABEL WHO: this build's WHO against the older build's.
older() { rows "$1" "$2" "start to exit" "$3" "$3-before" "before" "" ""; }

TABLE=$W/results.md
{
    results ""
    if [ -n "$BEFORE" ]; then
        echo
        echo "The launcher and floors of BEFORE ($BEFORE), in the same rounds:"
        echo
        results -before
        echo
        echo "This build's programs against BEFORE's, in the same rounds:"
        echo
        echo "| Program | Figure | This build | Before | This vs before (median per round) | Target | Verdict |"
        echo "|---|---|---|---|---|---|---|"
        older nodialog "Launcher, no dialog (demo)" launcher
        older nodialog "floor-nodialog" floor
        older nodialog "floor-dialogbuilt" dialogbuilt
        rows dialog "Launcher, dialog mapped (demo)" "start to MapNotify" launcher launcher-before before "" ""
        rows dialog "floor-dialog" "start to MapNotify" floor floor-before before "" ""
        older large "Launcher, 5,000 archives (name order)" launcher
        older large "floor-large, 5,000 archives" floor
        older large "floor-largebuilt, 5,000 archives" largebuilt
        older scale-shuffled "Launcher, 5,000 archives (shuffled)" launcher-5000
        older scale-shuffled "Launcher, 20,000 archives (shuffled)" launcher-20000
        older scale-shuffled "floor-largebuilt, 20,000 archives" floor-20000
    fi
    echo
    echo "Machine: $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1), $(nproc) cores," \
        "$(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)."
    echo "Load average (1, 5, 15 min) during the run:"
    echo
    sed 's/^/    /' "$LOADS"
} >"$TABLE"

# Where the instructions go: inclusive counts of the main steps, one
# callgrind_annotate listing per profile.
inclusive() {
    local prof=$CG/$1
    [ -s "$prof" ] || return 0
    [ -s "$prof.inclusive" ] ||
        callgrind_annotate --inclusive=yes --threshold=100 --auto=no "$prof" >"$prof.inclusive" 2>/dev/null
    awk -v fn="$2" 'BEGIN { prefix = fn ~ /\*$/; if (prefix) sub(/\*$/, "", fn) }
             /^ *[0-9,]+ +\([^)]*\) +/ {
                 line = $0; sub(/^ *[0-9,]+ +\([^)]*\) +/, "", line)
                 name = line; sub(/ \[.*$/, "", name); sub(/^[^ ]*:/, "", name)
                 if (name == fn || (prefix && index(name, fn) == 1)) { gsub(/,/, "", $1); print $1; exit } }' "$prof.inclusive"
}

# step_table PROFILE... -- FUNCTION...: one row per function, one column per
# profile, and the profiles' totals. A FUNCTION ending in "*" is the largest
# whose name starts so (glob@@GLIBC_2.27, dlopen@@GLIBC_2.34: the names
# carry a symbol version; gtk_init*: gtk_init, or gtk_init_check where
# Python calls that alone).
step_table() {
    local profs=() fn prof v row
    while [ "$1" != -- ]; do profs+=("$1"); shift; done
    shift
    for fn in "$@"; do
        row="| \`$fn\`"
        for prof in "${profs[@]}"; do
            v=$(inclusive "$prof" "$fn")
            row="$row | $([ -n "$v" ] && mcount "$v" || echo –)"
        done
        echo "$row |"
    done
    row="| total"
    for prof in "${profs[@]}"; do
        row="$row | $([ -s "$CG/$prof" ] && mcount "$(cg_total "$CG/$prof")" || echo –)"
    done
    echo "$row |"
}

# step_tables SUFFIX: the step tables of this build ("") or BEFORE's
# ("-before"); the Python floors are the same programs in both.
step_tables() {
    local x=$1
    echo "| Step | floor, no dialog | floor + dialog built | launcher, no dialog | Python, no dialog | floor, dialog | launcher, dialog | Python, dialog |"
    echo "|---|---|---|---|---|---|---|---|"
    step_table "nodialog-floor$x" "nodialog-dialogbuilt$x" "nodialog-launcher$x" nodialog-python \
        "dialog-floor$x" "dialog-launcher$x" dialog-python -- \
        _dl_start Py_InitializeFromConfig 'dlopen*' 'gtk_init*' 'RC_Parse(char const*)' \
        gtk_css_provider_load_from_resource SDL_Init 'create_WIN_Main()' 'create_pixmap*' start_thread \
        gtk_widget_show 'InitStartupFiles()' 'FillRenderList(char const*)' 'WriteSettings()' SDL_Quit
    echo
    echo "The large directories: 5,000 archives in name order (the case \"large\"), and"
    echo "20,000 and 5,000 archives with RezList shuffled:"
    echo
    echo "| Step | floor-large, 5,000 | floor + dialog built, 5,000 | launcher, 5,000 | floor + dialog built, 20,000 shuffled | launcher, 20,000 shuffled | launcher, 5,000 shuffled |"
    echo "|---|---|---|---|---|---|---|"
    step_table "large-floor$x" "large-largebuilt$x" "large-launcher$x" "scale-shuffled-floor-20000$x" \
        "scale-shuffled-launcher-20000$x" "scale-shuffled-launcher-5000$x" -- \
        _dl_start 'gtk_init*' 'RC_Parse(char const*)' gtk_css_provider_load_from_resource SDL_Init \
        'create_WIN_Main()' start_thread 'dlopen*' 'glob*' 'InitStartupFiles()' 'LoadRezList()' \
        'RestoreRezLists*' 'InitRezFiles()' 'ListAppend*' gtk_list_store_insert_with_values 'ListText*' \
        'ListClear*' 'ListThaw*' 'FillRenderList(char const*)' 'SaveRezList()' 'WriteSettings()' SDL_Quit
}

if [ -s "$CG/nodialog-launcher" ] && command -v callgrind_annotate >/dev/null; then
    {
        echo
        echo "Inclusive instruction counts of the main steps (callgrind; dashes where a"
        echo "program has no such function). gtk_css_provider_load_from_resource is"
        echo "GTK's own theme, loaded when the first widget or style provider needs it;"
        echo "start_thread is Pango's font-configuration thread; _dl_start the dynamic"
        echo "linking; dlopen* the libraries loaded later (plug-ins; Python's modules"
        echo "and GTK through introspection). A \"*\" row is the largest function whose"
        echo "name starts so. The dialog columns count up to the main loop:"
        echo
        step_tables ""
        if [ -n "$BEFORE" ]; then
            echo
            echo "The same for BEFORE's launcher and floors:"
            echo
            step_tables -before
        fi
    } >>"$TABLE"
fi

{
    echo
    echo "The whole run took $(((SECONDS - STARTED) / 60)) min $(((SECONDS - STARTED) % 60)) s, build and layout included."
} >>"$TABLE"

cp "$TABLE" "$B/bench-results.md"
cp "$RAW" "$B/bench-raw.tsv"
cat "$TABLE"
say "== raw figures: $B/bench-raw.tsv; table: $B/bench-results.md; profiles: $CG"
