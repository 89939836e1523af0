#!/bin/sh
# SPDX-License-Identifier: MIT
# check.sh PO_DIR POT: whether the translations can ship. Fails, saying why,
# when PO_DIR/orvek.pot has other messages than POT, the template that the
# build made from the sources (cmake --build BUILD --target update-po brings
# it and the catalogues up to date); when a catalogue of PO_DIR/LINGUAS
# lacks a message, has one untranslated or fuzzy, or displeases
# msgfmt --check; when a translation has other %s than its English text; or
# when it underlines another letter: Alt with the English text's letter
# clicks in every language, so a translation shows that letter underlined
# ("Spie_l starten") or adds it in brackets ("ゲームを開始 (_L)").
set -u
po=$1 pot=$2 status=0

complain() {
    printf '%s\n' "$*" >&2
    status=1
}

msgcmp --use-untranslated "$po/orvek.pot" "$pot" && msgcmp --use-untranslated "$pot" "$po/orvek.pot" ||
    complain "$po/orvek.pot: out of date: make it afresh with the build's target update-po"
for language in $(sed 's/#.*//' "$po/LINGUAS"); do
    file=$po/$language.po
    statistics=$(LC_ALL=C msgfmt --check --statistics -o /dev/null "$file" 2>&1) || complain "$statistics"
    case $statistics in *fuzzy* | *untranslated*) complain "$file: $statistics" ;; esac
    msgcmp "$file" "$pot" || complain "$file: lacks messages of the template"
    # Each message as its msgid and msgstr, a line each, unwrapped.
    msgcat --no-wrap --no-location "$file" | awk -v file="$file" '
        /^msgid / { id = substr($0, 7); key = "id"; next }
        /^msgstr / { str = substr($0, 8); key = "str"; next }
        /^"/ { if (key == "id") id = id $0; else if (key == "str") str = str $0; next }
        { check() }
        END { check() }
        function check(    letter, mark) {
            if (key == "str" && id != "\"\"") {
                if (gsub(/%/, "%", id) != gsub(/%/, "%", str))
                    bad("has other %s than", id)
                if (match(id, /(^"|[" ])_[A-Za-z]/)) {
                    letter = tolower(substr(id, RSTART + RLENGTH - 1, 1))
                    mark = index(str, "_")
                    if (gsub(/_/, "_", str) != 1 || tolower(substr(str, mark + 1, 1)) != letter)
                        bad("underlines another letter than", id)
                }
            }
            key = ""
        }
        function bad(what, id) { print file ": the translation " what " " id; failed = 1 }
        END { exit failed }' >&2 || status=1
done
exit $status
