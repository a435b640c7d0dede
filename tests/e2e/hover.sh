#!/usr/bin/env bash
# Hovering over keeps names them in the hover label; between structures it is empty.
source "$(dirname "$0")/lib.sh"

start_scenario 12

check "the Warmap window appears" wait_for 15 has_visible_window "$MAIN_TITLE"
MAIN=$(visible_window_id "$MAIN_TITLE")
read -r x y w h < <(geometry "$MAIN")
# Map origin inside the window, and the hover label's area on the map.
MAP_X=$((x + 10)); MAP_Y=$((y + 24))
label() { import -window root -crop "89x49+$((MAP_X + 10))+$((MAP_Y + 165))" +repage "$1"; }

xdotool mousemove $((MAP_X + 430)) $((MAP_Y + 300))  # open country, no structure
sleep 0.5
label "$WORK/label-empty.png"
xdotool mousemove $((MAP_X + 297)) $((MAP_Y + 496))  # keep 35
sleep 0.5
label "$ARTIFACTS/label-keep.png"
screenshot "$ARTIFACTS/1-hover.png" "$MAIN"
differs() { ! compare -metric AE "$1" "$2" null: 2>/dev/null; }
check "hovering a keep writes into the hover label" differs "$WORK/label-empty.png" "$ARTIFACTS/label-keep.png"
xdotool mousemove $((MAP_X + 430)) $((MAP_Y + 300))
sleep 0.5
label "$WORK/label-again.png"
same() { compare -metric AE "$1" "$2" null: 2>/dev/null; }
check "moving between structures empties it again" same "$WORK/label-empty.png" "$WORK/label-again.png"

finish
