#!/usr/bin/env bash
# The archive page with the real binary: archives picked with the keyboard
# come out in the list file RezList, which later runs, with or without the
# dialog, read back and rewrite.
. "$(dirname "$0")/lib.sh"
start_xvfb "$WORK" || exit 1

# The tabs hold the focus when the dialog opens; the archive page is four
# pages down, and Left enters it at the available list.
to_archives() { press ctrl+Next ctrl+Next ctrl+Next ctrl+Next Left; }
# With the focus on the available list: select its first row, then "Add >".
add_first() { press space Tab space; }
# After a move the focus is lost; Tab brings it back to the available list.
add_next() { press Tab; add_first; }

archives() {
    mkdir -p "$1/custom"
    local name
    for name in "${@:2}"; do : >"$1/custom/$name"; done
}

ini() { printf '[OrvekLauncher]\n\n\tAlwaysPopup = %s\n\n[RezFiles]\n\n\tAlwaysLoad = %s\n' "$2" "$3" >"$1/OrvekLauncher.ini"; }

# run_dialog DIR ACTION...: opens the dialog in DIR, acts, waits for the end.
run_dialog() {
    local dir=$1; shift
    start_launcher "$dir"
    wait_dialog && "$@"
    wait_launcher
}

# --- Picking archives -------------------------------------------------------
game=$(new_gamedir pick)
archives "$game" c.rez a.rez b.rez
ini "$game" Yes Yes
# a and b are added from the top of the sorted list, then b, selected after
# its move, goes back with "< Remove" (Tab skips the insensitive "Add >").
run_dialog "$game" eval 'to_archives; add_first; add_next; press Tab Tab space alt+l'
expect_file "archives move by their bare names in sorted order" $'a.rez\n' "$game/RezList"
expect_grep "choice to keep the list is stored" $'^\tAlwaysLoad = Yes$' "$game/OrvekLauncher.ini"
expect_eq "launch line written" 1 "$(wc -l <"$game.out")"

# The next run starts from that list: a is no longer available, so the first
# row is b, and the list grows in the order of choosing.
run_dialog "$game" eval 'to_archives; add_first; press alt+l'
expect_file "saved list restored before the dialog shows" $'a.rez\nb.rez\n' "$game/RezList"

# Cancel keeps the list file as it was.
run_dialog "$game" eval 'to_archives; add_first; press alt+c'
expect_file "cancel leaves the list file alone" $'a.rez\nb.rez\n' "$game/RezList"
expect_eq "cancel writes no line" 0 "$(wc -c <"$game.out")"

# --- The list file as read without the dialog --------------------------------
game=$(new_gamedir restore)
long=$(printf 'n%.0s' {1..251}).rez  # the longest file name there is
archives "$game" a.rez b.rez c.rez "$long"
ini "$game" No on
{
    printf 'A.REZ\ngone.rez\n%s\nc.rez\na.rez\nc.rez\n' "$long"
    printf 'x%.0s' {1..255}; printf 'b.rez\n'  # 260 characters: b.rez is a piece of its own
} >"$game/RezList"
run_launcher "$game"
expect_file "present archives once each, spelled as listed" "A.REZ"$'\n'"$long"$'\nc.rez\nb.rez\n' "$game/RezList"
expect_grep "any true word keeps the list" $'^\tAlwaysLoad = Yes$' "$game/OrvekLauncher.ini"

# Without the setting the list file is neither read nor written.
game=$(new_gamedir default)
archives "$game" kept.rez
printf 'kept.rez\ngone.rez\n' >"$game/RezList"
run_launcher "$game"
expect_file "list file untouched by default" $'kept.rez\ngone.rez\n' "$game/RezList"
expect_grep "default stored as No" $'^\tAlwaysLoad = No$' "$game/OrvekLauncher.ini"

# Ticking the box in the dialog starts from an empty load list: the old file
# was not read, so a is still the first available archive.
game=$(new_gamedir switch-on)
archives "$game" a.rez b.rez
ini "$game" Yes No
printf 'b.rez\n' >"$game/RezList"
run_dialog "$game" eval 'to_archives; press Tab Tab space shift+Tab shift+Tab; add_first; press alt+l'
expect_file "list replaced by what was chosen" $'a.rez\n' "$game/RezList"
expect_grep "box ticked in the dialog is stored" $'^\tAlwaysLoad = Yes$' "$game/OrvekLauncher.ini"

# Ticked with nothing to load: an empty list file, no archives at all.
game=$(new_gamedir empty)
ini "$game" No Yes
printf 'a.rez\n' >"$game/RezList"
run_launcher "$game"
expect_file "no archives give an empty list file" "" "$game/RezList"

finish
