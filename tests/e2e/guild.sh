#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# My guild as a player meets it: with guild= and onlyGuild=true the popup tells the changes the guild
# takes part in and nothing else, over the simulator's two steps; the map rings exactly the guild's
# structures and no other pixel changes; the hover says it is mine. Then a week of history on a
# stopped clock: one structure's story and "Am meisten umkämpft" read through AT-SPI as an independent
# reading of the history file says.
[ -n "${WARMAP_PRIVATE_BUS:-}" ] || exec env WARMAP_PRIVATE_BUS=1 dbus-run-session -- bash "$0" "$@"
source "$(dirname "$0")/lib.sh"
need_faketime
SCREEN_W=1600 SCREEN_H=1100
start_display
start_accessibility_bus
start_tray

PY=/usr/bin/python3
SEED=31
GUILD='Brüder der Furt'  # Latin-1 in the feeds, UTF-8 in the settings file
DATA=$(dirname "$WARMAP_BIN")
CONF="$XDG_CONFIG_HOME/warmap/warmap.conf"
mkdir -p "$(dirname "$CONF")"
tree() { "$PY" "$ATSPI" tree Warmap > "$WORK/tree.txt" 2> /dev/null; }
map_shot() {  # map_shot out: the Warmap window's map as the screen shows it
    local x y w h
    # The window draws the saved copy it opened with; choosing the server again draws the pass's.
    click_on Dartmoor
    sleep 0.5
    xdotool key Return
    sleep 0.5
    screenshot "$WORK/screen.png"
    read -r x y w h < <(extents "Karte der Grenzlande")
    convert "$WORK/screen.png" -crop "${w}x${h}+${x}+${y}" +repage "$1"
}
for step in 0 1 2; do
    for server in Dartmoor Logres Avalon Salisbury; do
        "$FEEDSIM_BIN" --seed $SEED --steps $step --write $server "$WORK/$server-$step.xml"
    done
done
# What the popup must tell from step a to step b: "SHORT: name → realm" for every structure that
# changed realm and that the guild held before or after.
told() {  # told a b
    "$PY" - "$WORK" "$DATA/keepnames.ini" "$GUILD" "$1" "$2" << 'PY'
import configparser, sys, xml.etree.ElementTree as ET
work, ini, guild, a, b = sys.argv[1:]
names = configparser.ConfigParser(interpolation=None)
names.read(ini, encoding="utf-8")
for server, short in (("Dartmoor", "DM"), ("Logres", "LOG"), ("Avalon", "AVA"), ("Salisbury", "SAL")):
    old, new = ([(e.get("id"), e.get("realm"), e.get("guildname") or "") for e in ET.parse(f"{work}/{server}-{n}.xml").getroot()]
                for n in (a, b))
    for o, n in zip(old, new):
        if o[0] == n[0] and o[1] != n[1] and guild in (o[2], n[2]):
            print(f"{short}: {names['keepnames'][n[0]]} → {n[1]}")
PY
}
told 0 1 | sort > "$WORK/expected-1.txt"
told 1 2 | sort > "$WORK/expected-2.txt"
cp "$WORK"/expected-*.txt "$ARTIFACTS/"
check "the guild takes part in changes of both steps ($(wc -l < "$WORK/expected-1.txt"), $(wc -l < "$WORK/expected-2.txt"))" \
    test -s "$WORK/expected-1.txt" -a -s "$WORK/expected-2.txt"

# The clock is ours: moved ten minutes on when the next pass is due (libfaketime).
CLOCK="$WORK/clock"
launch() { LD_PRELOAD="$FAKETIME_LIB" FAKETIME_TIMESTAMP_FILE="$CLOCK" FAKETIME_NO_CACHE=1 start_warmap; }

# Without a guild: the map as it always was, for the comparison.
echo "+0" > "$CLOCK"
start_feedsim --seed $SEED --steps 1
prepare_saved_copies $SEED 0
launch
check "without a guild the Warmap window shows" wait_for 20 has_visible_window "$MAIN_TITLE"
wait_for 20 popup_opaque
wait_for 30 popup_gone
sleep 0.5
map_shot "$ARTIFACTS/map-without-guild.png"
choose Up Return
check "\"Beenden\" ends it" wait_for 15 warmap_ended

# With the guild, and only its notices: the same first pass again.
printf '[notify]\nguild=%s\nonlyGuild=true\n' "$GUILD" > "$CONF"
prepare_saved_copies $SEED 0
kill "${PIDS[-2]}" 2> /dev/null || true  # the first simulator, whose step has moved on
start_feedsim --seed $SEED --steps 1
listen() { "$PY" "$ATSPI" announced Warmap 40 > "$WORK/announced-$1.txt" 2> /dev/null & LISTENER=$!; wait_for 10 grep -q listening "$WORK/announced-$1.txt"; }
lines() {  # lines n: the lines of pass n's popup, as AT-SPI reads them
    awk '/^shown notification\|./{on = 1; next} /^shown /{on = 0} on' "$WORK/announced-$1.txt" |
        sed -n 's/^label|//p' | sort
}
listen 1
launch
check "with the guild the Warmap window shows" wait_for 20 has_visible_window "$MAIN_TITLE"
wait "$LISTENER" || true
cp "$WORK/announced-1.txt" "$ARTIFACTS/"
check "the first popup tells exactly the guild's changes ($(lines 1 | wc -l) lines)" \
    diff <(lines 1) "$WORK/expected-1.txt"
wait_for 30 popup_gone
sleep 0.5
map_shot "$ARTIFACTS/map-with-guild.png"
screenshot "$ARTIFACTS/warmap-with-guild.png" "$(visible_window_id "$MAIN_TITLE")"

# The rings: every pixel that differs lies in the ring of one of the guild's structures on the server
# shown (Dartmoor), and each of them has its ring.
check "the rings sit exactly on the guild's structures" "$PY" - "$ARTIFACTS" "$WORK/Dartmoor-1.xml" \
    "$(dirname "$0")/../../keepmap/KeepPos.h" "$GUILD" << 'PY'
import re, subprocess, sys, xml.etree.ElementTree as ET
artifacts, feed, header, guild = sys.argv[1:]
centres = [tuple(map(int, p)) for p in re.findall(r"QPoint\((\d+),\s*(\d+)\)", open(header).read())]
mine = [centres[int(e.get("id"))] for e in ET.parse(feed).getroot() if (e.get("guildname") or "") == guild]
def pixels(name):
    out = subprocess.run(["convert", f"{artifacts}/{name}", "-depth", "8", "txt:-"], capture_output=True, text=True).stdout
    return {tuple(map(int, m.groups()[:2])): m.group(3) for m in re.finditer(r"^(\d+),(\d+): \S+\s+(#\w{6})", out, re.M)}
a, b = pixels("map-without-guild.png"), pixels("map-with-guild.png")
assert a.keys() == b.keys() and a, "the maps differ in size"
differing = [p for p in a if a[p] != b[p]]
# Icons are 16 map pixels across; the ring's dark edge reaches 8 + 2.5 + 1.5 beyond the centre, a
# pixel more antialiased, and the screen's crop may lie a pixel off the map's origin.
within = lambda p, c, r: (p[0] + 0.5 - c[0]) ** 2 + (p[1] + 0.5 - c[1]) ** 2 <= r ** 2
stray = [p for p in differing if not any(within(p, c, 14) for c in mine)]
inside = [p for p in differing if any(within(p, c, 6) for c in mine)]  # the icon itself
ringed = [c for c in mine if sum(within(p, c, 14) for p in differing) >= 20]
print(f"{len(mine)} structures, {len(differing)} pixels differ, {len(stray)} elsewhere, {len(inside)} on icons, "
      f"{len(ringed)} ringed", file=sys.stderr)
assert mine and not stray and not inside and len(ringed) == len(mine)
PY

# The hover names the guild as mine.
read -r mx my _ _ < <(extents "Karte der Grenzlande")
read -r gx gy < <("$PY" - "$WORK/Dartmoor-1.xml" "$(dirname "$0")/../../keepmap/KeepPos.h" "$GUILD" << 'PY'
import re, sys, xml.etree.ElementTree as ET
feed, header, guild = sys.argv[1:]
centres = re.findall(r"QPoint\((\d+),\s*(\d+)\)", open(header).read())
print(*next(centres[int(e.get("id"))] for e in ET.parse(feed).getroot() if e.get("guildname") == guild))
PY
)
xdotool mousemove $((mx + gx)) $((my + gy)) mousemove $((mx + gx + 1)) $((my + gy))
hover_mine() { tree && grep -q -E "^[0-9]+ label\|Festung unter dem Mauszeiger: .* \($GUILD\) — meine Gilde$" "$WORK/tree.txt"; }
check "the hover says \"— meine Gilde\" after the guild's name" wait_for 5 hover_mine
# The settings window with the guild, for the README.
SETTINGS_TITLE='^Warmap — Einstellungen$'
choose Up Up Return
check "\"Einstellungen …\" opens with the guild" wait_for 10 has_visible_window "$SETTINGS_TITLE"
xdotool windowfocus --sync "$(visible_window_id "$SETTINGS_TITLE")"
sleep 0.5
screenshot "$ARTIFACTS/settings-with-guild.png" "$(visible_window_id "$SETTINGS_TITLE")"
xdotool key Escape
settings_closed() { ! has_visible_window "$SETTINGS_TITLE"; }
check "Escape closes it" wait_for 10 settings_closed

# Ten minutes later: the second step.
control advance
listen 2
echo "+600" > "$CLOCK"
read -r x y _ _ < <(geometry "$(visible_window_id "$MAIN_TITLE")")
xdotool mousemove $((x + 200)) $((y + 200)) mousemove $((x + 210)) $((y + 210))  # wakes the event loop
wait "$LISTENER" || true
cp "$WORK/announced-2.txt" "$ARTIFACTS/"
check "the second popup tells exactly the guild's changes ($(lines 2 | wc -l) lines)" \
    diff <(lines 2) "$WORK/expected-2.txt"
choose Up Return
check "\"Beenden\" ends it" wait_for 15 warmap_ended

# A week of history that ends now, on a clock that stands still (the monotonic clock runs on, so the
# program's timers do): the lengths of running holds are exact.
export XDG_DATA_HOME="$WORK/week"
NOW="2026-12-09 12:00:00"
mkdir -p -m 700 "$XDG_DATA_HOME/warmap"
HISTORY="$XDG_DATA_HOME/warmap/history.sqlite"
"$DATA/histgen" --passes 1008 --seed 5 --end "$(date -d "$NOW" +%s)" --data "$DATA" "$HISTORY"
start_feedsim --seed 5 --steps 1007
prepare_saved_copies 5 1007
LD_PRELOAD="$FAKETIME_LIB" FAKETIME="$NOW" FAKETIME_DONT_FAKE_MONOTONIC=1 start_warmap
check "with a week of history the icon appears" wait_for 15 has_tray_icon
choose Down Down Down Return
check "\"Verlauf …\" opens" wait_for 15 has_visible_window '^Warmap — Verlauf$'
HISTORY_WINDOW=$(visible_window_id '^Warmap — Verlauf$')
sleep 1
click_on "Alles"
sleep 1
click_on "Am meisten umkämpft"
sleep 1
screenshot "$ARTIFACTS/contested.png" "$HISTORY_WINDOW"
tree
cp "$WORK/tree.txt" "$ARTIFACTS/contested-tree.txt"
# The history file read on its own: Dartmoor's state at its first pass, then every change row.
"$PY" - "$HISTORY" "$DATA/keepnames.ini" "$(date -d "$NOW" +%s)" > "$WORK/expected.json" << 'PY'
import configparser, json, sqlite3, sys, time
path, ini, now = sys.argv[1], sys.argv[2], int(sys.argv[3])
names = configparser.ConfigParser(interpolation=None)
names.read(ini, encoding="utf-8")
db = sqlite3.connect(f"file:{path}?mode=ro", uri=True)
word = dict(db.execute("SELECT id, text FROM word"))
passes = db.execute("SELECT f.pass, p.time, f.size FROM feed f JOIN pass p ON p.id = f.pass WHERE f.server = 0 "
                    "ORDER BY f.pass").fetchall()
first = passes[0][0]
state = {pos: (word[i], word[r], word[g]) for pos, i, r, g in
         db.execute("SELECT position, id, realm, guild FROM whole WHERE server = 0 AND pass = ?", (first,))}
rows = {}
for p, pos, i, r, g in db.execute("SELECT pass, position, id, new_realm, new_guild FROM change WHERE server = 0"):
    rows.setdefault(p, []).append((pos, i, r, g))
holds = {}  # id -> [realm, guild, start, end, startKnown]
def take(at, known):
    seen = {}
    for i, r, g in state.values():
        seen[i] = (r, g)
    for i, holder in seen.items():
        story = holds.setdefault(i, [])
        if not story or tuple(story[-1][:2]) != holder:
            if story: story[-1][3] = at
            story.append([*holder, at, now, known])
take(passes[0][1], False)
for p, t, size in passes[1:]:
    for pos, i, r, g in rows.get(p, []):
        if r == -1: state.pop(pos, None)
        else: state[pos] = (word[i], word[r], word[g])
    state = {pos: v for pos, v in state.items() if pos < size}
    take(t, True)
def duration(seconds):
    m = seconds // 60
    d, h, rest = m // 1440, m // 60 % 24, m % 60
    day = "1 Tag" if d == 1 else f"{d} Tage"
    if d: return f"{day} {h} Std." if h else day
    if m >= 60: return f"{m // 60} Std. {rest} Min." if rest else f"{m // 60} Std."
    return f"{rest} Min."
def length(h): return duration(h[3] - h[2]) if h[4] else "mindestens " + duration(h[3] - h[2])
def holder(h): return f"{h[0]} (\u2068{h[1]}\u2069)" if h[1] else f"{h[0]} (ohne Gilde)"
def local(t): return time.strftime("%d.%m.%Y %H:%M", time.localtime(t))
def longest(story): return max(story, key=lambda h: h[3] - h[2])  # the earliest of equals
ranked = sorted(((len(s) - 1, int(i)) for i, s in holds.items() if len(s) > 1), key=lambda c: (-c[0], c[1]))[:10]
contested = [[names["keepnames"][str(i)], str(n), holder(holds[str(i)][-1]),
              length(longest(holds[str(i)])) + " · " + holder(longest(holds[str(i)]))] for n, i in ranked]
top = str(ranked[0][1])
story = holds[top]
name = names["keepnames"][top]
json.dump({
    "contested": contested,
    "name": name,
    "summary": f"{name}: {len(story) - 1} Änderungen, am längsten gehalten von {holder(longest(story))} "
               f"({length(longest(story))})",
    "id": top,
    "hover": f"{name}: {holder(story[-1])}, seit {local(story[-1][2])}",
    "holds": [[h[0], f"\u2068{h[1]}\u2069" if h[1] else "ohne Gilde",
               local(h[2]) if h[4] else local(h[2]) + " oder früher",
               "noch gehalten" if h[3] == now else local(h[3]), length(h)] for h in reversed(story)],
}, sys.stdout, ensure_ascii=False)
PY
cp "$WORK/expected.json" "$ARTIFACTS/"
# A tree's rows as AT-SPI reads them: its cells, in order, so many to a row.
cells() {  # cells tree-name columns
    "$PY" - "$WORK/tree.txt" "$1" "$2" << 'PY'
import json, sys
lines, name, columns = open(sys.argv[1], encoding="utf-8").read().splitlines(), sys.argv[2], int(sys.argv[3])
start = next(n for n, l in enumerate(lines) if l.split(" ", 1)[1] in (f"tree table|{name}", f"table|{name}", f"tree|{name}"))
depth = int(lines[start].split(" ", 1)[0])
cells = []
for l in lines[start + 1:]:
    d, rest = l.split(" ", 1)
    if int(d) <= depth: break
    role, text = rest.split("|", 1)
    if int(d) == depth + 1 and role in ("table cell", "tree item"): cells.append(text)
json.dump([cells[i:i + columns] for i in range(0, len(cells), columns)], sys.stdout, ensure_ascii=False)
PY
}
same() {  # same json-a json-b
    "$PY" -c 'import json, sys; a, b = json.loads(sys.argv[1]), json.loads(sys.argv[2]); print(len(a), "rows", file=sys.stderr); sys.exit(a != b)' "$1" "$2"
}
check "\"Am meisten umkämpft\" lists what the file says" \
    same "$(cells "Bauwerke mit den meisten Änderungen" 4)" "$("$PY" -c 'import json,sys; print(json.dumps(json.load(open(sys.argv[1]))["contested"], ensure_ascii=False))' "$WORK/expected.json")"
click_on "$("$PY" -c 'import json,sys; print(json.load(open(sys.argv[1]))["name"])' "$WORK/expected.json")" "table cell"
sleep 1
screenshot "$ARTIFACTS/story.png" "$HISTORY_WINDOW"
tree
cp "$WORK/tree.txt" "$ARTIFACTS/story-tree.txt"
summary=$("$PY" -c 'import json,sys; print(json.load(open(sys.argv[1]))["summary"])' "$WORK/expected.json")
label_says() { grep -E '^[0-9]+ label\|' "$WORK/tree.txt" | cut -d'|' -f2- | grep -q -x -F "$1"; }
check "clicking its row tells that structure's story: $summary" label_says "$summary"
check "its holds are the file's, with their starts, ends and lengths" \
    same "$(cells Halter 5)" "$("$PY" -c 'import json,sys; print(json.dumps(json.load(open(sys.argv[1]))["holds"], ensure_ascii=False))' "$WORK/expected.json")"
# Pointing at it on the map names its holder at the slider's moment (the newest) and since when.
expected() { "$PY" -c 'import json,sys; print(json.load(open(sys.argv[1]))[sys.argv[2]])' "$WORK/expected.json" "$1"; }
read -r hx hy hw _ < <(extents "Karte zum gewählten Zeitpunkt")
read -r kx ky < <("$PY" -c '
import re, sys
centres = re.findall(r"QPoint\((\d+),\s*(\d+)\)", open(sys.argv[1]).read())
x, y = centres[int(sys.argv[2])]
scale = int(sys.argv[3]) / 448
print(round(int(x) * scale), round(int(y) * scale))' "$(dirname "$0")/../../keepmap/KeepPos.h" "$(expected id)" "$hw")
xdotool mousemove $((hx + kx)) $((hy + ky)) mousemove $((hx + kx + 1)) $((hy + ky))
hover_says() { tree && label_says "$(expected hover)"; }
check "pointing at it on the map says: $(expected hover)" wait_for 5 hover_says
choose Up Return
check "\"Beenden\" ends it" wait_for 15 warmap_ended
finish
