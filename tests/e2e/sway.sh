#!/usr/bin/env bash
# Wayland alone on a tiling compositor: a headless sway, run as an unprivileged user. The popup must
# not become a tiled window that takes the keyboard: while the Warmap window is shown it is attached
# to it and never focused; without it, it floats at its own size. A DISPLAY that points at no X server
# must not stop the program: it runs through Wayland and says so once.
source "$(dirname "$0")/lib.sh"
for tool in sway swaymsg grim python3 weston-terminal; do command -v "$tool" > /dev/null || skip "$tool is not installed"; done

SWAY_DIR="$WORK/sway"
mkdir -p "$SWAY_DIR/runtime"
chmod 700 "$SWAY_DIR/runtime"
printf 'output HEADLESS-1 resolution %sx%s\nxwayland disable\n' "$SCREEN_W" "$SCREEN_H" > "$SWAY_DIR/config"
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    chmod 755 "$WORK"
    chown -R nobody:nogroup "$SWAY_DIR"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi
env -i PATH="$PATH" HOME="$SWAY_DIR" XDG_RUNTIME_DIR="$SWAY_DIR/runtime" WLR_BACKENDS=headless \
    WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman "${as_user[@]}" sway -c "$SWAY_DIR/config" > "$WORK/sway.log" 2>&1 &
PIDS+=($!)
socket() { find "$SWAY_DIR/runtime" -maxdepth 1 -type s -name "$1" | head -n1; }
sway_ready() { [ -n "$(socket 'sway-ipc.*.sock')" ] && [ -n "$(socket 'wayland-*')" ]; }
wait_for 15 sway_ready || skip "sway did not start here: $(tail -1 "$WORK/sway.log")"
SWAYSOCK=$(socket 'sway-ipc.*.sock')
WAYLAND_DISPLAY=$(socket 'wayland-*')  # an absolute path: this user's runtime folder is not sway's
export SWAYSOCK WAYLAND_DISPLAY
unset DISPLAY QT_QPA_PLATFORM

# One line per window in sway's tree: "<title>|<tiled or floating>|<focused>|<x> <y> <w> <h>".
windows() {
    swaymsg -t get_tree | python3 -c '
import json, sys
def walk(node, kind):
    for child in node.get("nodes", []): yield from walk(child, "tiled")
    for child in node.get("floating_nodes", []): yield from walk(child, "floating")
    if node.get("type") in ("con", "floating_con") and node.get("name") is not None:
        r = node["rect"]
        yield "%s|%s|%s|%d %d %d %d" % (node["name"], kind, node["focused"], r["x"], r["y"], r["width"], r["height"])
for line in walk(json.load(sys.stdin), "tiled"): print(line)'
}
window_line() { windows | grep -F "$1|" | head -n1; }
has_sway_window() { [ -n "$(window_line "$1")" ]; }
pass_saved() { cmp -s "$TEMP_FOLDER/Salisbury_lastkeeps.xml" <(served Salisbury); }

start_feedsim --seed 11 --steps 1
prepare_saved_copies 11 0
start_warmap
check "the Warmap window shows on sway" wait_for 20 has_sway_window ".:: Warmap"
read -r wx wy ww wh < <(window_line ".:: Warmap" | cut -d'|' -f4)
grim -g "$wx,$wy ${ww}x$wh" "$WORK/before.png"
check "the first pass runs" wait_for 20 pass_saved
sleep 1  # the fade-in
grim "$ARTIFACTS/sway-attached.png"
grim -g "$wx,$wy ${ww}x$wh" "$WORK/after.png"
windows > "$ARTIFACTS/sway-tree-attached.txt"
check "the popup is no window of its own in the tree, tiled or not" \
    test -z "$(grep -F 'Warmap Frontbericht|' "$ARTIFACTS/sway-tree-attached.txt")"
check "the Warmap window keeps the focus" test "$(window_line ".:: Warmap" | cut -d'|' -f3)" = True
# The popup sits in the window's bottom-right corner: there the picture changed.
corner_changed() {  # corner_changed geometry
    local a b
    a=$(convert "$WORK/before.png" -crop "$1" +repage -format '%#' info:)
    b=$(convert "$WORK/after.png" -crop "$1" +repage -format '%#' info:)
    [ "$a" != "$b" ]
}
check "the popup shows in the Warmap window's bottom-right corner" corner_changed "200x40+$((ww - 220))+$((wh - 60))"
check "nothing about opacity, placement or a tray on stderr but the one note" \
    test "$(grep -c -i -E 'opacity|place|tray|warn' "$WORK/warmap.log")" -eq 1
kill "$WARMAP_PID"
wait "$WARMAP_PID" 2> /dev/null || true

# Without the Warmap window, while the user types in a terminal, and with a DISPLAY that leads nowhere.
prepare_saved_copies 11 0
export DISPLAY=:97
start_warmap
check "a DISPLAY without an X server still lets the Warmap window show, through Wayland" \
    wait_for 20 has_sway_window ".:: Warmap"
swaymsg '[title="^\.:: Warmap$"] kill' > /dev/null
weston-terminal > "$WORK/terminal.log" 2>&1 &
PIDS+=($!)
terminal_focused() { windows | grep -c '^[^|]*|tiled|True|' > /dev/null; }  # -c: see no_key_down
wait_for 10 terminal_focused || skip "weston-terminal did not start here: $(tail -1 "$WORK/terminal.log")"
check "the first pass runs with the window closed" wait_for 20 pass_saved
sleep 1
grim "$ARTIFACTS/sway-alone.png"
windows > "$ARTIFACTS/sway-tree-alone.txt"
IFS='|' read -r _ kind focused rect < <(window_line "Warmap Frontbericht")
read -r _ _ pw ph <<< "$rect"
echo "# the popup alone: $kind, focused=$focused, ${pw}x$ph"
check "the popup alone floats at its own size" test "$kind:$pw" = "floating:280"
check "and leaves the focus with the terminal" test "$focused" = False
check "which keeps it" terminal_focused
check "it said once that the X server cannot be reached" \
    test "$(grep -c 'DISPLAY=:97) cannot be reached; running on Wayland' "$WORK/warmap.log")" -eq 1
# (the sound system's own lines about the missing audio device aside)
check "and nothing else but the placement note" \
    test "$(grep -v -c -E 'PulseAudio|audio device' "$WORK/warmap.log")" -eq 2
check "the program is still running" kill -0 "$WARMAP_PID"
finish
