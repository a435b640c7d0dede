#!/usr/bin/env bash
# Closing the Warmap window before the first pass: the pass still brings its popup.
source "$(dirname "$0")/lib.sh"

start_scenario 13

check "the Warmap window appears" wait_for 15 has_visible_window "$MAIN_TITLE"
MAIN=$(visible_window_id "$MAIN_TITLE")
read -r x y w h < <(geometry "$MAIN")
# The close button sits at (392, 2) on the window; the first pass comes 3 s after start.
xdotool mousemove $((x + 400)) $((y + 10)) click 1
no_main() { [ -z "$(visible_window_id "$MAIN_TITLE")" ]; }
check "the close button removes the Warmap window" wait_for 5 no_main
check "the program keeps running" kill -0 "$WARMAP_PID"
POPUP=$(window_id "$POPUP_TITLE")
check "a following pass still brings the popup" wait_for 20 popup_opaque
screenshot "$ARTIFACTS/2-popup-without-warmap.png"
finish
