#!/usr/bin/env bash
# Game directories full of files the launcher did not write: broken INI
# files, a hostile autoexec.cfg, huge archive lists, thousands of archives
# and renderer plug-ins that break the plug-in rules. Every run must end
# with exactly one command line on standard output, exit status 0, no crash
# and no sanitizer report, and still honour whatever well-formed part the
# files hold.
. "$(dirname "$0")/lib.sh"
start_xvfb "$WORK" || exit 1

HOSTILE="$ORVEK_BUILD/hostile-plugins"
HEAD='./client -autoconfig autoexec.cfg +savedirectory ./ -rez orvekdem.rez '
# Sanitized runs are several times slower; big directories need the room.
WAIT_SECONDS=120

# expect_line NAME DIR [TEXT...]: the run in DIR ended with exit status 0,
# exactly one line that starts with the client's head and ends in a space,
# each TEXT somewhere in it, and nothing on standard error that tells of a
# crash or a sanitizer finding.
expect_line() {
    local name=$1 dir=$2 text line
    shift 2
    expect_eq "$name: exit status" 0 "$EXIT_STATUS"
    expect_eq "$name: one line on standard output" 1 "$(wc -l <"$dir.out")"
    line=$(head -n 1 "$dir.out")
    case "$line" in
    "$HEAD"*" ") pass ;;
    *) fail "$name: not a command line: [${line:0:300}]" ;;
    esac
    for text in "$@"; do
        case "$line" in
        *"$text"*) pass ;;
        *) fail "$name: [$text] missing in [${line:0:300}]" ;;
        esac
    done
    if grep -qE 'Sanitizer|runtime error|Segmentation|Aborted|core dumped' "$dir.err"; then
        fail "$name: standard error reports a fault:"$'\n'"$(head -c 4000 "$dir.err")"
    else
        pass
    fi
}

# autoexec DIR LINE...: the game's configuration, one line each.
autoexec() {
    local dir=$1; shift
    printf '%s\n' "$@" >"$dir/autoexec.cfg"
}

# repeat TEXT COUNT: TEXT written COUNT times, without a line feed.
repeat() { awk -v text="$1" -v count="$2" 'BEGIN { for (i = 0; i < count; i++) printf "%s", text }'; }

# garbage COUNT SEED: COUNT bytes of deterministic binary noise, NULs included.
garbage() {
    local count=$1 i hex
    RANDOM=$2
    for ((i = 0; i < count; i++)); do
        printf -v hex '%02x' $((RANDOM % 256))
        printf "\\x$hex"
    done
}

# --- INI files ----------------------------------------------------------------

# NUL bytes end the text of their line: the value before them counts, a line
# that starts with one is empty.
game=$(new_gamedir ini-nul)
add_plugins "$game" software
printf '[Sound]\n\tNumVoices = 24\0trailing junk\n\0no equals sign here\n[Advanced]\n\tDisableMusic = Yes\n' \
    >"$game/OrvekLauncher.ini"
run_launcher "$game"
expect_line "INI with NUL bytes" "$game" "+NumSWVoices 24 " "+DisableMusic 1 "
expect_eq "INI with NUL bytes: rewritten without them" 0 "$(tr -cd '\0' <"$game/OrvekLauncher.ini" | wc -c)"
expect_grep "INI with NUL bytes: voices kept" $'^\tNumVoices = 24.000000$' "$game/OrvekLauncher.ini"

# Binary noise is not an INI file: defaults, and the file is started afresh.
game=$(new_gamedir ini-garbage)
add_plugins "$game" software
garbage 8192 8 >"$game/OrvekLauncher.ini"
run_launcher "$game"
expect_line "INI of binary garbage" "$game" "+NumSWVoices 16 " "-conskey 291 "
expect_eq "INI of binary garbage: replaced by the launcher's own" "[Advanced]" "$(head -n 1 "$game/OrvekLauncher.ini")"
expect_grep "INI of binary garbage: settings stored" $'^\tAlwaysPopup = No$' "$game/OrvekLauncher.ini"

# A 1 MB value line: its continuation pieces hold no "=", so the whole file
# is unreadable and every setting takes its default.
game=$(new_gamedir ini-long-value)
add_plugins "$game" software
{
    printf '[Sound]\n\tNumVoices = 20\n[Big]\n\tValue = '
    repeat x 1048576
    printf '\n'
} >"$game/OrvekLauncher.ini"
run_launcher "$game"
expect_line "INI with a 1 MB value" "$game" "+NumSWVoices 16 "
expect_grep "INI with a 1 MB value: started afresh" $'^\tNumVoices = 16.000000$' "$game/OrvekLauncher.ini"

# A 1 MB line of "=" reads as many empty keys: the rest of the file counts.
game=$(new_gamedir ini-long-equals)
add_plugins "$game" software
{
    printf '[Sound]\n\tNumVoices = 20\n[Big]\n'
    repeat = 1048576
    printf '\n[Advanced]\n\tConsoleKey = 96\n'
} >"$game/OrvekLauncher.ini"
run_launcher "$game"
expect_line "INI with a 1 MB line of =" "$game" "+NumSWVoices 20 " "-conskey 96 "

# A directory where the INI file belongs: defaults, and the directory stays.
game=$(new_gamedir ini-directory)
add_plugins "$game" software
mkdir "$game/OrvekLauncher.ini"
run_launcher "$game"
expect_line "directory as INI file" "$game" "+NumSWVoices 16 " "-conskey 291 "
if [ -d "$game/OrvekLauncher.ini" ]; then pass; else fail "directory as INI file: the directory was replaced"; fi

# Numbers beyond every range: the voices stay within the spin button's 4 to
# 32, the console key goes out as the 32-bit number it was read as, and
# format directives in the free text are text like any other.
# hostile_numbers NAME VOICES KEY EXPECTED...
hostile_numbers() {
    local name=$1 voices=$2 key=$3 game
    shift 3
    game=$(new_gamedir "$name")
    add_plugins "$game" software
    printf '[Sound]\n\tNumVoices = %s\n[Advanced]\n\tConsoleKey = %s\n\tUseCommandLine = Yes\n\tCommandLine = %s\n' \
        "$voices" "$key" '%s%n%x %99999d' >"$game/OrvekLauncher.ini"
    run_launcher "$game"
    expect_line "$name" "$game" "$@" "-conskey $key %s%n%x %99999d "
}
hostile_numbers numbers-huge 1e308 2147483647 "+NumSWVoices 32 "
hostile_numbers numbers-tiny -1e308 -2147483648 "+NumSWVoices 4 "
hostile_numbers numbers-not-a-number nan -5 "+NumSWVoices "
hostile_numbers numbers-infinite -inf 0 "+NumSWVoices 4 "

# --- autoexec.cfg -------------------------------------------------------------

# 100,000-character lines, quoted and bare, before and between the real ones;
# unclosed quotes keep the rest of their line, line feed included.
game=$(new_gamedir config-long)
add_plugins "$game" opengl software
{
    printf '"Long" "'; repeat x 100000; printf '\n'
    printf '"RenderDll" "software.ren"\n'
    repeat '"' 100000; printf '\n'
    printf '"ScreenWidth" "800"\n'
    repeat 'bare words ' 9091; printf '\n'
    printf '"'; repeat N 100000; printf '" "value"\n'
    printf '"ScreenHeight" "600\n'
    printf '"Sound16Bit" "0'
} >"$game/autoexec.cfg"
run_launcher "$game"
expect_line "autoexec.cfg with 100,000-character lines and open quotes" "$game" \
    "+renderdll software.ren +screenwidth 800 +screenheight 600 " "+Sound16Bit 0 "

# An unclosed quote around the renderer's name keeps the line feed in it, so
# it names no plug-in and the first one stays chosen.
game=$(new_gamedir config-open-quote)
add_plugins "$game" opengl software
autoexec "$game" '"RenderDll" "software.ren' '"ScreenWidth" 640' '"ScreenHeight" "480'
run_launcher "$game"
expect_line "autoexec.cfg with an open quote" "$game" "+renderdll opengl.ren +screenwidth 640 +screenheight 480 "

# --- Archives -------------------------------------------------------------------

ini_rez() { printf '[RezFiles]\n\n\tAlwaysLoad = Yes\n' >"$1/OrvekLauncher.ini"; }

# A RezList of 100,000 lines, nearly all naming nothing there is.
game=$(new_gamedir rezlist-100k)
add_plugins "$game" software
mkdir "$game/custom"
: >"$game/custom/a.rez"
: >"$game/custom/b.rez"
ini_rez "$game"
awk 'BEGIN {
    for (i = 1; i <= 100000; i++) {
        if (i == 50000) print "b.rez"
        else if (i == 99990) print "A.REZ"
        else if (i == 99995) print "b.rez"
        else print "missing-" i ".rez"
    }
}' >"$game/RezList"
run_launcher "$game"
expect_line "RezList of 100,000 lines" "$game"
expect_file "RezList of 100,000 lines: the archives present, once, in order" $'b.rez\nA.REZ\n' "$game/RezList"

# 5,000 archives with names of up to 255 bytes: archive i is named by i
# letters n (modulo 247), then its number; one more has a 255-byte name.
archive_name() { printf '%s%d.rez' "$(repeat n $(($1 % 247)))" "$1"; }
game=$(new_gamedir archives-5000)
add_plugins "$game" software
mkdir "$game/custom"
awk 'BEGIN { for (i = 0; i < 5000; i++) { name = ""; for (j = 0; j < i % 247; j++) name = name "n"; print name i ".rez" } }' |
    (cd "$game/custom" && xargs -d '\n' touch --)
long=$(repeat L 251).rez
: >"$game/custom/$long"
expect_eq "5,000 archives: all there" 5001 "$(ls "$game/custom" | wc -l)"
expect_eq "5,000 archives: the longest name" 255 "${#long}"
ini_rez "$game"
printf '%s\n' "$long" "$(archive_name 42)" "$(archive_name 4939)" "no-such.rez" "$(archive_name 42)" >"$game/RezList"
run_launcher "$game"
expect_line "5,000 archives" "$game"
expect_file "5,000 archives: the chosen ones kept once, the longest name whole" \
    "$long"$'\n'"$(archive_name 42)"$'\n'"$(archive_name 4939)"$'\n' "$game/RezList"

# --- Renderer plug-ins ----------------------------------------------------------

# Files named *.ren that are no shared objects: noise, nothing, text, a
# directory. Each still gets its row, so the real plug-in behind them is the
# one that autoexec.cfg names.
game=$(new_gamedir plugins-not-objects)
add_plugins "$game" software
garbage 4096 3 >"$game/a-noise.ren"
: >"$game/b-empty.ren"
echo "not a plug-in" >"$game/c-text.ren"
mkdir "$game/d-directory.ren"
cp "$game/b-empty.ren" "$game/e-copy.REN"
autoexec "$game" '"RenderDll" "Software.Ren"' '"ScreenWidth" "800"' '"ScreenHeight" "600"'
run_launcher "$game"
expect_line "plug-ins that are not shared objects" "$game" "+renderdll software.ren +screenwidth 800 +screenheight 600 "
rm "$game/autoexec.cfg"
run_launcher "$game"
expect_line "only broken plug-ins chosen" "$game" "+renderdll a-noise.ren +screenwidth 0 +screenheight 0 "

# plugin_case NAME PLUGIN WIDTH HEIGHT EXPECTED: the hostile plug-in beside a
# good one, named by autoexec.cfg with the given screen size.
plugin_case() {
    local name=$1 plugin=$2 width=$3 height=$4 expected=$5 game
    game=$(new_gamedir "$name")
    add_plugins "$game" software
    cp "$HOSTILE/$plugin.ren" "$game/"
    autoexec "$game" "\"RenderDll\" \"$plugin.ren\"" "\"ScreenWidth\" \"$width\"" "\"ScreenHeight\" \"$height\""
    run_launcher "$game"
    expect_line "$name" "$game" "$expected"
}

# Broken plug-ins keep the stored size, since they offer no mode to match.
plugin_case plugin-no-get noget 800 600 "+renderdll noget.ren +screenwidth 800 +screenheight 600 "
plugin_case plugin-no-free nofree 800 600 "+renderdll nofree.ren +screenwidth 800 +screenheight 600 "
plugin_case plugin-no-list nolist 800 600 "+renderdll nolist.ren +screenwidth 800 +screenheight 600 "
# 10,000 modes: the stored size is the very last one.
plugin_case plugin-10000-modes manymodes 800 600 "+renderdll manymodes.ren +screenwidth 800 +screenheight 600 "
plugin_case plugin-10000-modes-middle manymodes 50 50 "+renderdll manymodes.ren +screenwidth 50 +screenheight 50 "
# Sizes beyond 65,535: the largest one that fits, and a good one behind them.
plugin_case plugin-wide-limit wide 65535 65535 "+renderdll wide.ren +screenwidth 65535 +screenheight 65535 "
plugin_case plugin-wide-after wide 800 600 "+renderdll wide.ren +screenwidth 800 +screenheight 600 "
plugin_case plugin-wide-stored wide 70000 480 "+renderdll wide.ren "
plugin_case plugin-unterminated unterminated 640 480 "+renderdll unterminated.ren +screenwidth 640 +screenheight 480 "

# All of them in one directory, with the dialog up and then a launch.
game=$(new_gamedir plugins-dialog)
add_plugins "$game" software
cp "$HOSTILE"/*.ren "$game/"
garbage 512 5 >"$game/noise.ren"
ini_popup "$game"
autoexec "$game" '"RenderDll" "wide.ren"' '"ScreenWidth" "65535"' '"ScreenHeight" "65535"'
start_launcher "$game"
wait_dialog && press alt+l
wait_launcher
expect_line "every hostile plug-in in the dialog" "$game" "+renderdll wide.ren +screenwidth 65535 +screenheight 65535 "

finish
