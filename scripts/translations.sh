#!/usr/bin/env bash
# Keeps the English translation whole. lupdate reads every product source; the check fails when a
# text of the sources is missing from translations/warmap_en.ts, is not translated yet, or when the
# file still holds texts the sources no longer have. "--update" writes the sources' texts into the
# file (new ones untranslated, for a translator to fill in).
set -euo pipefail
cd "$(dirname "$0")/.."
LUPDATE=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
TS=translations/warmap_en.ts
FOLDERS=(base core feed history keepmap notify platform settings tray warmap)
update() {
    "$LUPDATE" -silent -I . -locations none -no-obsolete -source-language de -target-language en \
        "${FOLDERS[@]}" -ts "$1" 2>&1 | grep -v 'Ignoring definition of undeclared qualified class' >&2 || true
}
if [ "${1:-}" = --update ]; then
    update "$TS"
    exit 0
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$TS" "$scratch/check.ts"
update "$scratch/check.ts"
python3 - "$scratch/check.ts" <<'PY'
import sys, xml.etree.ElementTree as ET
missing = []
for context in ET.parse(sys.argv[1]).getroot().iter('context'):
    for message in context.iter('message'):
        translation = message.find('translation')
        if translation.get('type') == 'unfinished' or not (translation.text or '').strip():
            missing.append(f"{context.findtext('name')}: {message.findtext('source')!r}")
for line in missing:
    print(f"translations: not translated to English: {line}", file=sys.stderr)
sys.exit(1 if missing else 0)
PY
if ! cmp -s "$TS" "$scratch/check.ts"; then
    echo "translations: $TS does not match the sources; run scripts/translations.sh --update:" >&2
    diff "$TS" "$scratch/check.ts" >&2 || true
    exit 1
fi
echo "translations: $(grep -c '<message>' "$TS") texts, all translated to English"
