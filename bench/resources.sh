#!/usr/bin/env bash
# Start-up and idle figures of the real program under Xvfb, beside a bare Qt window of the same size.
#
#   bench/resources.sh [--runs N] [--idle SECONDS] [--also LABEL=WARMAP_EXECUTABLE ...]
#
# Start-up: bench/startup (an xcb client) starts each command, polls its new window's pixels every
# millisecond until it is painted and reads VmHWM then and 300 ms later. The commands take turns, N runs
# each (default 5); medians and the ratios to the bare window are printed. Then, run side by side
# (min(N, 5) times), resident and private anonymous memory 12 s after start, past the first pass. --also adds another build of
# the program (an older one, say) to the same turns. --idle also measures CPU time and wake-ups over
# that many seconds of idling between passes (after the first pass), beside the bare window.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BIN="${WARMAP_BUILD_DIR:-$ROOT/build}/bin"
RUNS=5
IDLE=0
declare -A PROGRAMS=([warmap]="$BIN/warmap")
ORDER=(warmap)
while [ $# -gt 0 ]; do
    case "$1" in
        --runs) RUNS=$2; shift 2 ;;
        --idle) IDLE=$2; shift 2 ;;
        --also) PROGRAMS[${2%%=*}]=${2#*=}; ORDER+=("${2%%=*}"); shift 2 ;;
        *) echo "unknown argument: $1" >&2; exit 2 ;;
    esac
done
PROGRAMS[bare-window]="$BIN/bare_window"
ORDER+=(bare-window)

source "$ROOT/bench/scene.sh"
start_scene 1
export WARMAP_FEED_BASE="$FEED"

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

for ((run = 1; run <= RUNS; run++)); do
    for label in "${ORDER[@]}"; do
        read -r _ ms _ kib _ after < <("$BIN/startup" --after 300 "${PROGRAMS[$label]}" 2> /dev/null)
        echo "$ms" >> "$WORK/$label.ms"
        echo "$kib" >> "$WORK/$label.kib"
        echo "$after" >> "$WORK/$label.after"
    done
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{printf "%.2f", a / b}'; }
mib() { awk -v k="$1" 'BEGIN{printf "%.1f", k / 1024}'; }
bare_ms=$(median < "$WORK/bare-window.ms")
bare_kib=$(median < "$WORK/bare-window.kib")
bare_after=$(median < "$WORK/bare-window.after")
echo "start-up, median of $RUNS runs taking turns:"
for label in "${ORDER[@]}"; do
    ms=$(median < "$WORK/$label.ms")
    kib=$(median < "$WORK/$label.kib")
    after=$(median < "$WORK/$label.after")
    printf '  %-14s first paint %6.1f ms (%sx)   peak at it %5s MiB (%sx)   peak 300 ms on %5s MiB (%sx)   runs: %s ms\n' \
        "$label" "$ms" "$(ratio "$ms" "$bare_ms")" "$(mib "$kib")" "$(ratio "$kib" "$bare_kib")" \
        "$(mib "$after")" "$(ratio "$after" "$bare_after")" "$(paste -sd' ' "$WORK/$label.ms")"
done

# 12 s after start: Rss and Anonymous (private anonymous) of smaps_rollup, the programs side by side.
rollup() { awk -v k="$2" '$1 == k ":" {print $2}' "/proc/$1/smaps_rollup"; }
SETTLED=$((RUNS < 5 ? RUNS : 5))
for ((run = 1; run <= SETTLED; run++)); do
    pids=()
    for label in "${ORDER[@]}"; do
        # Own runtime and data folders: two builds of Warmap side by side must not meet as one instance.
        rm -rf "$WORK/$label.runtime" "$WORK/$label.data"
        mkdir -m 700 "$WORK/$label.runtime" "$WORK/$label.data"
        XDG_RUNTIME_DIR="$WORK/$label.runtime" XDG_DATA_HOME="$WORK/$label.data" "${PROGRAMS[$label]}" > /dev/null 2>&1 &
        pids+=($!)
        PIDS+=($!)
    done
    sleep 12
    i=0
    for label in "${ORDER[@]}"; do
        rollup "${pids[$i]}" Rss >> "$WORK/$label.rss"
        rollup "${pids[$i]}" Anonymous >> "$WORK/$label.anon"
        kill "${pids[$i]}"
        wait "${pids[$i]}" 2> /dev/null || true
        i=$((i + 1))
    done
done
bare_rss=$(median < "$WORK/bare-window.rss")
bare_anon=$(median < "$WORK/bare-window.anon")
echo "12 s after start (past the first pass), median of $SETTLED runs side by side:"
for label in "${ORDER[@]}"; do
    rss=$(median < "$WORK/$label.rss")
    anon=$(median < "$WORK/$label.anon")
    printf '  %-14s resident %5s MiB (%sx)   private anonymous %5s MiB (%sx)\n' "$label" "$(mib "$rss")" \
        "$(ratio "$rss" "$bare_rss")" "$(mib "$anon")" "$(ratio "$anon" "$bare_anon")"
done

[ "$IDLE" -gt 0 ] || exit 0
cpu_ms() { awk -v hz="$(getconf CLK_TCK)" '{print int(($14 + $15) * 1000 / hz)}' "/proc/$1/stat"; }
# Context switches per thread ("tid count"); threads that end in between drop out, new ones count whole.
switches() { for t in /proc/"$1"/task/*; do echo "${t##*/} $(awk '/ctxt_switches/{n += $2} END{print n}' "$t/status" 2>/dev/null)"; done; }
wakeups_between() { awk 'NR == FNR {before[$1] = $2; next} {n += $2 - ($1 in before ? before[$1] : 0)} END{print n + 0}' "$1" "$2"; }
echo "idling ${IDLE}s after the first pass:"
for label in warmap bare-window; do
    "${PROGRAMS[$label]}" > "$WORK/$label.log" 2>&1 &
    pid=$!
    PIDS+=($pid)
    sleep 6  # past the first pass, 3 s after start
    cpu0=$(cpu_ms "$pid")
    switches "$pid" > "$WORK/before"
    sleep "$IDLE"
    switches "$pid" > "$WORK/after"
    wake=$(wakeups_between "$WORK/before" "$WORK/after")
    printf '  %-14s CPU %4d ms, wake-ups %5d (%.2f/s)\n' "$label" "$(($(cpu_ms "$pid") - cpu0))" "$wake" \
        "$(awk -v w="$wake" -v s="$IDLE" 'BEGIN{print w / s}')"
    kill "$pid"
done
