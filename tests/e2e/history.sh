#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The war's history as a player meets it: three passes with changes on a fast clock, a restart, and
# "Letzte Meldungen" still lists them; "Verlauf" shows the chart, its map at the first pass is the map
# the Warmap window draws from the first saved copy, and the export reads back as the changes. A FIFO in
# the history's place changes nothing but the history. Then a simulated month, for the screenshots of
# 24 hours and 30 days.
[ -n "${WARMAP_PRIVATE_BUS:-}" ] || exec env WARMAP_PRIVATE_BUS=1 dbus-run-session -- bash "$0" "$@"
source "$(dirname "$0")/lib.sh"
need_faketime
SCREEN_W=1600 SCREEN_H=1100
start_display
start_accessibility_bus
start_tray

RECENT_TITLE='Letzte Meldungen$'
HISTORY_TITLE='^Warmap — Verlauf$'
HISTORY="$XDG_DATA_HOME/warmap/history.sqlite"
# Pixels within 20 % of a colour in a picture.
colour_pixels() {
    convert "$1" -fuzz 20% -fill black +opaque "$2" -fill white +opaque black -format '%[fx:round(mean*w*h)]' info:
}
crop() {  # crop picture x y w h out
    convert "$1" -crop "${4}x${5}+${2}+${3}" +repage "$6"
}

start_feedsim --seed 21 --steps 1
prepare_saved_copies 21 0
# All four copies, not Dartmoor's alone: a step sent while the pass still fetches the later servers
# would reach them in that pass and Dartmoor in the next, one step shown in two passes.
same_as_served() {
    local server
    for server in Dartmoor Logres Avalon Salisbury; do
        cmp -s "$TEMP_FOLDER/${server}_lastkeeps.xml" <(served "$server" 2> /dev/null) || return 1
    done
}
# A clock a hundred times as fast: a pass every six seconds. The restart goes on from two hours on, so
# its clock never lies before the first run's passes.
fast_warmap() { LD_PRELOAD="$FAKETIME_LIB" FAKETIME="${1:-+0} x100" start_warmap; }
fast_warmap
check "the first pass saves Dartmoor's feed" wait_for 20 same_as_served
cp "$TEMP_FOLDER/Dartmoor_lastkeeps.xml" "$WORK/first-copy.xml"
for pass in 2 3; do
    control advance
    check "pass $pass saves the next step" wait_for 20 same_as_served
done
sleep 8  # the pass under way ends and is recorded
choose Up Return
check "\"Beenden\" ends the program" wait_for 15 warmap_ended
check "the history file is private" test "$(stat -c %a "$HISTORY")" = 600
check "and its folder too" test "$(stat -c %a "$(dirname "$HISTORY")")" = 700

fast_warmap +2h
check "after a restart the icon is back" wait_for 15 has_tray_icon
choose Down Down Return
check "\"Letzte Meldungen\" opens" wait_for 10 has_visible_window "$RECENT_TITLE"
sleep 0.5
screenshot "$ARTIFACTS/recent-after-restart.png" "$(visible_window_id "$RECENT_TITLE")"
# One heading rule in the ink colour per pass (see tray.sh).
rules=$(convert "$ARTIFACTS/recent-after-restart.png" -crop "100x1000+150+0" +repage -scale '1x1000!' txt:- |
    grep -c -i '#46301A' || true)
check "it still lists the three passes of the last run (saw $rules)" test "$rules" -eq 3
xdotool windowclose "$(visible_window_id "$RECENT_TITLE")" 2> /dev/null || true

choose Down Down Down Return
check "\"Verlauf …\" opens the history window" wait_for 15 has_visible_window "$HISTORY_TITLE"
check "its chart is there for AT-SPI" wait_for 10 has_extents "Burgen und Türme der Reiche über die Zeit"
sleep 1
screenshot "$WORK/screen.png"
read -r cx cy cw ch < <(extents "Burgen und Türme der Reiche über die Zeit")
crop "$WORK/screen.png" "$cx" "$cy" "$cw" "$ch" "$WORK/chart.png"
for colour in '#FF0000' '#0000FF' '#008000'; do
    n=$(colour_pixels "$WORK/chart.png" "$colour")
    check "the chart draws a realm in $colour ($n pixels)" test "$n" -gt 200
done
xdotool mousemove $((cx + cw / 2)) $((cy + ch / 2)) mousemove $((cx + cw / 2 + 5)) $((cy + ch / 2))
pointed() {
    /usr/bin/python3 "$ATSPI" tree Warmap > "$ARTIFACTS/history-tree.txt" 2> /dev/null
    grep -q -E 'label\|Dartmoor, [0-9.]{10} [0-9:]{5} — Albion: [0-9]+ Burgen' "$ARTIFACTS/history-tree.txt"
}
check "pointing at the chart tells the time and the counts" wait_for 5 pointed
# A change of realm names the new realm; one of guild alone both guilds.
items=$(grep -c -E '^[0-9]+ list item\|[0-9.]{10} [0-9:]{5}  .+ → ' \
    "$ARTIFACTS/history-tree.txt" || true)
check "AT-SPI reads the four changes of the list as its items (saw $items)" test "$items" -eq 4
screenshot "$ARTIFACTS/history-live.png" "$(visible_window_id "$HISTORY_TITLE")"

# The slider to its start: the map of the first pass.
click_on "Zeitpunkt der Karte"
xdotool key Home
sleep 1
screenshot "$WORK/screen.png"
read -r mx my mw mh < <(extents "Karte zum gewählten Zeitpunkt")
crop "$WORK/screen.png" "$mx" "$my" "$mw" "$mh" "$ARTIFACTS/history-map-first-pass.png"

# The export of the stretch's changes.
click_on "Exportieren …"
check "\"Exportieren …\" asks where to" wait_for 10 has_visible_window '^Verlauf exportieren$'
xdotool windowfocus --sync "$(visible_window_id '^Verlauf exportieren$')"
sleep 0.5
xdotool key ctrl+a type "$WORK/export.csv"
xdotool key Return
check "and writes the file" wait_for 10 test -s "$WORK/export.csv"
cp "$WORK/export.csv" "$ARTIFACTS/export.csv" 2> /dev/null || true
for step in 1 2 3; do "$FEEDSIM_BIN" --seed 21 --steps $step --write Dartmoor "$WORK/step$step.xml"; done
check "the CSV reads back as the changes of passes 2 and 3" /usr/bin/python3 - "$WORK" << 'PY'
import csv, sys, xml.etree.ElementTree as ET
work = sys.argv[1]
steps = [[(e.get("id"), e.get("realm"), e.get("guildname")) for e in ET.parse(f"{work}/step{n}.xml").getroot()]
         for n in (1, 2, 3)]
expected = [(new[0], old[1], new[1], old[2], new[2]) for a, b in ((0, 1), (1, 2))
            for old, new in zip(steps[a], steps[b]) if old != new]
with open(f"{work}/export.csv", newline="", encoding="utf-8") as f:
    rows = list(csv.reader(f, strict=True))
assert rows[0] == ["Zeit", "Server", "Id", "Bauwerk", "Reich vorher", "Reich nachher", "Gilde vorher",
                   "Gilde nachher"], rows[0]
got = [(r[2], r[4], r[5], r[6], r[7]) for r in rows[1:]]
assert all(r[1] == "Dartmoor" and len(r) == 8 for r in rows[1:])
assert sorted(got) == sorted(expected), (len(got), len(expected))
print(f"{len(got)} changes", file=sys.stderr)
PY
choose Up Return
check "\"Beenden\" ends it" wait_for 15 warmap_ended

# The Warmap window drawing the first saved copy, for the comparison: a second, separate run.
mkdir -p "$WORK/reference/tmp" "$WORK/reference/data"
mkdir -m 700 "$WORK/reference/runtime"
cp "$WORK/first-copy.xml" "$WORK/reference/tmp/Dartmoor_lastkeeps.xml"
XDG_RUNTIME_DIR="$WORK/reference/runtime" XDG_DATA_HOME="$WORK/reference/data" TMPDIR="$WORK/reference/tmp" \
    WARMAP_FEED_BASE="$FEED_BASE" "$WARMAP_BIN" > "$WORK/reference.log" 2>&1 &
PIDS+=($!)
check "the Warmap window draws the first saved copy" wait_for 15 has_extents "Karte der Grenzlande"
sleep 1
screenshot "$WORK/screen.png"
read -r wx wy ww wh < <(extents "Karte der Grenzlande")
crop "$WORK/screen.png" "$wx" "$wy" "$ww" "$wh" "$ARTIFACTS/warmap-map-first-copy.png"
check "both maps have the same size (${mw}x$mh, ${ww}x$wh)" test "${mw}x$mh" = "${ww}x$wh"
# The server list, the date and the hover text lie over the Warmap window's map, left of x = 110 and
# above y = 220; everything else is compared pixel for pixel.
differing() {  # differing picture picture geometry -> how many pixels differ there
    convert "$1" -crop "$3" +repage "$WORK/a.png"
    convert "$2" -crop "$3" +repage "$WORK/b.png"
    compare -metric AE "$WORK/a.png" "$WORK/b.png" null: 2>&1 || true
}
right=$(differing "$ARTIFACTS/history-map-first-pass.png" "$ARTIFACTS/warmap-map-first-copy.png" "$((mw - 110))x$mh+110+0")
lower=$(differing "$ARTIFACTS/history-map-first-pass.png" "$ARTIFACTS/warmap-map-first-copy.png" "110x$((mh - 220))+0+220")
check "the history's map at the first pass is the Warmap window's drawing ($right + $lower pixels differ)" \
    test "$right" = 0 -a "$lower" = 0
kill "${PIDS[-1]}" 2> /dev/null || true
wait "${PIDS[-1]}" 2> /dev/null || true

# A history file that is a FIFO (opening it naively would hang): the program says so once and goes on
# without history, popup and all, and leaves the FIFO as it was.
export XDG_DATA_HOME="$WORK/fifo"
mkdir -p -m 700 "$XDG_DATA_HOME/warmap"
mkfifo -m 600 "$XDG_DATA_HOME/warmap/history.sqlite"
prepare_saved_copies 21 2
start_warmap
check "with a FIFO for a history the first pass still brings its popup" wait_for 20 popup_opaque
said=$(grep -c "warmap.history: no history this run: $XDG_DATA_HOME/warmap/history.sqlite is not a regular file" \
    "$WORK/warmap.log" || true)
check "one log line names the file and the cause (saw $said)" test "$said" -eq 1
check "and the FIFO is left as it was" test -p "$XDG_DATA_HOME/warmap/history.sqlite"
choose Up Return
check "\"Beenden\" ends it" wait_for 15 warmap_ended

# A month of simulated history, for the screenshots; the simulator and the saved copies go on from
# its last pass, so the live passes continue the same war.
export XDG_DATA_HOME="$WORK/month"
simulated_history 4320 5 0
start_warmap
check "with a month of history the icon appears" wait_for 15 has_tray_icon
choose Down Down Down Return
check "\"Verlauf …\" opens on it" wait_for 15 has_visible_window "$HISTORY_TITLE"
sleep 1.5
screenshot "$ARTIFACTS/history-24h.png" "$(visible_window_id "$HISTORY_TITLE")"
click_on "30 Tage"
sleep 1.5
screenshot "$ARTIFACTS/history-30d.png" "$(visible_window_id "$HISTORY_TITLE")"
choose Up Return
check "\"Beenden\" ends it" wait_for 15 warmap_ended
finish
