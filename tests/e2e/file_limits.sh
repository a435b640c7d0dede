#!/usr/bin/env bash
# Under a file-size limit smaller than a saved copy, a save fails cleanly: the program runs on, the old
# copies stay as they were and no temporary file is left. At start, what killed saves left behind goes.
source "$(dirname "$0")/lib.sh"
command -v prlimit > /dev/null || skip "prlimit is not installed"

start_display
start_feedsim --seed 11 --steps 1
prepare_saved_copies 11 0
cp -r "$TEMP_FOLDER" "$WORK/before"
# Leftovers of saves killed half-way: one old, one being written just now, and a stranger's name.
printf 'half a feed' > "$TEMP_FOLDER/Avalon_lastkeeps.xml.Kx81Qa"
touch -d '-2 min' "$TEMP_FOLDER/Avalon_lastkeeps.xml.Kx81Qa"
printf 'just now' > "$TEMP_FOLDER/Logres_lastkeeps.xml.Pq27Lm"
printf 'mine' > "$TEMP_FOLDER/notes.txt"
touch -d '-2 min' "$TEMP_FOLDER/notes.txt"

mkdir -p "$TEMP_FOLDER"
TMPDIR="$TEMP_FOLDER" WARMAP_FEED_BASE="$FEED_BASE" prlimit --fsize=4096 "$WARMAP_BIN" > "$WORK/warmap.log" 2>&1 &
WARMAP_PID=$!
PIDS+=($WARMAP_PID)
check "the Warmap window shows" wait_for 20 has_visible_window "$MAIN_TITLE"
check "the old temporary file is gone" wait_for 5 test ! -e "$TEMP_FOLDER/Avalon_lastkeeps.xml.Kx81Qa"
check "the one being written and other files stay" \
    test -e "$TEMP_FOLDER/Logres_lastkeeps.xml.Pq27Lm" -a -e "$TEMP_FOLDER/notes.txt"
rm "$TEMP_FOLDER/Logres_lastkeeps.xml.Pq27Lm" "$TEMP_FOLDER/notes.txt"
check "the first pass shows its changes" wait_for 20 popup_opaque
check "the program survives saves that exceed the limit" kill -0 "$WARMAP_PID"
check "every saved copy is as it was" diff -r "$WORK/before" "$TEMP_FOLDER"
finish
