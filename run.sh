#!/usr/bin/env bash
# Installs what is missing, builds the program, the feed simulator and the history generator, and runs
# Warmap against the simulator. WARMAP_DEMO_DAYS=30 gives it a simulated month of history first.
# Without a display it runs on a private Xvfb display, writes screenshots of the Warmap window and of
# the popup (and of the history window), and stops. Ctrl-C stops the program and the simulator.
source "$(dirname "$0")/scripts/common.sh"
source "$ROOT/scripts/xsession.sh"
install_missing "${RUN_PACKAGES[@]}"
# A first build skips the tests and benchmarks; a build folder that has them (./test.sh) keeps them.
if [ -f "$BUILD_DIR/CMakeCache.txt" ]; then configure; else configure -DWARMAP_BUILD_TESTS=OFF -DWARMAP_BUILD_BENCH=OFF; fi
cmake --build "$BUILD_DIR" --target warmap feedsim histgen

BIN="$BUILD_DIR/bin"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/warmap-run.XXXXXX")
PIDS=()
# The program first, then the simulator and the X server (started before it), then the work folder.
stop_all() {
    local i
    for ((i = ${#PIDS[@]} - 1; i >= 0; i--)); do
        kill "${PIDS[i]}" 2> /dev/null || true
        wait "${PIDS[i]}" 2> /dev/null || true
    done
    rm -rf "$WORK"
}
trap stop_all EXIT
trap 'exit 130' INT TERM

# Saved copies from an earlier moment of the simulated frontier, so the first pass, 3 seconds after
# start, already has changes to show. With a simulated history, that moment is its last pass.
SEED=${WARMAP_SEED:-1}
DAYS=${WARMAP_DEMO_DAYS:-0}
[[ "$DAYS" =~ ^[0-9]+$ ]] || { echo "WARMAP_DEMO_DAYS must be a number of days" >&2; exit 2; }
LAST_STEP=0
mkdir -p "$WORK/tmp"
if [ "$DAYS" -gt 0 ]; then
    LAST_STEP=$((DAYS * 144 - 1))  # a pass every ten minutes
    mkdir -p -m 700 "$WORK/data" "$WORK/data/warmap"
    echo "Simulating $DAYS days of history"
    "$BIN/histgen" --passes $((LAST_STEP + 1)) --seed "$SEED" --data "$BIN" "$WORK/data/warmap/history.sqlite"
fi
for server in Dartmoor Logres Avalon Salisbury; do
    "$BIN/feedsim" --seed "$SEED" --steps "$LAST_STEP" --write "$server" "$WORK/tmp/${server}_lastkeeps.xml"
done
# Owners keep changing: one step of fighting every ten minutes, one pass every ten minutes.
"$BIN/feedsim" --seed "$SEED" --steps $((LAST_STEP + 1)) --advance-every 600 --port 0 --port-file "$WORK/port" \
    > "$WORK/feedsim.log" 2>&1 &
PIDS+=($!)
wait_for 10 test -s "$WORK/port"
FEED_BASE="http://127.0.0.1:$(cat "$WORK/port")"
echo "Feed simulator on $FEED_BASE"

HEADLESS=0
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    HEADLESS=1
    start_display
    echo "No display: running on Xvfb $DISPLAY"
fi

# The demo's own runtime folder, so an installed Warmap already running does not answer for it. What
# the session keeps in its runtime folder (Wayland, sound server, session bus) is named by full path.
SESSION_RUNTIME=${XDG_RUNTIME_DIR:-}
if [ -n "$SESSION_RUNTIME" ]; then
    [ -n "${WAYLAND_DISPLAY:-}" ] && [ "${WAYLAND_DISPLAY#/}" = "$WAYLAND_DISPLAY" ] &&
        export WAYLAND_DISPLAY="$SESSION_RUNTIME/$WAYLAND_DISPLAY"
    [ -z "${PULSE_SERVER:-}" ] && [ -S "$SESSION_RUNTIME/pulse/native" ] &&
        export PULSE_SERVER="unix:$SESSION_RUNTIME/pulse/native"
    [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] && [ -S "$SESSION_RUNTIME/bus" ] &&
        export DBUS_SESSION_BUS_ADDRESS="unix:path=$SESSION_RUNTIME/bus"
fi
mkdir -m 700 "$WORK/runtime"
export XDG_RUNTIME_DIR="$WORK/runtime"
# The demo's simulated war stays out of the player's own history.
export XDG_DATA_HOME="$WORK/data"

TMPDIR="$WORK/tmp" "$BIN/warmap" --feed-base "$FEED_BASE" &
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
written="warmap.png, popup.png, desktop.png"
if [ "$DAYS" -gt 0 ]; then
    "$BIN/warmap" --history 2> /dev/null
    wait_for 20 has_visible_window '^Warmap — (Verlauf|History)$' || { echo "The history window did not appear" >&2; exit 1; }
    sleep 1
    screenshot "$SHOTS/history.png" "$(visible_window_id '^Warmap — (Verlauf|History)$')"
    written+=", history.png"
fi
echo "Screenshots written to $SHOTS: $written"
