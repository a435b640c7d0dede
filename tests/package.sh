#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The .deb as Debian's tools see it: built with CPack, checked by lintian, desktop-file-validate and
# appstreamcli, unpacked into a throw-away root, its file list and its program checked there.
set -euo pipefail
: "${BUILD_DIR:?}" "${SOURCE_DIR:?}"
for tool in cpack lintian desktop-file-validate appstreamcli dpkg-deb; do
    command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
FAILURES=0
check() {  # check "what" command...
    local what=$1
    shift
    if "$@"; then echo "ok   - $what"; else echo "FAIL - $what"; FAILURES=$((FAILURES + 1)); fi
}

(cd "$BUILD_DIR" && cpack -B "$WORK/out" > "$WORK/cpack.log" 2>&1) || { cat "$WORK/cpack.log"; exit 1; }
DEB=$(ls "$WORK"/out/warmap_*.deb)
echo "built $(basename "$DEB")"
lintian_clean() {
    lintian --fail-on error,warning "$DEB" 2>&1 | grep -v '^running with root privileges' | tee "$WORK/lintian.log"
    [ "${PIPESTATUS[0]}" -eq 0 ] && [ ! -s "$WORK/lintian.log" ]
}
check "lintian finds nothing" lintian_clean
check "desktop-file-validate finds nothing" desktop-file-validate "$SOURCE_DIR/packaging/warmap.desktop"
check "appstreamcli validates the metadata" appstreamcli validate --no-net --pedantic "$SOURCE_DIR/packaging/warmap.metainfo.xml"

dpkg-deb -x "$DEB" "$WORK/root"
(cd "$WORK/root" && find . -type f -o -type l | sed 's|^\./|/|' | sort) > "$WORK/files"
outside() { grep -v -E '^/usr/(bin/warmap|lib/warmap/plugins/(libwarmap-(sound|store|history)\.so|warmap-fetch)|share/(warmap/|applications/warmap\.desktop|icons/hicolor/([0-9x]+/apps/warmap\.png|scalable/apps/warmap\.svg)|man/man1/warmap\.1\.gz|metainfo/org\.warmap\.warmap\.metainfo\.xml|doc/warmap/(copyright|changelog\.gz|README\.md\.gz)))' "$WORK/files" || true; }
check "every file is where Debian puts it ($(wc -l < "$WORK/files") files)" test -z "$(outside)"
for file in /usr/bin/warmap /usr/share/warmap/keepnames.ini /usr/share/warmap/form/warmap.jpg \
            /usr/lib/warmap/plugins/warmap-fetch /usr/lib/warmap/plugins/libwarmap-sound.so \
            /usr/lib/warmap/plugins/libwarmap-store.so /usr/lib/warmap/plugins/libwarmap-history.so \
            /usr/share/man/man1/warmap.1.gz /usr/share/doc/warmap/copyright /usr/share/doc/warmap/changelog.gz /usr/share/doc/warmap/README.md.gz \
            /usr/share/metainfo/org.warmap.warmap.metainfo.xml /usr/share/applications/warmap.desktop \
            /usr/share/icons/hicolor/scalable/apps/warmap.svg; do
    check "it holds $file" grep -qx "$file" "$WORK/files"
done
check "Depends come from the library scan alone, each once" \
    test "$(dpkg-deb -f "$DEB" Depends | tr ',' '\n' | sed 's/ *(.*//; s/^ *//' | sort | uniq -d)" = ""
check "the unpacked program tells its version without a display" \
    bash -c "env -u DISPLAY -u WAYLAND_DISPLAY '$WORK/root/usr/bin/warmap' --version | grep -qx 'Warmap [0-9.]*'"
check "its desktop entry offers the history, the recent changes, the settings and the end" \
    grep -qx 'Actions=history;recent;settings;quit;' "$WORK/root/usr/share/applications/warmap.desktop"
check "the manual page names only what the package ships" \
    bash -c "zcat '$WORK/root/usr/share/man/man1/warmap.1.gz' | sed -n '/^\.SH SEE ALSO/,\$p' | grep -q /usr/share/doc/warmap/README.md.gz"
[ "$FAILURES" -eq 0 ]
