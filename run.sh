#!/usr/bin/env bash
# Installs what is missing, builds, and runs Warmap against the bundled feed simulator.
# Without a display it runs on a private Xvfb display, writes screenshots of the Warmap and of the
# popup, and stops. Ctrl-C stops the program and the simulator.
source "$(dirname "$0")/scripts/common.sh"
source "$ROOT/scripts/xsession.sh"
install_missing
build_all

BIN="$BUILD_DIR/bin"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/warmap-run.XXXXXX")
PIDS=()
stop_all() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap stop_all EXIT
trap 'exit 130' INT TERM

# A private temporary folder holding saved copies from an earlier moment of the simulated frontier,
# so the first pass, 3 seconds after start, already has changes to show.
SEED=${WARMAP_SEED:-1}
mkdir -p "$WORK/tmp"
for server in Dartmoor Logres Avalon Salisbury; do
    "$BIN/feedsim" --seed "$SEED" --steps 0 --write "$server" "$WORK/tmp/${server}_lastkeeps.xml"
done
# Owners keep changing: one step of fighting every ten minutes, one pass every ten minutes.
"$BIN/feedsim" --seed "$SEED" --steps 1 --advance-every 600 --port 0 --port-file "$WORK/port" > "$WORK/feedsim.log" 2>&1 &
PIDS+=($!)
wait_for 10 test -s "$WORK/port"
export WARMAP_FEED_BASE="http://127.0.0.1:$(cat "$WORK/port")"
echo "Feed simulator on $WARMAP_FEED_BASE"

HEADLESS=0
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    HEADLESS=1
    start_display
    # A Warmap of the user's desktop session must not answer for this one.
    mkdir -m 700 "$WORK/runtime"
    export XDG_RUNTIME_DIR="$WORK/runtime"
    echo "No display: running on Xvfb $DISPLAY"
fi

TMPDIR="$WORK/tmp" "$BIN/warmap" &
WARMAP_PID=$!
PIDS+=($WARMAP_PID)

if [ "$HEADLESS" -eq 0 ]; then
    echo "Warmap is running; the first changes pop up in about 3 seconds. Ctrl-C stops it."
    wait "$WARMAP_PID"
    exit $?
fi

SHOTS="${WARMAP_SCREENSHOTS:-$ROOT/build/screenshots}"
mkdir -p "$SHOTS"
wait_for 20 has_visible_window "$MAIN_TITLE" || { echo "The Warmap window did not appear" >&2; exit 1; }
sleep 0.5
screenshot "$SHOTS/warmap.png" "$(visible_window_id "$MAIN_TITLE")"
wait_for 30 popup_opaque || { echo "The popup did not appear" >&2; exit 1; }
screenshot "$SHOTS/popup.png" "$(window_id "$POPUP_TITLE")"
screenshot "$SHOTS/desktop.png"
echo "Screenshots written to $SHOTS: warmap.png, popup.png, desktop.png"
