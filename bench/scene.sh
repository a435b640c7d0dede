# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the measuring scripts: a private X display, the feed simulator with saved copies equal to
# what it serves (no first-start box, no popup at the first pass), and private user folders, so a
# Warmap the user runs meanwhile never answers for the one measured. Everything started is stopped and
# the work folder removed on exit.
#
#   source bench/scene.sh; start_scene SEED    -> WORK, FEED, PIDS; XDG_* and TMPDIR exported
WORK=$(mktemp -d)
PIDS=()
trap 'for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null; rm -rf "$WORK"' EXIT
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/xsession.sh"

start_scene() {  # start_scene seed
    start_display
    "$BIN/feedsim" --seed "$1" --port 0 --port-file "$WORK/port" > /dev/null 2>&1 &
    PIDS+=($!)
    wait_for 10 test -s "$WORK/port"
    FEED="http://127.0.0.1:$(cat "$WORK/port")"
    mkdir -p "$WORK/tmp" "$WORK/config"
    for server in Dartmoor Logres Avalon Salisbury; do
        "$BIN/feedsim" --seed "$1" --write "$server" "$WORK/tmp/${server}_lastkeeps.xml"
    done
    fresh_folders
    export XDG_RUNTIME_DIR="$WORK/runtime" XDG_DATA_HOME="$WORK/data" XDG_CONFIG_HOME="$WORK/config" TMPDIR="$WORK/tmp"
}

fresh_folders() {  # new, empty runtime and data folders for the next start
    rm -rf "$WORK/runtime" "$WORK/data"
    mkdir -m 700 "$WORK/runtime" "$WORK/data"
}
