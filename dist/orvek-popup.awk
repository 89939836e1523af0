# SPDX-License-Identifier: MIT
# Run by the start script orvek as: awk -v value=Yes|No -f orvek-popup.awk
# OrvekLauncher.ini. Prints the file with "AlwaysPopup" of section
# [OrvekLauncher] set to value, adding the entry or the section when missing
# and keeping every other line.
function flush_missing() {
    if (in_section && !done) { print "\tAlwaysPopup = " value; done = 1 }
}
/^\[/ {
    flush_missing()
    name = substr($0, 2); sub(/\].*/, "", name)
    in_section = (tolower(name) == "orveklauncher")
    if (in_section) seen = 1
    print; next
}
{
    key = $0; sub(/^[ \t]+/, "", key); sub(/[ =].*/, "", key)
    if (in_section && tolower(key) == "alwayspopup" && index($0, "=")) {
        if (!done) print "\tAlwaysPopup = " value
        done = 1; next
    }
    print
}
END {
    flush_missing()
    if (!seen) printf "%s[OrvekLauncher]\n\n\tAlwaysPopup = %s\n", (NR ? "\n" : ""), value
}
