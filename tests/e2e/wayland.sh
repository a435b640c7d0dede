#!/usr/bin/env bash
# A Wayland session: a headless weston with XWayland. With both WAYLAND_DISPLAY and DISPLAY set the
# program runs through XWayland, where it can place its popup; with Wayland alone it still works and
# says once that it cannot place the popup, with no warning per fade step.
source "$(dirname "$0")/lib.sh"
command -v weston > /dev/null && command -v Xwayland > /dev/null || skip "weston or Xwayland is not installed"
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=headless-backend.so --xwayland --socket=warmap-e2e --width="$SCREEN_W" --height="$SCREEN_H" \
    --idle-time=0 --log="$WORK/weston.log" > /dev/null 2>&1 &
PIDS+=($!)
wait_for 15 grep -q 'xserver listening on display' "$WORK/weston.log" ||
    skip "weston did not start here: $(tail -1 "$WORK/weston.log")"
export WAYLAND_DISPLAY=warmap-e2e
export DISPLAY
DISPLAY=$(grep -o 'xserver listening on display :[0-9]*' "$WORK/weston.log" | grep -o ':[0-9]*$')
unset QT_QPA_PLATFORM
# A panel's reservation, as start_display sets it; the first X client starts XWayland and its window
# manager, which writes its own list first.
xprop -root _NET_SUPPORTED > /dev/null
sleep 1
xprop -root -format _NET_SUPPORTED 32a -set _NET_SUPPORTED "_NET_WM_STATE,_NET_ACTIVE_WINDOW,_NET_WORKAREA"
xprop -root -format _NET_WORKAREA 32c -set _NET_WORKAREA "0, 0, $SCREEN_W, $((SCREEN_H - TASKBAR_H))"

start_feedsim --seed 11 --steps 1
prepare_saved_copies 11 0
start_warmap
check "with DISPLAY also set, the Warmap window appears on XWayland's display" wait_for 20 has_visible_window "$MAIN_TITLE"
check "the popup fades in to opaque there" wait_for 20 popup_opaque
POPUP=$(window_id "$POPUP_TITLE")
read -r px py pw ph < <(geometry "$POPUP")
check "it sits bottom-right, 6 px above the panel (saw $px,$py ${pw}x$ph)" \
    test "$px" -eq $((SCREEN_W - 280 - 6)) -a $((py + ph)) -eq $((SCREEN_H - TASKBAR_H - 6))
import -window "$POPUP" "$ARTIFACTS/xwayland-popup.png"
check "nothing about opacity, placement or a tray on stderr" test -z "$(grep -i -E 'opacity|place|tray' "$WORK/warmap.log")"
kill "$WARMAP_PID"
wait "$WARMAP_PID" 2> /dev/null || true

# Wayland alone.
unset DISPLAY
prepare_saved_copies 11 0
start_warmap
pass_saved() { cmp -s "$TEMP_FOLDER/Salisbury_lastkeeps.xml" <(served Salisbury); }
check "with Wayland alone the first pass runs" wait_for 20 pass_saved
sleep 2  # the popup's fade-in
check "it says once that the popup cannot be placed" test "$(grep -c 'cannot place\|no program place' "$WORK/warmap.log")" -eq 1
check "and never warns per fade step" test "$(grep -c -i 'opacity' "$WORK/warmap.log")" -eq 0
check "nor about a tray it does not have" test "$(grep -c -i 'tray' "$WORK/warmap.log")" -eq 0
check "the program is still running" kill -0 "$WARMAP_PID"
finish
