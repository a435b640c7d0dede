#!/usr/bin/env bash
# Two starts at once on a first run, while the first run's "no data yet" box waits: one program stays.
source "$(dirname "$0")/lib.sh"

start_display
start_feedsim --seed 16 --steps 1
mkdir -p "$WORK/tmp"
TEMP_FOLDER="$WORK/tmp"
TMPDIR="$TEMP_FOLDER" WARMAP_FEED_BASE="$FEED_BASE" "$WARMAP_BIN" > "$WORK/a.log" 2>&1 &
A=$!
TMPDIR="$TEMP_FOLDER" WARMAP_FEED_BASE="$FEED_BASE" "$WARMAP_BIN" > "$WORK/b.log" 2>&1 &
B=$!
PIDS+=($A $B)

one_ended() { ! kill -0 "$A" 2> /dev/null || ! kill -0 "$B" 2> /dev/null; }
check "one of the two ends" wait_for 10 one_ended
if kill -0 "$A" 2> /dev/null; then FIRST=$A SECOND=$B; else FIRST=$B SECOND=$A; fi
status=0
wait "$SECOND" || status=$?
check "with status 0 (saw $status)" test "$status" -eq 0
check "the other runs on" kill -0 "$FIRST"
check "its box says there is no data yet" wait_for 10 has_visible_window '^Warmap$'
sleep 0.5
screenshot "$ARTIFACTS/first-run-box.png" "$(visible_window_id '^Warmap$')" || true
# A plain box: the window manager is offered moving and closing it, nothing to resize or maximise.
functions() { xprop -id "$(visible_window_id '^Warmap$')" _MOTIF_WM_HINTS | awk -F'[=,] *' '{print $3}'; }
check "it offers no maximise or resize ($(functions))" test "$(functions)" = 0x24
box_answered() {
    answer_box
    has_visible_window "$MAIN_TITLE"
}
check "answered, one Warmap window appears" wait_for 10 box_answered
check "and only one" test "$(xdotool search --name "$MAIN_TITLE" | wc -l)" -eq 1
finish
