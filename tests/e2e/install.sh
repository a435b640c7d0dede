#!/usr/bin/env bash
# Installs into a temporary prefix and starts the installed program against the simulator.
source "$(dirname "$0")/lib.sh"
: "${BUILD_DIR:?}"

PREFIX="$WORK/prefix"
check "cmake --install into a temporary prefix" cmake --install "$BUILD_DIR" --prefix "$PREFIX" > "$WORK/install.log"
for file in bin/warmap share/warmap/keepnames.ini share/warmap/form/warmap.jpg share/warmap/form/splash/top.gif \
            share/warmap/symbols/rechts.ico lib/warmap/plugins/warmap-fetch lib/warmap/plugins/libwarmap-sound.so \
            share/applications/warmap.desktop share/icons/hicolor/48x48/apps/warmap.png share/man/man1/warmap.1.gz; do
    check "installed $file" test -s "$PREFIX/$file"
done

start_display
start_feedsim --seed 14 --steps 1
prepare_saved_copies 14 0
start_warmap "$PREFIX/bin/warmap"
check "the installed program shows its window" wait_for 15 has_visible_window "$MAIN_TITLE"
MAIN=$(visible_window_id "$MAIN_TITLE")
sleep 0.5
screenshot "$ARTIFACTS/installed-warmap.png" "$MAIN"
read -r x y w h < <(geometry "$MAIN")
# Keep 0 of Dartmoor sits at (387, 160) on the map: the icon's pixels differ from the bare map's.
icon_drawn() {
    local colours
    colours=$(import -window root -crop "12x12+$((x + 10 + 381))+$((y + 24 + 154))" +repage -format '%k' info:)
    [ "$colours" -gt 20 ]
}
check "its map shows the keeps of Dartmoor" icon_drawn
check "the feed's date is shown, so no message box hides the map" test -z "$(visible_window_id '^Warmap$')"
# The download helper and the audio library beside it serve the first pass: it fetches, saves and alerts.
saved_as_served() { cmp -s <(served Salisbury) "$TEMP_FOLDER/Salisbury_lastkeeps.xml"; }
check "its first pass saves what the simulator serves" wait_for 15 saved_as_served
check "and shows the changes in the popup" wait_for 10 popup_opaque
check "without a word about a missing library" test -z "$(grep -i 'warmap:' "$WORK/warmap.log")"

# A program folder with everything beside the program but the optional catalogue (a build tree, an
# unpacked archive) still is that program's folder: its pictures show, every name reads "UNKNOWN".
kill "$WARMAP_PID"
wait "$WARMAP_PID" 2>/dev/null || true
PORTABLE="$WORK/portable"
cp -r "$(dirname "$WARMAP_BIN")" "$PORTABLE"
rm "$PORTABLE/keepnames.ini"
start_warmap "$PORTABLE/warmap"
check "a folder without the catalogue shows its window" wait_for 15 has_visible_window "$MAIN_TITLE"
read -r x y w h < <(geometry "$(visible_window_id "$MAIN_TITLE")")
check "with its map's keeps" icon_drawn
check "and no box about a missing picture" test -z "$(visible_window_id '^Warmap$')"
kill "$WARMAP_PID"
wait "$WARMAP_PID" 2>/dev/null || true

# Without its map picture the program says which file is missing and ends with a failure status.
rm "$PREFIX/share/warmap/form/warmap.jpg"
start_warmap "$PREFIX/bin/warmap"
check "a missing skin file brings a message box" wait_for 15 has_visible_window '^Warmap$'
sleep 0.5
screenshot "$ARTIFACTS/missing-file.png" "$(visible_window_id '^Warmap$')" || true
box_answered_and_ended() {
    answer_box
    ! kill -0 "$WARMAP_PID" 2> /dev/null
}
check "OK closes the box" wait_for 10 box_answered_and_ended
status=0
wait "$WARMAP_PID" || status=$?
check "the program then exits with a failure status ($status)" test "$status" -ne 0
check "it never showed the Warmap window" test -z "$(visible_window_id "$MAIN_TITLE")"
finish
