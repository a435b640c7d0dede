#!/usr/bin/env bash
# With a system tray: the icon, its menu, the recent changes, a second start, a crash, and the end.
source "$(dirname "$0")/lib.sh"

start_display
start_tray
start_feedsim --seed 15 --steps 1
prepare_saved_copies 15 0
start_warmap

check "the Warmap window appears" wait_for 15 has_visible_window "$MAIN_TITLE"
check "the icon appears in the tray" wait_for 10 has_tray_icon
check "the first pass brings its popup" wait_for 20 popup_opaque

no_main() { [ -z "$(visible_window_id "$MAIN_TITLE")" ]; }
close_main() {  # with its close button, at (392, 2) on the window
    read -r x y w h < <(geometry "$(visible_window_id "$MAIN_TITLE")")
    xdotool mousemove $((x + 400)) $((y + 10)) click 1
    wait_for 5 no_main
}
check "the close button removes the Warmap window" close_main

check "a right click opens the tray menu" open_menu
MENU=$(menu_window)
read -r mx my mw mh < <(geometry "$MENU")
import -window root -crop "$((mw + 60))x$((mh + 40))+$((mx - 30))+0" +repage "$ARTIFACTS/1-tray-menu.png"
xdotool key Escape
sleep 0.3

check "\"Karte zeigen\" is chosen" choose Down Return
check "the Warmap window is there again" wait_for 10 has_visible_window "$MAIN_TITLE"
MAIN=$(visible_window_id "$MAIN_TITLE")
read -r x y w h < <(geometry "$MAIN")
sleep 0.5
screenshot "$ARTIFACTS/2-window-again.png" "$MAIN"
# Keep 0 of Dartmoor sits at (387, 160) on the map: the icon's pixels differ from the bare map's.
icon_drawn() {
    local colours
    colours=$(import -window root -crop "12x12+$((x + 10 + 381))+$((y + 24 + 154))" +repage -format '%k' info:)
    [ "$colours" -gt 20 ]
}
check "with the map drawn" icon_drawn

RECENT_TITLE='Letzte Meldungen$'
choose Down Down Return
check "\"Letzte Meldungen\" opens the recent changes" wait_for 10 has_visible_window "$RECENT_TITLE"
sleep 0.5
screenshot "$ARTIFACTS/3-recent-changes.png" "$(visible_window_id "$RECENT_TITLE")"
window_icon() { xprop -id "$(visible_window_id "$RECENT_TITLE")" _NET_WM_ICON | grep -c 'Icon (' > /dev/null; }
check "it carries the program's icon" window_icon

AUTOSTART="$XDG_CONFIG_HOME/autostart/warmap.desktop"
choose Down Down Down Down Return
check "\"Beim Anmelden starten\" writes the autostart entry" wait_for 5 test -s "$AUTOSTART"
check "which starts this program" grep -qxF "Exec=\"$(readlink -f "$WARMAP_BIN")\"" "$AUTOSTART"
choose Down Down Down Down Return
check "choosing it again removes it" wait_for 5 test ! -e "$AUTOSTART"

# A second start shows the running program's window and ends.
check "the window is closed again" close_main
status=0
TMPDIR="$TEMP_FOLDER" WARMAP_FEED_BASE="$FEED_BASE" timeout 20 "$WARMAP_BIN" > "$WORK/second.log" 2>&1 || status=$?
check "a second start ends with status 0 (saw $status)" test "$status" -eq 0
check "after the first showed its window" wait_for 10 has_visible_window "$MAIN_TITLE"
check "and the first one runs on" kill -0 "$WARMAP_PID"
# The hand-over needs no display: a start from a terminal without one brings the window back too.
check "the window is closed once more" close_main
status=0
env -u DISPLAY TMPDIR="$TEMP_FOLDER" WARMAP_FEED_BASE="$FEED_BASE" timeout 20 "$WARMAP_BIN" > "$WORK/third.log" 2>&1 || status=$?
check "a start without a display hands over too (status $status)" test "$status" -eq 0
check "and the window is back" wait_for 10 has_visible_window "$MAIN_TITLE"

# A crash leaves its lock file and socket behind; they do not keep the next start from running.
kill -KILL "$WARMAP_PID"
wait "$WARMAP_PID" 2> /dev/null || true
check "the crash left the lock file and the socket" test -e "$XDG_RUNTIME_DIR/warmap.lock" -a -S "$XDG_RUNTIME_DIR/warmap.socket"
gone() { ! has_window "$MAIN_TITLE"; }
wait_for 5 gone
control advance
start_warmap
check "the next start runs anyway" wait_for 15 has_visible_window "$MAIN_TITLE"
check "and has its icon in the tray" wait_for 10 has_tray_icon
check "its first pass has run and found the next changes" wait_for 20 popup_opaque

# "Beenden": the program ends with status 0 and every saved copy whole.
choose Up Return
status=0
check "\"Beenden\" ends the program" wait_for 15 warmap_ended
wait "$WARMAP_PID" || status=$?
check "with status 0 (saw $status)" test "$status" -eq 0
for server in Dartmoor Logres Avalon Salisbury; do
    check "the saved copy of $server is what was served" cmp -s "$TEMP_FOLDER/${server}_lastkeeps.xml" <(served "$server")
done
check "the icon has left the tray" wait_for 5 bash -c "! xwininfo -root -tree | sed -n '/(\"panel\" \"trayer\")/,\$p' | grep -q '(\"warmap\" \"Warmap\")'"

# Two passes with changes, ten minutes apart: the same program on a clock that runs a hundred times
# faster (libfaketime), so the second pass comes six seconds after the first.
# A history of its own: the earlier runs' passes would come back in "Letzte Meldungen" (history.sh
# checks that).
FAKETIME_LIB=$(ls /usr/lib/*/faketime/libfaketimeMT.so.1 | head -n1)
export XDG_DATA_HOME="$WORK/fast-clock-data"
same_as_served() { cmp -s "$TEMP_FOLDER/Salisbury_lastkeeps.xml" <(served Salisbury 2> /dev/null); }
control advance
LD_PRELOAD="$FAKETIME_LIB" FAKETIME="+0 x100" start_warmap
check "on the fast clock the icon appears" wait_for 15 has_tray_icon
check "the first pass saves the next changes" wait_for 10 same_as_served
control advance
check "ten minutes later the second pass saves the ones after" wait_for 20 same_as_served
choose Down Down Return
check "\"Letzte Meldungen\" opens" wait_for 10 has_visible_window "$RECENT_TITLE"
sleep 0.5
RECENT=$(visible_window_id "$RECENT_TITLE")
screenshot "$ARTIFACTS/4-recent-changes-after-two-passes.png" "$RECENT"
# Each pass is headed by a rule in the ink colour across the parchment: two passes, two rows that are
# ink all the way across 100 pixels (averaging a row of text never gives the pure ink colour).
rules=$(convert "$ARTIFACTS/4-recent-changes-after-two-passes.png" -crop "100x1000+150+0" +repage -scale '1x1000!' txt:- |
    grep -c -i '#46301A' || true)
check "it holds both passes under two headings (saw $rules rules)" test "$rules" -eq 2
choose Up Return
check "and \"Beenden\" ends it" wait_for 15 bash -c "! kill -0 $WARMAP_PID 2> /dev/null"
finish
