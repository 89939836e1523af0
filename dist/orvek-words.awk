# SPDX-License-Identifier: MIT
# Run by the start script orvek as: awk -v option=OPTION -f orvek-words.awk,
# with the launcher's output as input. Of that output only the game's
# command line is run; any other line (such as the console-key capture's
# failure) is a message for the player and goes to standard error.
#
# With --print the command line comes out as it is. Otherwise it is split
# into words the way a shell prompt treats quotes and backslashes, and
# nothing else: no expansion, no second command. Each word comes out on a
# line of its own behind a "w", so that an empty last word survives. A line
# that cannot be split gives only the reason, as a word for the start script
# to explain in the player's language ("backslash", "double" or "single"),
# and exit status 2.
function fail(why) {
    print why
    exit 2
}
BEGIN { stderr = "cat 1>&2" }
$0 == "" { next }
!/^\.\/client / { print | stderr; next }
{ line = $0 }
END {
    if (line == "") exit 0
    if (option == "--print") { print line; exit 0 }
    sub(/ $/, "", line)   # the launcher ends each part with a blank, the last one too
    n = length(line); word = ""; inword = 0; quote = ""; words = ""
    for (i = 1; i <= n; i++) {
        c = substr(line, i, 1)
        if (quote == "\047") {
            if (c == quote) quote = ""; else word = word c
        } else if (quote == "\"") {
            if (c == quote) quote = ""
            else if (c == "\\" && i < n && index("$`\"\\", substr(line, i + 1, 1))) word = word substr(line, ++i, 1)
            else word = word c
        } else if (c == " " || c == "\t") {
            if (inword) words = words "w" word "\n"
            word = ""; inword = 0
        } else {
            inword = 1
            if (c == "\047" || c == "\"") quote = c
            else if (c != "\\") word = word c
            else if (i < n) word = word substr(line, ++i, 1)
            else fail("backslash")
        }
    }
    if (quote) fail(quote == "\"" ? "double" : "single")
    if (inword) words = words "w" word "\n"
    printf "%s", words
}
