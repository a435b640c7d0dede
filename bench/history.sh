#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The history's targets on a simulated year: four servers, a pass every ten minutes, written pass by
# pass through the program's own recording from the feed simulator's frontier. Prints the file's size,
# then runs bench/HistoryBench on it.
#
#   bench/history.sh [PASSES]    (default 52560: a year)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BIN="${WARMAP_BUILD_DIR:-$ROOT/build}/bin"
PASSES=${1:-52560}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FILE="$WORK/history.sqlite"
start=$(date +%s.%N)
"$BIN/histgen" --passes "$PASSES" --data "$BIN" "$FILE"
end=$(date +%s.%N)
size=$(stat -c %s "$FILE")
echo "simulated history: $PASSES passes written in $(echo "$end - $start" | bc) s; $FILE is $size bytes" \
     "($(echo "scale=1; $size / 1048576" | bc) MiB), -wal and -shm gone: $(ls "$WORK")"
# The same year as the first layout wrote it: without the feeds' lengths, at layout 1.
python3 - "$FILE" "$WORK/first-layout.sqlite" <<'EOF'
import shutil, sqlite3, sys
shutil.copy(sys.argv[1], sys.argv[2])
db = sqlite3.connect(sys.argv[2])
db.executescript("ALTER TABLE feed DROP COLUMN size; PRAGMA user_version=1; PRAGMA journal_mode=DELETE;")
db.close()
EOF
WARMAP_YEAR_HISTORY="$FILE" WARMAP_YEAR_HISTORY_V1="$WORK/first-layout.sqlite" "$BIN/history_bench"
