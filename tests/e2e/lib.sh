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

# grep -c, not -q: -q would stop reading at the first match, and under pipefail the writer's broken pipe
# would turn the answer round.
no_key_down() { ! xinput query-state "Virtual core XTEST keyboard" | grep -c '=down' > /dev/null; }

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
    box=$(visible_window_id '^Warmap$') || true
    [ -n "$box" ] || return 0
    # Focused first, so press and release both go through XTEST: with --window, xdotool sends the
    # release as a synthetic event to the box that the press has just closed, and Return stays down.
    xdotool windowfocus --sync "$box" key Return 2> /dev/null || true
    sleep 0.3
}

# A panel with a system tray at the top right, as desktops have one. The icon is a window of ours
# embedded in trayer's panel.
start_tray() {
    trayer --edge top --align right --widthtype request --height 24 --transparent false --tint 0x3a2a1a \
        > "$WORK/trayer.log" 2>&1 &
    PIDS+=($!)
}
tray_icon() { xwininfo -root -tree | sed -n '/("panel" "trayer")/,$p' | awk '/\("warmap" "Warmap"\)/{print $1; exit}'; }
has_tray_icon() { [ -n "$(tray_icon)" ]; }

# The tray menu: opened by a right click on the icon; keys pick its items (Down from the top, Up from
# the end).
menu_window() {
    local id w h popup
    popup=$(window_id "$POPUP_TITLE")
    for id in $(xdotool search --onlyvisible --classname '^warmap$' 2> /dev/null); do
        read -r _ _ w h < <(geometry "$id")
        if [ "$id" != "$popup" ] && [ "$h" -gt 60 ] && [ "$h" -lt 300 ] && [ "$w" -lt 400 ]; then
            echo "$id"
            return 0
        fi
    done
    return 0
}
has_menu() { [ -n "$(menu_window)" ]; }
open_menu() {
    local icon ix iy iw ih
    icon=$(tray_icon)
    [ -n "$icon" ] || return 1
    read -r ix iy iw ih < <(geometry "$icon")
    xdotool mousemove $((ix + iw / 2)) $((iy + ih / 2)) click 3
    wait_for 5 has_menu
}
choose() {  # choose keys...
    open_menu || return 1
    sleep 0.3
    xdotool key "$@"
}

# A private PulseAudio daemon whose only sink is a null sink, "warmap_null"; its monitor hears what
# the program plays. Skips the test where PulseAudio cannot run.
start_sound_server() {
    local tool
    for tool in pulseaudio parec sox; do
        command -v "$tool" > /dev/null || skip "$tool is not installed"
    done
    export XDG_RUNTIME_DIR="$WORK/runtime" PULSE_RUNTIME_PATH="$WORK/runtime/pulse" HOME="$WORK/home"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$HOME"
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=yes --use-pid-file=no \
        -L "module-null-sink sink_name=warmap_null rate=44100" \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$WORK/runtime/native" > "$WORK/pulse.log" 2>&1 &
    PIDS+=($!)
    export PULSE_SERVER="unix:$WORK/runtime/native"
    wait_for 10 pactl info > /dev/null 2>&1 || skip "PulseAudio did not start here: $(tail -1 "$WORK/pulse.log")"
}
start_recording() {  # start_recording file: what reaches the null sink, until stop_recording
    parec --latency-msec=20 --device=warmap_null.monitor --file-format=wav --rate=44100 --channels=1 \
        --format=s16le "$1" &
    RECORDER=$!
    PIDS+=($RECORDER)
}
stop_recording() {
    kill "$RECORDER"
    wait "$RECORDER" 2> /dev/null || true
}
peak_db() { sox "$1" -n stats 2>&1 | awk '/Pk lev dB/{print $4}'; }

# The accessibility bus of the session (the test runs under dbus-run-session), switched on as a screen
# reader switches it on; Qt follows the switch. Skips the test where that cannot be had.
ATSPI="$(dirname "${BASH_SOURCE[0]}")/atspi.py"
start_accessibility_bus() {
    /usr/bin/python3 -c 'import pyatspi' 2> /dev/null || skip "python3-pyatspi is not installed"
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress > /dev/null 2>&1 ||
        skip "the accessibility bus does not start here"
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
        string:org.a11y.Status string:IsEnabled variant:boolean:true > /dev/null
}
# The program's controls as AT-SPI places them on the screen.
extents() { /usr/bin/python3 "$ATSPI" extents Warmap "$@"; }  # extents name [role] -> "x y w h"
has_extents() { extents "$1" > /dev/null 2>&1; }
click_on() {  # click_on name [role]: a left click in the middle of the named control
    local x y w h
    read -r x y w h < <(extents "$@")
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
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

# A simulated history of passes ten minutes apart in XDG_DATA_HOME, the saved copies of its last pass,
# and the simulator going on from there, ahead steps further (0: no change at the first live pass).
simulated_history() {  # simulated_history passes seed ahead
    mkdir -p -m 700 "$XDG_DATA_HOME/warmap"
    "${HISTGEN_BIN:-$(dirname "$WARMAP_BIN")/histgen}" --passes "$1" --seed "$2" --data "$(dirname "$WARMAP_BIN")" \
        "$XDG_DATA_HOME/warmap/history.sqlite"
    start_feedsim --seed "$2" --steps $(($1 - 1 + $3))
    prepare_saved_copies "$2" $(($1 - 1))
}

# Every test has its own user folders: the single-instance lock and socket, the autostart folder, the
# history.
export XDG_RUNTIME_DIR="$WORK/xdg-runtime" XDG_CONFIG_HOME="$WORK/xdg-config" XDG_DATA_HOME="$WORK/xdg-data"
mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"

# libfaketime's library, for a clock of the test's own; the test is skipped without it.
need_faketime() {
    FAKETIME_LIB=$(ls /usr/lib/*/faketime/libfaketimeMT.so.1 2> /dev/null | head -n1)
    [ -n "$FAKETIME_LIB" ] || skip "libfaketime is not installed"
}

warmap_ended() { ! kill -0 "$WARMAP_PID" 2> /dev/null; }

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
