# Helpers for running Warmap on a private X display: used by ./run.sh without a display and by the
# end-to-end tests. Expects WORK (a scratch folder) and the array PIDS (processes to stop) to exist.

SCREEN_W=${SCREEN_W:-1280}
SCREEN_H=${SCREEN_H:-1024}
TASKBAR_H=${TASKBAR_H:-40}
MAIN_TITLE='^\.:: Warmap$'
POPUP_TITLE='^Warmap (Frontbericht|frontier report)$'  # German, English

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

# Starts Xvfb on a free display with a bottom taskbar, as a desktop would reserve it; Qt reads it as
# the screen's available area. -noreset keeps that setting when clients come and go.
start_display() {
    exec 5> "$WORK/display"
    Xvfb -displayfd 5 -screen 0 "${SCREEN_W}x${SCREEN_H}x24" -nolisten tcp -noreset > "$WORK/xvfb.log" 2>&1 &
    PIDS+=($!)
    wait_for 10 test -s "$WORK/display"
    export DISPLAY=":$(head -n1 "$WORK/display")" DISPLAY_OURS=1
    unset WAYLAND_DISPLAY
    xprop -root -format _NET_SUPPORTED 32a -set _NET_SUPPORTED "_NET_WORKAREA"
    xprop -root -format _NET_WORKAREA 32c -set _NET_WORKAREA "0, 0, $SCREEN_W, $((SCREEN_H - TASKBAR_H))"
}

window_id() { xdotool search --name "$1" 2>/dev/null | head -n1; }
visible_window_id() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1; }
has_window() { [ -n "$(window_id "$1")" ]; }
has_visible_window() { [ -n "$(visible_window_id "$1")" ]; }
geometry() {  # geometry id -> "x y w h"
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}
opacity() {  # opacity id -> the 32-bit value, or nothing
    xprop -id "$1" _NET_WM_WINDOW_OPACITY 2>/dev/null | awk -F' = ' '/=/{print $2; exit}'
}
popup_opaque() { [ "$(opacity "$(window_id "$POPUP_TITLE")")" = "4294967295" ]; }
popup_gone() { [ "$(opacity "$(window_id "$POPUP_TITLE")")" = "0" ]; }
screenshot() {  # screenshot file [window id]
    if [ -n "${2:-}" ]; then
        local x y w h
        read -r x y w h < <(geometry "$2")
        import -window root -crop "${w}x${h}+${x}+${y}" +repage "$1"
    else
        import -window root "$1"
    fi
}
