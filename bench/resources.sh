#!/usr/bin/env bash
# Resource figures of the real program under Xvfb, each beside a bare Qt window of the same size:
# time to the first painted window, peak memory, and CPU time and wake-ups over 60 s of idling
# between passes.   bench/resources.sh [idle seconds, default 60]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BIN="${WARMAP_BUILD_DIR:-$ROOT/build}/bin"
IDLE=${1:-60}
AFTER_POPUP=0
[ "${2:-}" = "--after-popup" ] && AFTER_POPUP=1
WORK=$(mktemp -d)
PIDS=()
trap 'for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null; rm -rf "$WORK"' EXIT
source "$ROOT/scripts/xsession.sh"
start_display

"$BIN/feedsim" --seed 1 --steps "$AFTER_POPUP" --port 0 --port-file "$WORK/port" > /dev/null 2>&1 &
PIDS+=($!)
wait_for 10 test -s "$WORK/port"
mkdir -p "$WORK/tmp"
for server in Dartmoor Logres Avalon Salisbury; do  # saved copies equal to the feed: no popup, pure idling
    "$BIN/feedsim" --seed 1 --write "$server" "$WORK/tmp/${server}_lastkeeps.xml"
done

now_ms() { date +%s%3N; }
painted() {  # the window is mapped and shows more than one colour
    local id
    id=$(visible_window_id "$1") || return 1
    [ -n "$id" ] || return 1
    local x y w h
    read -r x y w h < <(geometry "$id")
    [ "$(import -window root -crop "${w}x${h}+${x}+${y}" +repage -format '%k' info: 2>/dev/null)" -gt 1 ]
}
cpu_ms() { awk -v hz="$(getconf CLK_TCK)" '{print int(($14 + $15) * 1000 / hz)}' "/proc/$1/stat"; }
# Context switches per thread ("tid count"); threads that end in between drop out, new ones count whole.
switches() { for t in /proc/"$1"/task/*; do echo "${t##*/} $(awk '/ctxt_switches/{n += $2} END{print n}' "$t/status" 2>/dev/null)"; done; }
wakeups_between() { awk 'NR == FNR {before[$1] = $2; next} {n += $2 - ($1 in before ? before[$1] : 0)} END{print n + 0}' "$1" "$2"; }
peak_kib() { awk '/VmHWM/{print $2}' "/proc/$1/status"; }

measure() {  # measure label title command...
    local label=$1 title=$2
    shift 2
    local start
    start=$(now_ms)
    TMPDIR="$WORK/tmp" WARMAP_FEED_BASE="http://127.0.0.1:$(cat "$WORK/port")" "$@" > "$WORK/$label.log" 2>&1 &
    local pid=$!
    PIDS+=($pid)
    wait_for 30 painted "$title"
    local first=$(( $(now_ms) - start ))
    sleep $((AFTER_POPUP ? 20 : 6))  # past the first pass, 3 s after start, and its popup
    local cpu0
    cpu0=$(cpu_ms "$pid")
    switches "$pid" > "$WORK/before"
    sleep "$IDLE"
    switches "$pid" > "$WORK/after"
    local cpu=$(( $(cpu_ms "$pid") - cpu0 )) wake
    wake=$(wakeups_between "$WORK/before" "$WORK/after")
    printf '%-12s first paint %5d ms   peak memory %6d KiB   idle %ds: CPU %4d ms, wake-ups %5d (%.2f/s)\n' \
        "$label" "$first" "$(peak_kib "$pid")" "$IDLE" "$cpu" "$wake" "$(awk -v w="$wake" -v s="$IDLE" 'BEGIN{print w / s}')"
    kill "$pid"
}

measure warmap "$MAIN_TITLE" "$BIN/warmap"
measure bare-window '^Bare window$' "$BIN/bare_window"
