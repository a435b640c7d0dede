#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program in the language the player chose, read through AT-SPI as a screen reader hears it. With
# language=en the first-run box, the Warmap window, the tray menu, "Recent changes", the history, its
# file dialog and the settings hold English names and not one German word of the translation's
# sources; the export's header is English. With language=de, and with no setting, the same windows
# speak today's German, Qt's file dialog included.
[ -n "${WARMAP_PRIVATE_BUS:-}" ] || exec env WARMAP_PRIVATE_BUS=1 dbus-run-session -- bash "$0" "$@"
source "$(dirname "$0")/lib.sh"
TS="$(dirname "$0")/../../translations/warmap_en.ts"
SCREEN_W=1600 SCREEN_H=1100
start_display
start_accessibility_bus
start_tray
start_feedsim --seed 31 --steps 1

# Every word of the German sources that no English text, name of the data or Qt uses too.
/usr/bin/python3 - "$TS" > "$WORK/german-words.txt" << 'PY'
import re, sys, xml.etree.ElementTree as ET
words = lambda text: set(re.findall(r"[A-Za-zÄÖÜäöüß]{4,}", text or ""))
german, english = set(), set()
for message in ET.parse(sys.argv[1]).getroot().iter("message"):
    german |= words(message.findtext("source"))
    english |= words(message.findtext("translation"))
# "Deutsch" is the language's own name in the settings' choice, in every language.
for word in sorted(german - english - {"Deutsch", "Warmap", "Dartmoor", "Logres", "Avalon", "Salisbury", "Albion",
                                       "Midgard", "Hibernia", "ORSKA", "nobr", "http", "https", "keeps"}):
    print(word)
PY
check "the sources hold German words to look for ($(wc -l < "$WORK/german-words.txt"))" \
    test "$(wc -l < "$WORK/german-words.txt")" -gt 100

tree() { /usr/bin/python3 "$ATSPI" tree Warmap > "$WORK/tree.txt" 2> /dev/null || true; cat "$WORK/tree.txt"; }
german_in() { grep -o -w -F -f "$WORK/german-words.txt" "$1" | sort -u | tr '\n' ' '; }
no_german() {  # no_german file: the file's names hold no German word
    local found
    found=$(german_in "$1")
    [ -z "$found" ] || echo "     German in $(basename "$1"): $found"
    [ -z "$found" ]
}
has_name() { tree | grep -q -F "|$1"; }
quit_warmap() {
    "$WARMAP_BIN" --quit > /dev/null 2>&1 || true
    wait_for 15 warmap_ended
}
# A run of its own: no saved copies (the first-run box), a settings file, a fresh history.
fresh_run() {  # fresh_run settings-file-text
    rm -rf "$WORK/tmp" "$XDG_CONFIG_HOME/warmap" "$XDG_DATA_HOME/warmap"
    mkdir -p "$WORK/tmp"
    if [ -n "$1" ]; then
        mkdir -p "$XDG_CONFIG_HOME/warmap"
        printf '%s\n' "$1" > "$XDG_CONFIG_HOME/warmap/warmap.conf"
    fi
    start_warmap
}

# --- English -------------------------------------------------------------------------------------
fresh_run $'[General]\nlanguage=en'
check "the first-run box comes up" wait_for 20 has_name "No data loaded for this server yet"
tree > "$ARTIFACTS/en-first-run.txt"
check "the first-run box speaks English" no_german "$ARTIFACTS/en-first-run.txt"
answer_box
check "the Warmap window shows" wait_for 20 has_visible_window "$MAIN_TITLE"
check "its map is named in English" wait_for 10 has_name "Map of the frontier"
tree > "$ARTIFACTS/en-warmap.txt"
check "the Warmap window names its controls in English" grep -q -x '2 push button|Close' "$ARTIFACTS/en-warmap.txt"
check "and nothing in it is German" no_german "$ARTIFACTS/en-warmap.txt"
screenshot "$ARTIFACTS/en-warmap.png" "$(visible_window_id "$MAIN_TITLE")"
# The first pass saves the copies and records the history the export needs.
check "the first pass saves Dartmoor's feed" wait_for 20 test -s "$WORK/tmp/Dartmoor_lastkeeps.xml"
check "the tray icon is there" wait_for 15 has_tray_icon
# A menu is no child of the application for AT-SPI: it is read as it shows.
/usr/bin/python3 "$ATSPI" announced Warmap 8 "popup menu" > "$WORK/announced.txt" 2> /dev/null &
LISTENER=$!
wait_for 10 grep -q listening "$WORK/announced.txt"
open_menu
wait "$LISTENER" || true
sed -n '/^shown popup menu|/,$p' "$WORK/announced.txt" > "$ARTIFACTS/en-menu.txt"
check "the tray menu speaks English" grep -q -x 'menu item|Recent changes' "$ARTIFACTS/en-menu.txt"
check "and has no German word" no_german "$ARTIFACTS/en-menu.txt"
xdotool key Escape

"$WARMAP_BIN" --recent 2> "$WORK/handover.txt"
check "a second start says so in English" grep -q -x 'Warmap is already running; showing its recent changes.' \
    "$WORK/handover.txt"
check "\"Recent changes\" opens" wait_for 10 has_visible_window '^Warmap — Recent changes$'
tree > "$ARTIFACTS/en-recent.txt"
check "\"Recent changes\" speaks English" no_german "$ARTIFACTS/en-recent.txt"
xdotool windowclose "$(visible_window_id '^Warmap — Recent changes$')" 2> /dev/null || true

"$WARMAP_BIN" --settings 2> /dev/null
check "the settings open" wait_for 10 has_visible_window '^Warmap — Settings$'
sleep 0.5
tree > "$ARTIFACTS/en-settings.txt"
check "the settings offer the language" grep -q -x '.* combo box|English' "$ARTIFACTS/en-settings.txt"
check "the settings speak English" no_german "$ARTIFACTS/en-settings.txt"
screenshot "$ARTIFACTS/en-settings.png" "$(visible_window_id '^Warmap — Settings$')"
xdotool windowclose "$(visible_window_id '^Warmap — Settings$')" 2> /dev/null || true

"$WARMAP_BIN" --history 2> /dev/null
check "the history opens" wait_for 15 has_visible_window '^Warmap — History$'
check "its export is offered" wait_for 10 has_name "Export …"
sleep 1
tree > "$ARTIFACTS/en-history.txt"
check "the history speaks English" no_german "$ARTIFACTS/en-history.txt"
screenshot "$ARTIFACTS/en-history.png" "$(visible_window_id '^Warmap — History$')"
click_on "Export …"
check "\"Export …\" asks where to" wait_for 10 has_visible_window '^Export history$'
sleep 1
tree > "$ARTIFACTS/en-file-dialog.txt"
check "Qt's file dialog speaks English" grep -q -x '.*|File name:' "$ARTIFACTS/en-file-dialog.txt"
check "and so does all of it" no_german "$ARTIFACTS/en-file-dialog.txt"
xdotool windowfocus --sync "$(visible_window_id '^Export history$')"
sleep 0.5
xdotool key ctrl+a type "$WORK/export-en.csv"
xdotool key Return
check "the export is written" wait_for 10 test -s "$WORK/export-en.csv"
check "with an English header" test "$(head -n1 "$WORK/export-en.csv" | tr -d '\r')" = \
    'Time,Server,Id,Structure,Realm before,Realm after,Guild before,Guild after'
quit_warmap

# --- German, chosen and by default ---------------------------------------------------------------
for setting in $'[General]\nlanguage=de' ''; do
    name=${setting:+de}
    name=${name:-default}
    fresh_run "$setting"
    check "$name: the first-run box is today's" wait_for 20 has_name "noch keine daten geladen für diesen Server"
    answer_box
    check "$name: the Warmap window shows" wait_for 20 has_visible_window "$MAIN_TITLE"
    check "$name: its names are today's" wait_for 10 has_name "Festung unter dem Mauszeiger: keine Angabe"
    check "$name: the first pass saves Dartmoor's feed" wait_for 20 test -s "$WORK/tmp/Dartmoor_lastkeeps.xml"
    "$WARMAP_BIN" --history 2> /dev/null
    check "$name: the history opens" wait_for 15 has_visible_window '^Warmap — Verlauf$'
    check "$name: its export is offered" wait_for 10 has_name "Exportieren …"
    sleep 1
    click_on "Exportieren …"
    check "$name: \"Exportieren …\" asks where to" wait_for 10 has_visible_window '^Verlauf exportieren$'
    sleep 1
    tree > "$ARTIFACTS/$name-file-dialog.txt"
    check "$name: Qt's file dialog speaks German" grep -q -x '.*|Dateiname:' "$ARTIFACTS/$name-file-dialog.txt"
    xdotool key Escape
    quit_warmap
done
finish
