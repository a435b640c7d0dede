# Shared by the end-to-end tests: a private X display with a bottom taskbar, the feed simulator and
# the real warmap executable, each stopped by its process id when the test ends.
set -euo pipefail

: "${WARMAP_BIN:?}" "${FEEDSIM_BIN:?}" "${ARTIFACTS:?}"
mkdir -p "$ARTIFACTS"
WORK=$(mktemp -d)
PIDS=()
FAILURES=0
CHECKS=0

cleanup() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$WORK"
}
trap cleanup EXIT

check() {  # check "what" command...
    local what=$1
    shift
    CHECKS=$((CHECKS + 1))
    if "$@"; then
        echo "ok   - $what"
    else
        echo "FAIL - $what"
        FAILURES=$((FAILURES + 1))
    fi
}

# Ends a test that cannot run here; ctest reports it as skipped, not passed.
skip() {
    echo "SKIP: $*"
    exit 77
}

no_key_down() { ! xinput query-state "Virtual core XTEST keyboard" | grep -q '=down'; }

finish() {
    [ -n "${DISPLAY_OURS:-}" ] && check "no key left pressed on the display" no_key_down
    echo "$((CHECKS - FAILURES)) passed, $FAILURES failed"
    [ "$FAILURES" -eq 0 ]
}

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/xsession.sh"

start_feedsim() {  # start_feedsim args...
    rm -f "$WORK/port"  # a second simulator must not be found at the first one's port
    "$FEEDSIM_BIN" --port 0 --port-file "$WORK/port" "$@" > "$WORK/feedsim.log" 2>&1 &
    PIDS+=($!)
    wait_for 10 test -s "$WORK/port"
    FEED_BASE="http://127.0.0.1:$(cat "$WORK/port")"
}

# Presses Return on the program's message box, looked up anew each time: Qt may replace its window.
answer_box() {
    local box
    box=$(visible_window_id '^Warmap$')
    [ -n "$box" ] || return 0
    # Focused first, so press and release both go through XTEST: with --window, xdotool sends the
    # release as a synthetic event to the box that the press has just closed, and Return stays down.
    xdotool windowfocus --sync "$box" key Return 2> /dev/null || true
    sleep 0.3
}

control() { curl -fsS --noproxy '*' "$FEED_BASE/control/$1" > /dev/null; }
served() { curl -fsS --noproxy '*' "$FEED_BASE/herald/servers/$1/keeps/keeps.xml"; }

# Saved copies as an earlier pass would have left them: the simulator's frontier before its last steps.
prepare_saved_copies() {  # prepare_saved_copies seed steps
    TEMP_FOLDER="$WORK/tmp"
    mkdir -p "$TEMP_FOLDER"
    for server in Dartmoor Logres Avalon Salisbury; do
        "$FEEDSIM_BIN" --seed "$1" --steps "$2" --write "$server" "$TEMP_FOLDER/${server}_lastkeeps.xml"
    done
}

# Every test has its own user folders: the single-instance lock and socket, the autostart folder.
export XDG_RUNTIME_DIR="$WORK/xdg-runtime" XDG_CONFIG_HOME="$WORK/xdg-config"
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"

start_warmap() {  # start_warmap [executable]
    mkdir -p "${TEMP_FOLDER:=$WORK/tmp}"
    TMPDIR="$TEMP_FOLDER" WARMAP_FEED_BASE="$FEED_BASE" "${1:-$WARMAP_BIN}" > "$WORK/warmap.log" 2>&1 &
    WARMAP_PID=$!
    PIDS+=($WARMAP_PID)
}

# The usual scene: a display, the simulator one step ahead of the saved copies, and the program.
start_scenario() {  # start_scenario seed
    start_display
    start_feedsim --seed "$1" --steps 1
    prepare_saved_copies "$1" 0
    start_warmap
}
