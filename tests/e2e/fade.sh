#!/usr/bin/env bash
# The fade as the X server sees it, under a real compositing manager (picom): every opacity step must
# reach the server when it is made, so that the compositor can show it, and the popup must stay opaque
# for exactly its end timer's interval. A screenshot from the middle of the fade-in must show the popup
# partly transparent.
source "$(dirname "$0")/lib.sh"
: "${OPACITY_WATCH:?}"
command -v picom > /dev/null || skip "picom is not installed"

start_display
picom --config /dev/null --backend xrender > "$WORK/picom.log" 2>&1 &
PIDS+=($!)
# picom names the window that holds the compositor selection after itself.
compositing() { [ -n "$(xdotool search --name '^picom$' 2>/dev/null)" ]; }
wait_for 10 compositing || skip "picom did not start here: $(tail -1 "$WORK/picom.log")"

# Saved copies that differ from the simulator's first answer in exactly the given servers.
saved_copies_differing_in() {  # saved_copies_differing_in steps server...
    local steps=$1
    shift
    rm -rf "$TEMP_FOLDER"
    mkdir -p "$TEMP_FOLDER"
    for server in Dartmoor Logres Avalon Salisbury; do
        local at=$steps
        for changed in "$@"; do [ "$server" = "$changed" ] && at=0; done
        "$FEEDSIM_BIN" --seed 11 --steps "$at" --write "$server" "$TEMP_FOLDER/${server}_lastkeeps.xml"
    done
}

# Splits the watched changes into bursts (gaps under 100 ms) and reads the popup's cycle from the two
# largest: the fade-in, then the fade-out.
analyse() {  # analyse file -> "in_distinct out_distinct hold in_ms out_ms in_last out_last"
    awk '
        { t[NR] = $1; v[NR] = $2 }
        END {
            b = 0
            for (i = 1; i <= NR; i++) {
                if (i == 1 || t[i] - t[i-1] >= 100) { b++; first[b] = i }
                last[b] = i
            }
            # the two largest bursts, in the order they came
            big1 = big2 = 0
            for (k = 1; k <= b; k++) {
                n = last[k] - first[k] + 1
                if (n > size1) { big2 = big1; size2 = size1; big1 = k; size1 = n }
                else if (n > size2) { big2 = k; size2 = n }
            }
            if (big1 == 0 || big2 == 0) { print "0 0 0 0 0 none none"; exit }
            fin = big1 < big2 ? big1 : big2; fout = big1 < big2 ? big2 : big1
            for (k = 1; k <= 2; k++) {
                f = k == 1 ? fin : fout; d = 0; delete seen
                for (i = first[f]; i <= last[f]; i++) if (!(t[i] in seen)) { seen[t[i]] = 1; d++ }
                distinct[k] = d
            }
            printf "%d %d %d %d %d %s %s\n", distinct[1], distinct[2], t[first[fout]] - t[last[fin]],
                   t[last[fin]] - t[first[fin]], t[last[fout]] - t[first[fout]], v[last[fin]], v[last[fout]]
        }' "$1"
}

watch_one_popup() {  # watch_one_popup name seconds interval steps [grab args]
    local name=$1 seconds=$2 interval=$3 steps=$4
    shift 4
    start_feedsim --seed 11 --steps "$steps"
    "$OPACITY_WATCH" "Warmap Frontbericht" "$seconds" "$@" > "$WORK/$name.times" 2> "$WORK/$name.watch.log" &
    local watcher=$!
    start_warmap
    wait "$watcher"
    cp "$WORK/$name.times" "$ARTIFACTS/$name.times"
    read -r in_d out_d hold in_ms out_ms in_last out_last < <(analyse "$WORK/$name.times")
    echo "# $name: fade-in $in_ms ms at $in_d distinct server times (ends at $in_last/255)," \
         "opaque for $hold ms, fade-out $out_ms ms at $out_d distinct times (ends at $out_last/255)," \
         "on screen $((in_ms + hold + out_ms)) ms"
    check "$name: the fade-in reaches the server step by step ($in_d distinct times)" test "$in_d" -ge 100
    check "$name: so does the fade-out ($out_d distinct times)" test "$out_d" -ge 100
    check "$name: the fade-in ends opaque and the fade-out transparent" test "$in_last:$out_last" = "255:0"
    check "$name: opaque for the end timer's $interval ms (saw $hold)" \
        test "$hold" -ge $((interval - 50)) -a "$hold" -le $((interval + 50))
    kill "$WARMAP_PID" "${PIDS[-2]}" 2> /dev/null || true
    wait "$WARMAP_PID" 2> /dev/null || true
}

# 5 lines (Dartmoor 3, Logres 2): 8 s; the screen is grabbed as the fade-in starts and half-way.
TEMP_FOLDER="$WORK/tmp"
saved_copies_differing_in 1 Dartmoor Logres
watch_one_popup five-lines 16 8000 1 --grab "$WORK/screen"

# The same popup once it is opaque: half-way it must differ clearly both from it and from what lies
# beneath.
start_feedsim --seed 11 --steps 1
saved_copies_differing_in 1 Dartmoor Logres
start_warmap
wait_for 20 has_visible_window "$MAIN_TITLE"
wait_for 20 popup_opaque
sleep 0.5
screenshot "$WORK/screen-opaque.png" "$(window_id "$POPUP_TITLE")"
for shot in start mid opaque; do
    [ -e "$WORK/screen-$shot".p?? ] && convert "$WORK/screen-$shot".p?? "$ARTIFACTS/popup-$shot.png"
done
distance() {  # compare exits 1 when the pictures differ, which is the point here
    { compare -metric MAE "$ARTIFACTS/popup-$1.png" "$ARTIFACTS/popup-$2.png" null: 2>&1 || true; } | sed 's/ .*//; s/\..*//'
}
if [ ! -e "$ARTIFACTS/popup-mid.png" ]; then
    check "the screen was grabbed half-way through the fade-in" false
else
    whole=$(distance start opaque)
    to_start=$(distance mid start)
    to_opaque=$(distance mid opaque)
    echo "# mean distance: beneath to opaque $whole, half-way to beneath $to_start, half-way to opaque $to_opaque"
    check "half-way the popup is partly transparent (distances $to_start and $to_opaque, each over a fifth of $whole)" \
        test $((to_start * 5)) -gt "$whole" -a $((to_opaque * 5)) -gt "$whole"
fi
kill "$WARMAP_PID" "${PIDS[-2]}" 2> /dev/null || true
wait "$WARMAP_PID" 2> /dev/null || true

# 17 lines (three steps on Dartmoor 7, Logres 6, Salisbury 4): 20 s.
saved_copies_differing_in 3 Dartmoor Logres Salisbury
watch_one_popup seventeen-lines 28 20000 3
finish
