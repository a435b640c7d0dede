#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The command line without any display: help, version, --quit and refusals answer at once and touch
# nothing; a start without a display says why in one line and ends with 1, leaving nothing behind.
source "$(dirname "$0")/lib.sh"
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$WORK/tmp"
echo "saved" > "$WORK/tmp/Dartmoor_lastkeeps.xml"

status_of() { local s=0; TMPDIR="$WORK/tmp" timeout 10 "$WARMAP_BIN" "$@" > "$WORK/out" 2> "$WORK/err" || s=$?; echo "$s"; }
nothing_left() { [ -z "$(ls -A "$XDG_RUNTIME_DIR")" ] && [ "$(cat "$WORK/tmp/Dartmoor_lastkeeps.xml")" = saved ] &&
    [ "$(ls -A "$WORK/tmp")" = Dartmoor_lastkeeps.xml ]; }

s=$(status_of --help)
check "--help ends with 0 (saw $s)" test "$s" -eq 0
check "and prints the usage with every option" grep -q -- '--feed-base <url>' "$WORK/out"
check "nothing on stderr" test ! -s "$WORK/err"
check "no lock, socket or copy touched" nothing_left
s=$(status_of --version)
check "--version ends with 0 (saw $s)" test "$s" -eq 0
check "and prints the version" grep -qx 'Warmap [0-9]*\.[0-9]*\.[0-9]*' "$WORK/out"
check "no lock, socket or copy touched" nothing_left
for args in "--bogus" "--feed-base" "stray" "--history --quit"; do
    # shellcheck disable=SC2086
    s=$(status_of $args)
    check "'$args' ends with 2 (saw $s)" test "$s" -eq 2
    check "with the usage on stderr" grep -q '^Usage: ' "$WORK/err"
    check "nothing on stdout" test ! -s "$WORK/out"
    check "no lock, socket or copy touched" nothing_left
done
s=$(status_of --quit)
check "--quit with no Warmap running ends with 0 (saw $s)" test "$s" -eq 0
check "and says so" grep -q 'Warmap läuft nicht' "$WORK/err"
check "no lock, socket or copy touched" nothing_left

# A start without a display (over ssh, from cron, before the session): one line, status 1, nothing left.
one_line() { [ "$(wc -l < "$WORK/err")" -eq 1 ] && grep -q "^warmap: cannot start without a display: $1" "$WORK/err"; }
s=$(status_of)
check "a start without DISPLAY or WAYLAND_DISPLAY ends with 1 (saw $s)" test "$s" -eq 1
check "with one line naming the cause" one_line "neither DISPLAY nor WAYLAND_DISPLAY is set"
check "no lock, socket or copy touched" nothing_left
s=$(DISPLAY=:99 status_of --feed-base ftp://feed.example)
check "with a display that cannot be opened too (saw $s)" test "$s" -eq 1
check "saying which" one_line "cannot open the X display :99"
check "no lock, socket or copy touched" nothing_left
cp "$WORK/err" "$ARTIFACTS/no-display.txt"
finish
