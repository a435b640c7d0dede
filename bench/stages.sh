#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Where start-up's time and memory go, stage by stage, beside the bare Qt window:
#  1. CPU time to the first frame by library (perf, software clock, RUNS starts each);
#  2. memory as start-up reaches each stage (the first file a stage opens, under strace, so its times
#     are slowed; the memory is what counts there), sampled from smaps_rollup every millisecond;
#  3. resident memory 12 s after start (past the first pass) by group of mappings;
#  4. resident memory at the first frame by mapping, where it differs from the bare window's.
#
#   bench/stages.sh [RUNS]    (default 8)
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BIN="${WARMAP_BUILD_DIR:-$ROOT/build}/bin"
RUNS=${1:-8}
source "$ROOT/bench/scene.sh"
start_scene 1
export WARMAP_FEED_BASE="$FEED"

echo "1. CPU to the first frame by library, mean of $RUNS starts (perf, 20 kHz software clock):"
if perf record -q -e cpu-clock -o "$WORK/probe.data" true > /dev/null 2>&1; then
    for program in warmap bare_window; do
        for ((run = 1; run <= RUNS; run++)); do
            fresh_folders
            perf record -q -e cpu-clock -F 20000 -o "$WORK/$program-$run.data" -- "$BIN/startup" --after 0 "$BIN/$program" > /dev/null 2>&1
            perf report -i "$WORK/$program-$run.data" --comm "$program" --sort dso --stdio -g none -n 2> /dev/null |
                grep -v '^#' | grep -v '^$' || true
        done > "$WORK/$program.samples"
        awk -v runs="$RUNS" -v name="$program" '{t += $2} END {printf "  %s: %.1f ms\n", name, t / 20 / runs}' "$WORK/$program.samples"
        awk -v runs="$RUNS" '{n[$3] += $2} END {for (d in n) if (n[d] / 20 / runs >= 0.2) printf "    %6.2f ms %s\n", n[d] / 20 / runs, d}' \
            "$WORK/$program.samples" | sort -rn
    done
else
    echo "  (perf cannot record here)"
fi

echo "2. memory as start-up reaches each stage (KiB; times slowed by strace):"
fresh_folders
python3 - "$BIN/warmap" "$WORK/strace.txt" << 'PY'
import os, re, signal, subprocess, sys, time
program, trace = sys.argv[1:]
tracer = subprocess.Popen(["strace", "-f", "-ttt", "-e", "trace=openat,statx", "-o", trace, program],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
samples, pid, end = [], None, time.time() + 12
while time.time() < end:
    if pid is None:
        try:
            kids = open(f"/proc/{tracer.pid}/task/{tracer.pid}/children").read().split()
            # The program itself, not a process strace starts on the way to it.
            pid = next((int(k) for k in kids if os.path.realpath(f"/proc/{k}/exe") == os.path.realpath(program)), None)
        except OSError:
            pass
    if pid:
        try:
            fields = dict((l.split()[0][:-1], int(l.split()[1])) for l in open(f"/proc/{pid}/smaps_rollup") if l.split()[0].endswith(":"))
            samples.append((time.time(), fields["Rss"], fields["Anonymous"]))
        except (OSError, KeyError, IndexError, ValueError):
            pass
    time.sleep(0.001)
if pid:
    try:
        os.kill(pid, signal.SIGTERM)
    except ProcessLookupError:
        print("  (warmap had ended before 12 s)")
tracer.wait()
opened = [(float(m.group(1)), m.group(2)) for m in
          (re.match(r"\d+\s+([\d.]+) (?:openat|statx)\(AT_FDCWD, \"([^\"]+)\"", l) for l in open(trace)) if m]
stages = [("Qt's platform plugin", "libqxcb.so"), ("skin pictures", "/form/warmap.jpg"),
          ("saved copy drawn", "_lastkeeps.xml"), ("fonts", "fonts.conf"), ("history store", "libwarmap-store.so"),
          ("tray icon", "/icons/hicolor/16x16/apps/warmap.png"), ("first pass (helper starts)", "libcurl.so"),
          ("sound", "libwarmap-sound.so")]
start = samples[0][0] if samples else 0
def before(t):
    return ([s for s in samples if s[0] <= t] or [(t, 0, 0)])[-1]
print(f"  {'stage':24s} {'at ms':>8s} {'resident':>9s} {'anonymous':>10s} {'file-backed':>12s}")
reached = [(next((t for t, path in opened if key in path), None), name) for name, key in stages]
for t, name in sorted(reached, key=lambda r: float("inf") if r[0] is None else r[0]):
    if t is None:
        print(f"  {name:24s} {'-':>8s}")
        continue
    _, rss, anon = before(t)
    print(f"  {name:24s} {1000 * (t - start):8.1f} {rss:9d} {anon:10d} {rss - anon:12d}")
if samples:
    t, rss, anon = samples[-1]
    print(f"  {'12 s after start':24s} {1000 * (t - start):8.1f} {rss:9d} {anon:10d} {rss - anon:12d}")
PY

echo "3. resident memory 12 s after start by group of mappings (KiB, anonymous in brackets):"
groups() {  # groups pid
    awk '/^[0-9a-f]+-[0-9a-f]+ /{f = $6} /^Rss:/{r[f] += $2} /^Anonymous:/{a[f] += $2}
         END {for (k in r) print r[k], a[k], (k == "" ? "-" : k)}' "/proc/$1/smaps" | awk '
    {k = $3; g = "Qt and the libraries below it"
     if (k ~ /libcurl|libssl|libcrypto|libgnutls|libnettle|libhogweed|libp11|libkrb|libk5|libgssapi|libldap|liblber|libsasl|libssh|librtmp|libnghttp|libpsl|libidn|libunistring|libtasn|libffi|libkeyutils|libresolv|libcom_err|libbrotlienc/) g = "libcurl and its TLS stack"
     if (k ~ /Multimedia|pulse|vorbis|ogg|FLAC|opus|sndfile|asound|libwarmap-sound|mp3|gsm|apparmor|asyncns/) g = "sound"
     if (k ~ /sqlite|libwarmap-store/) g = "history store"
     if (k ~ /Network/) g = "QtNetwork (single instance)"
     if (k ~ /libxml2/) g = "libxml2"
     if (k ~ /jpeg|imageformats/) g = "image decoders"
     if (k ~ /\.ttf$/) g = "font files"
     if (k ~ /^\[|^-$|memfd|SYSV/) g = "heap, stacks, anonymous and shared memory"
     if (k ~ /bin\/(warmap|bare_window)$/) g = "the executable"
     r[g] += $1; a[g] += $2; t += $1}
    END {for (g in r) printf "    %7d (%6d)  %s\n", r[g], a[g], g; printf "    %7d          in all\n", t}' | sort -rn
}
for program in warmap bare_window; do
    fresh_folders
    "$BIN/$program" > /dev/null 2>&1 &
    pid=$!
    PIDS+=($pid)
    sleep 12
    echo "  $program:"
    groups "$pid"
    kill "$pid"
    wait "$pid" 2> /dev/null || true
done

echo "4. resident memory at the first frame by mapping, mean of $RUNS starts (KiB; differences of 40 KiB or more):"
for program in warmap bare_window; do
    for ((run = 1; run <= RUNS; run++)); do
        fresh_folders
        "$BIN/startup" --after 0 --smaps "$WORK/$program-$run" "$BIN/$program" > /dev/null 2>&1 || true
    done
    cat "$WORK/$program"-*.paint | awk -v runs="$RUNS" '/^[0-9a-f]+-[0-9a-f]+ /{f = ($6 == "" ? "[anonymous]" : $6); next}
        $1 == "Rss:" {r[f] += $2} END {for (k in r) printf "%s %.0f\n", k, r[k] / runs}' | sort > "$WORK/$program.paint"
done
printf '    %7s %7s %7s  %s\n' warmap bare more mapping
join -a1 -a2 -e0 -o 0,1.2,2.2 "$WORK/warmap.paint" "$WORK/bare_window.paint" | awk '
    {d = $2 - $3; w += $2; b += $3; if (d >= 40 || d <= -40) printf "    %7d %7d %7d  %s\n", $2, $3, d, $1}
    END {printf "    %7d %7d %7d  in all\n", w, b, w - b}' | sort -k3 -rn
