#!/usr/bin/env bash
# Regenerates our own artwork, sound and keep names into data/, resources/ and packaging/.
# Needs a configured build (./test.sh or ./run.sh once) and ImageMagick for the one GIF.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_DIR="${WARMAP_BUILD_DIR:-$ROOT/build}"
cmake --build "$BUILD_DIR" --target assetgen wavgen
"$BUILD_DIR/bin/assetgen" "$ROOT/data" "$ROOT/packaging"
"$BUILD_DIR/bin/wavgen" "$ROOT/resources/HALLDROP.wav"
# Qt cannot write GIF; ImageMagick can. Strip dates so the output is the same every time.
for top in top top@2x top_en top_en@2x; do
    convert "$ROOT/data/form/splash/$top.png" -strip "$ROOT/data/form/splash/$top.gif"
    rm "$ROOT/data/form/splash/$top.png"
done
echo "assets written"
