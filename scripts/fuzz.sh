#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for SECONDS (default 600),
# starting from the seeds in tests/fuzz/corpus/. Findings land in build-fuzz/findings/.
#   scripts/fuzz.sh [SECONDS] [feed_fuzz|ini_fuzz|decoder_fuzz ...]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
SECONDS_EACH="${1:-600}"
shift || true
TARGETS=("${@:-feed_fuzz ini_fuzz decoder_fuzz}")
command -v clang++ >/dev/null || { echo "fuzz.sh needs clang (apt-get install clang)"; exit 2; }
BUILD_DIR="$ROOT/build-fuzz"
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DWARMAP_FUZZ=ON
cmake --build "$BUILD_DIR"
mkdir -p "$BUILD_DIR/findings"
for target in ${TARGETS[*]}; do
    seeds="$ROOT/tests/fuzz/corpus/${target%_fuzz}"
    corpus="$BUILD_DIR/corpus/$target"
    mkdir -p "$corpus"
    echo "== $target for ${SECONDS_EACH}s"
    status=0
    "$BUILD_DIR/tests/fuzz/$target" -max_total_time="$SECONDS_EACH" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$BUILD_DIR/findings/$target-" -print_final_stats=1 "$corpus" "$seeds" > "$BUILD_DIR/$target.log" 2>&1 ||
        status=$?
    grep -E '^(#[0-9]+ +DONE|stat::|==|SUMMARY|artifact)' "$BUILD_DIR/$target.log" || true
    [ "$status" -eq 0 ] || { echo "$target found a fault (status $status); see $BUILD_DIR/findings/"; exit 1; }
done
