#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The settings window as a player uses it: from the tray menu, Avalon and the sound switched off, the
# feed moved to a second server. The next pass asks the new server, tells no Avalon line and plays
# nothing; the file keeps the choice, and a restart follows it.
[ -n "${WARMAP_PRIVATE_BUS:-}" ] || exec env WARMAP_PRIVATE_BUS=1 dbus-run-session -- bash "$0" "$@"
source "$(dirname "$0")/lib.sh"
need_faketime
start_sound_server
start_display
start_accessibility_bus
start_tray

# Two feed servers on the same frontier, the second one step further (three Avalon changes, one on
# each other server); the saved copies one step behind the first.
start_feedsim --seed 16 --steps 1
FIRST=$FEED_BASE
start_feedsim --seed 16 --steps 2
SECOND=$FEED_BASE
prepare_saved_copies 16 0
CONF="$XDG_CONFIG_HOME/warmap/warmap.conf"
mkdir -p "$(dirname "$CONF")"
printf '[feed]\nbase=%s\n' "$FIRST" > "$CONF"
requests() { curl -fsS --noproxy '*' "$1/control/requests" 2> /dev/null || echo 0; }
asked_since() { [ "$(requests "$SECOND")" -ge $(($1 + 4)) ]; }  # asked_since count: a whole pass since

# The clock is ours: moved ten minutes on when the next pass is due (libfaketime).
CLOCK="$WORK/clock"
echo "+0" > "$CLOCK"
# The feed address comes from the file alone: an empty WARMAP_FEED_BASE does not count.
launch() { LD_PRELOAD="$FAKETIME_LIB" FAKETIME_TIMESTAMP_FILE="$CLOCK" FAKETIME_NO_CACHE=1 FEED_BASE= start_warmap; }
launch
check "the Warmap window shows" wait_for 20 has_visible_window "$MAIN_TITLE"
start_recording "$WORK/first.wav"
check "the first pass, at the file's address, brings its popup" wait_for 20 popup_opaque
sleep 3
stop_recording
check "with the chime ($(peak_db "$WORK/first.wav") dB)" awk -v p="$(peak_db "$WORK/first.wav")" 'BEGIN{exit !(p > -20)}'
wait_for 30 popup_gone

DIALOG_TITLE='^Warmap — Einstellungen$'
choose Up Up Return
check "\"Einstellungen …\" in the tray menu opens the settings" wait_for 10 has_visible_window "$DIALOG_TITLE"
DIALOG=$(visible_window_id "$DIALOG_TITLE")
xdotool windowfocus --sync "$DIALOG"
sleep 0.3
# The feed address has the focus; then Prüfen, the four servers, the realm, the guild,
# its switch and the sound.
xdotool key ctrl+a type "$SECOND"
xdotool key Tab Tab Tab Tab space Tab Tab Tab Tab Tab space
sleep 0.5
screenshot "$ARTIFACTS/settings.png" "$DIALOG"
xdotool key Return
dialog_closed() { ! has_visible_window "$DIALOG_TITLE"; }
check "OK closes it" wait_for 10 dialog_closed
check "the file holds the new address" grep -qx "base=$SECOND" "$CONF"
check "and Avalon switched off" grep -qx "Avalon=false" "$CONF"
check "and the sound off" grep -qx "sound=false" "$CONF"
check "and the other servers on" test "$(grep -c -x -E '(Dartmoor|Logres|Salisbury)=true' "$CONF")" -eq 3
cp "$CONF" "$ARTIFACTS/warmap.conf"

# Ten minutes later: the next pass.
before=$(requests "$SECOND")
/usr/bin/python3 "$ATSPI" announced Warmap 30 > "$WORK/announced.txt" 2> "$WORK/atspi.log" &
LISTENER=$!
wait_for 10 grep -q listening "$WORK/announced.txt"
start_recording "$WORK/second.wav"
echo "+600" > "$CLOCK"
read -r x y _ _ < <(geometry "$(visible_window_id "$MAIN_TITLE")")
xdotool mousemove $((x + 200)) $((y + 200)) mousemove $((x + 210)) $((y + 210))  # wakes the event loop
check "the next pass goes to the new address" wait_for 20 asked_since "$before"
wait "$LISTENER" || true
sleep 2
stop_recording
cp "$WORK/announced.txt" "$ARTIFACTS/announced.txt"
lines() { awk '/^shown notification\|./{on = 1; next} /^shown /{on = 0} on' "$WORK/announced.txt" | grep '^label|'; }
check "its popup tells the three changes elsewhere ($(lines | wc -l) lines)" test "$(lines | wc -l)" -eq 3
check "and no Avalon line" test -z "$(lines | grep '^label|AVA: ')"
check "without a sound ($(peak_db "$WORK/second.wav") dB)" awk -v p="$(peak_db "$WORK/second.wav")" 'BEGIN{exit !(p == "-inf" || p + 0 < -60)}'

# A restart keeps the choice: its first pass asks the new address.
choose Up Return
check "\"Beenden\" ends the program" wait_for 15 warmap_ended
before=$(requests "$SECOND")
echo "+0" > "$CLOCK"
launch
check "after a restart the first pass asks the new address again" wait_for 20 asked_since "$before"
check "and the file is as it was saved" cmp -s "$CONF" "$ARTIFACTS/warmap.conf"
# A later start with --settings opens the running program's settings window.
status=0
TMPDIR="$TEMP_FOLDER" timeout 20 "$WARMAP_BIN" --settings > "$WORK/second-start.log" 2>&1 || status=$?
check "a later start with --settings hands over (status $status)" test "$status" -eq 0
check "and the running program opens its settings" wait_for 10 has_visible_window "$DIALOG_TITLE"
finish
