#!/usr/bin/env bash
# What a screen reader gets, read through AT-SPI on a private session bus: names for the Warmap
# window's controls, and the popup announced with its lines as text.
[ -n "${WARMAP_PRIVATE_BUS:-}" ] || exec env WARMAP_PRIVATE_BUS=1 dbus-run-session -- bash "$0" "$@"
source "$(dirname "$0")/lib.sh"
PY=/usr/bin/python3
start_display
start_accessibility_bus

start_feedsim --seed 11 --steps 1
prepare_saved_copies 11 0
"$PY" "$ATSPI" announced Warmap 25 > "$WORK/announced.txt" 2> "$WORK/atspi.log" &
LISTENER=$!
wait_for 10 grep -q listening "$WORK/announced.txt"
start_warmap
check "the Warmap window shows" wait_for 20 has_visible_window "$MAIN_TITLE"
wait "$LISTENER" || true
cp "$WORK/announced.txt" "$ARTIFACTS/announced.txt"
# The first notification with a name must be the pass's; the transparent popup of start-up is shown
# too, but as a notification without name or lines, which gives a screen reader nothing to say.
first_notification() { awk '/^shown /{on = /^shown notification\|./; if (done) exit; if (on) done = 1} on' "$WORK/announced.txt"; }
check "the popup announces itself as a notification" test "$(first_notification | head -n1)" = 'shown notification|Warmap Frontbericht'
check "with its lines as text" grep -qx 'label|DM: Skarnholt Beacon → Hibernia' <(first_notification)
check "all nine of them" test "$(first_notification | grep -c '^label|[A-Z]*: .* → ')" -eq 9

"$PY" "$ATSPI" tree Warmap > "$WORK/tree.txt"
cp "$WORK/tree.txt" "$ARTIFACTS/tree.txt"
has() { grep -qx "$1" "$WORK/tree.txt"; }
check "the Warmap window is a frame" has '1 frame|Warmap'
check "its buttons have names" has '2 push button|Schließen'
check "both of them" has '2 push button|Minimieren'
check "the server list lists the servers" test "$(grep -c -x -E '[0-9]+ list item\|(Dartmoor|Logres|Avalon|Salisbury)' "$WORK/tree.txt")" -eq 4
labelled() { [ "$(grep -A1 -x "$1" "$WORK/tree.txt" | tail -n1)" = "$2" ]; }
check "the server list reads its choice and is labelled \"Server\"" labelled '3 combo box|Dartmoor' '3 labelled by|Server'
check "the date label says what it shows" has '3 label|Stand der Karte: 08.12.2026 08:00:00'
check "so does the hover label" has '3 label|Festung unter dem Mauszeiger: keine Angabe'
check "no object without a name but lists and the application" \
    test -z "$(grep -E '\|$' "$WORK/tree.txt" | grep -v -E ' (list|application)\|$')"
finish
