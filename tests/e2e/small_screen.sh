#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A 1024 x 600 screen without a panel: the popup sits in the bottom-right corner, 6 px clear of both
# edges; the history window fits, never grows when the pointer moves over its chart, and its read-out
# names the server chosen, as a screen reader reads it.
[ -n "${WARMAP_PRIVATE_BUS:-}" ] || exec env WARMAP_PRIVATE_BUS=1 dbus-run-session -- bash "$0" "$@"
source "$(dirname "$0")/lib.sh"
SCREEN_W=1024 SCREEN_H=600 TASKBAR_H=0
start_display
start_accessibility_bus

# Three days of history, and a frontier one step further than its last pass.
simulated_history 432 9 1
start_warmap
check "the first pass brings its popup" wait_for 20 popup_opaque
POPUP=$(window_id "$POPUP_TITLE")
read -r px py pw ph < <(geometry "$POPUP")
check "without a panel it sits bottom-right, 6 px clear (${pw}x$ph+$px+$py)" \
    test "$px" -eq $((SCREEN_W - 280 - 6)) -a "$py" -eq $((SCREEN_H - ph - 6)) -a "$pw" -eq 280
screenshot "$ARTIFACTS/popup-without-panel.png"
wait_for 30 popup_gone || true

HISTORY_TITLE='^Warmap — Verlauf$'
TMPDIR="$TEMP_FOLDER" timeout 20 "$WARMAP_BIN" --history > /dev/null 2>&1 || true
check "--history opens the history window" wait_for 15 has_visible_window "$HISTORY_TITLE"
HISTORY=$(visible_window_id "$HISTORY_TITLE")
sleep 1
read -r hx hy hw hh < <(geometry "$HISTORY")
check "it fits the screen (${hw}x$hh+$hx+$hy)" test $((hx + hw)) -le "$SCREEN_W" -a $((hy + hh)) -le "$SCREEN_H"
read -r mw mh < <(xprop -id "$HISTORY" WM_NORMAL_HINTS | awk '/minimum size/{print $5, $7}')
check "its minimum size is within 1000 x 560 (${mw}x$mh)" test "${mw:-9999}" -le 1000 -a "${mh:-9999}" -le 560
screenshot "$ARTIFACTS/history-1024x600.png" "$HISTORY"

CHART="Burgen und Türme der Reiche über die Zeit"
check "its chart is there for AT-SPI" wait_for 10 has_extents "$CHART"
read -r cx cy cw ch < <(extents "$CHART")
for step in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove $((cx + cw * step / 11)) $((cy + ch / 2))
    sleep 0.1
done
sleep 0.5
read -r _ _ hw2 hh2 < <(geometry "$HISTORY")
check "moving the pointer over the chart leaves its size (${hw2}x$hh2)" test "${hw2}x$hh2" = "${hw}x$hh"
readout() {  # readout server: the read-out AT-SPI shows names that server and a moment's counts
    /usr/bin/python3 "$ATSPI" tree Warmap > "$WORK/tree.txt" 2> /dev/null
    grep -q -E "label\|$1, [0-9.]{10} [0-9:]{5} — Albion: [0-9]+ Burgen, [0-9]+ Türme" "$WORK/tree.txt"
}
check "pointing at the chart reads out Dartmoor's counts" wait_for 5 readout Dartmoor
# Another server from the keyboard: the read-out follows it at once.
xdotool mousemove $((hx + 100)) $((hy + 20)) click 1
sleep 0.3
xdotool key Down Return
check "after switching to Logres the read-out is Logres's" wait_for 5 readout Logres
cp "$WORK/tree.txt" "$ARTIFACTS/history-tree.txt"
screenshot "$ARTIFACTS/history-1024x600-logres.png" "$HISTORY"
finish
