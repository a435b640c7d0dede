#!/usr/bin/env bash
# Start-up, first pass and the change popup, as a user sees them.
source "$(dirname "$0")/lib.sh"

start_scenario 11

check "the Warmap window appears" wait_for 15 has_visible_window "$MAIN_TITLE"
MAIN=$(visible_window_id "$MAIN_TITLE")
read -r x y w h < <(geometry "$MAIN")
check "it is centred on the screen ($x,$y ${w}x$h)" test $((x + w / 2)) -ge $((SCREEN_W / 2 - 1)) -a $((x + w / 2)) -le $((SCREEN_W / 2 + 1)) \
    -a $((y + h / 2)) -ge $((SCREEN_H / 2 - 1)) -a $((y + h / 2)) -le $((SCREEN_H / 2 + 1))
sleep 0.5
screenshot "$ARTIFACTS/1-warmap.png" "$MAIN"

# The popup: find it, wait until it is opaque, then check where it sits and how tall it is.
check "the popup window exists" wait_for 10 has_window "$POPUP_TITLE"
POPUP=$(window_id "$POPUP_TITLE")
check "the popup fades in to opaque" wait_for 20 popup_opaque
states=$(xprop -id "$POPUP" _NET_WM_STATE)
check "it asks to stay off taskbars and pagers ($states)" \
    test -n "$(grep _NET_WM_STATE_SKIP_TASKBAR <<< "$states" | grep _NET_WM_STATE_SKIP_PAGER)"
screenshot "$ARTIFACTS/2-popup.png" "$POPUP"

expected_lines() {  # realm changes between the saved copies and what the simulator serves now
    local n=0
    for server in Dartmoor Logres Avalon Salisbury; do
        n=$((n + $(diff <(grep -o 'id="[0-9]*" realm="[^"]*"' "$WORK/before-$server.xml") \
                        <(served "$server" | grep -o 'id="[0-9]*" realm="[^"]*"') | grep -c '^>' || true)))
    done
    echo "$n"
}
for server in Dartmoor Logres Avalon Salisbury; do
    "$FEEDSIM_BIN" --seed 11 --steps 0 --write "$server" "$WORK/before-$server.xml"
done
LINES=$(expected_lines)
read -r px py pw ph < <(geometry "$POPUP")
check "the popup carries $LINES lines: 280 x $((15 * LINES + 38)) (saw ${pw}x$ph)" test "$pw" -eq 280 -a "$ph" -eq $((15 * LINES + 38))
check "it sits bottom-right, 6 px above the taskbar (saw $px,$py)" \
    test "$px" -eq $((SCREEN_W - 280 - 6)) -a $((py + ph)) -eq $((SCREEN_H - TASKBAR_H - 6))

same_as_served() { cmp -s "$TEMP_FOLDER/${1}_lastkeeps.xml" <(served "$1"); }
for server in Dartmoor Logres Avalon Salisbury; do
    check "the saved copy of $server holds the bytes served" same_as_served "$server"
done

check "the popup fades out after its end timer" wait_for 30 popup_gone
screenshot "$ARTIFACTS/3-after-fade.png"
check "the program is still running" kill -0 "$WARMAP_PID"
finish
