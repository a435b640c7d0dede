#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A week of running in about ten minutes: the real program under Xvfb on a clock 1000 times as fast
# (libfaketime), polling the feed simulator, which takes a step before every pass, and recording its
# history. Prints, at the start and after every simulated day: resident and private anonymous memory,
# open descriptors, threads, the history file's size and its write-ahead log's (which SQLite reuses,
# never shrinks), the passes recorded and how many of them brought popup lines (read from the
# history), and at the end the week's growth of the file beside a year's (bench/history.sh) / 52.
# Too long for ./test.sh.
#
#   bench/soak.sh [DAYS]    (default 7)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BIN="${WARMAP_BUILD_DIR:-$ROOT/build}/bin"
DAYS=${1:-7}
SPEED=1000
FAKETIME_LIB=$(ls /usr/lib/*/faketime/libfaketimeMT.so.1 2> /dev/null | head -n1)
[ -n "$FAKETIME_LIB" ] || { echo "soak: libfaketime is not installed (apt-get install libfaketime)" >&2; exit 1; }
source "$ROOT/bench/scene.sh"
start_scene 7
LD_PRELOAD="$FAKETIME_LIB" FAKETIME="+0 x$SPEED" WARMAP_FEED_BASE="$FEED" "$BIN/warmap" > "$WORK/warmap.log" 2>&1 &
PID=$!
PIDS+=($PID)
HISTORY="$WORK/data/warmap/history.sqlite"

# A step of the war every ten simulated minutes, as a pass comes.
STEP=$(awk -v s=$SPEED 'BEGIN{print 600 / s}')
(while sleep "$STEP"; do curl -fsS --noproxy '*' "$FEED/control/advance" > /dev/null 2>&1 || true; done) &
PIDS+=($!)

rollup() { awk -v k="$1" '$1 == k ":" {print $2}' "/proc/$PID/smaps_rollup"; }
size() { stat -c %s "$1" 2> /dev/null || echo 0; }
popups() {  # passes whose popup had lines: a realm changed at a structure both feeds held
    python3 - "$HISTORY" << 'PY' 2> /dev/null || echo 0
import sqlite3, sys
db = sqlite3.connect(f"file:{sys.argv[1]}?mode=ro", uri=True)
print(db.execute("SELECT COUNT(DISTINCT pass) FROM change WHERE old_realm != -1 AND new_realm != -1 "
                 "AND old_realm != new_realm").fetchone()[0])
PY
}
passes() { python3 -c 'import sqlite3,sys; print(sqlite3.connect(f"file:{sys.argv[1]}?mode=ro", uri=True).execute("SELECT COUNT(*) FROM pass").fetchone()[0])' "$HISTORY" 2> /dev/null || echo 0; }
report() {
    printf '%-6s %8s %9s %4s %7s %10s %9s %7s %7s\n' "$1" "$(awk -v k="$(rollup Rss)" 'BEGIN{printf "%.1f", k / 1024}')" \
        "$(awk -v k="$(rollup Anonymous)" 'BEGIN{printf "%.1f", k / 1024}')" "$(ls "/proc/$PID/fd" | wc -l)" \
        "$(awk '/^Threads:/{print $2}' "/proc/$PID/status")" "$(size "$HISTORY")" "$(size "$HISTORY-wal")" \
        "$(passes)" "$(popups)"
}
printf '%-6s %8s %9s %4s %7s %10s %9s %7s %7s\n' day "RSS MiB" "anon MiB" fds threads "history B" "WAL B" passes popups
sleep 12  # past start-up and the first pass
report start
size "$HISTORY" > "$WORK/first-size"
DAY=$(awk -v s=$SPEED 'BEGIN{print 86400 / s}')
for ((day = 1; day <= DAYS; day++)); do
    sleep "$DAY"
    if ! kill -0 "$PID" 2> /dev/null; then
        status=0
        wait "$PID" || status=$?
        echo "soak: warmap ended on day $day with status $status" >&2
        tail -5 "$WORK/warmap.log" >&2
        exit 1
    fi
    report "$day"
done
first=$(cat "$WORK/first-size")
week=$(( $(size "$HISTORY") - first ))
echo "history growth from the start: $week bytes over $DAYS days; a simulated year is 24539136 bytes, / 52 * $DAYS / 7 = $((24539136 / 52 * DAYS / 7))"
echo "log lines: $(wc -l < "$WORK/warmap.log"); the last ones:"
tail -3 "$WORK/warmap.log"
