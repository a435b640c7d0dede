#!/usr/bin/env bash
# Installs what is missing, builds, and runs Warmap against the bundled feed simulator.
source "$(dirname "$0")/scripts/common.sh"
install_missing
build_all

BIN="$BUILD_DIR/bin"
"$BIN/feedsim" --port 0 --port-file "$BUILD_DIR/feedsim.port" --advance-every 300 &
SIM=$!
trap 'kill $SIM 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -s "$BUILD_DIR/feedsim.port" ] && break; sleep 0.05; done
export WARMAP_FEED_BASE="http://127.0.0.1:$(cat "$BUILD_DIR/feedsim.port")"
"$BIN/warmap"
