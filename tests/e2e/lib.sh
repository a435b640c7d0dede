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

finish() {
    echo "$((CHECKS - FAILURES)) passed, $FAILURES failed"
    [ "$FAILURES" -eq 0 ]
}

# Waits up to $1 seconds for a command to succeed.
wait_for() {
    local limit=$1
    shift
    local end=$((SECONDS + limit))
    until "$@"; do
        [ $SECONDS -ge $end ] && return 1
        sleep 0.1
    done
}

SCREEN_W=1280
SCREEN_H=1024
TASKBAR_H=40

start_display() {
    exec 5> "$WORK/display"
    Xvfb -displayfd 5 -screen 0 ${SCREEN_W}x${SCREEN_H}x24 -nolisten tcp -noreset > "$WORK/xvfb.log" 2>&1 &
    PIDS+=($!)
    wait_for 10 test -s "$WORK/display"
    export DISPLAY=":$(head -n1 "$WORK/display")"
    unset WAYLAND_DISPLAY
    # A bottom taskbar, as a desktop would reserve it; Qt reads it as the screen's available area.
    xprop -root -format _NET_SUPPORTED 32a -set _NET_SUPPORTED "_NET_WORKAREA"
    xprop -root -format _NET_WORKAREA 32c -set _NET_WORKAREA "0, 0, $SCREEN_W, $((SCREEN_H - TASKBAR_H))"
}

start_feedsim() {  # start_feedsim args...
    "$FEEDSIM_BIN" --port 0 --port-file "$WORK/port" "$@" > "$WORK/feedsim.log" 2>&1 &
    PIDS+=($!)
    wait_for 10 test -s "$WORK/port"
    FEED_BASE="http://127.0.0.1:$(cat "$WORK/port")"
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

start_warmap() {  # start_warmap [executable]
    mkdir -p "${TEMP_FOLDER:=$WORK/tmp}"
    TMPDIR="$TEMP_FOLDER" WARMAP_FEED_BASE="$FEED_BASE" "${1:-$WARMAP_BIN}" > "$WORK/warmap.log" 2>&1 &
    WARMAP_PID=$!
    PIDS+=($WARMAP_PID)
}

window_id() { xdotool search --name "$1" 2>/dev/null | head -n1; }
visible_window_id() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }
has_window() { [ -n "$(window_id "$1")" ]; }
has_visible_window() { [ -n "$(visible_window_id "$1")" ]; }
MAIN_TITLE='^\.:: Warmap$'
POPUP_TITLE='^Warmap Frontbericht$'
geometry() {  # geometry id -> "x y w h"
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}
opacity() {  # opacity id -> the 32-bit value, or "none"
    xprop -id "$1" _NET_WM_WINDOW_OPACITY 2>/dev/null | awk -F' = ' '/=/{print $2; exit} END{if (NR==0) print "none"}'
}
screenshot() {  # screenshot file [id]
    if [ -n "${2:-}" ]; then
        read -r x y w h < <(geometry "$2")
        import -window root -crop "${w}x${h}+${x}+${y}" +repage "$1"
    else
        import -window root "$1"
    fi
}
