#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
source "$(dirname "$0")/scripts/common.sh"
install_missing
build_all
cd "$BUILD_DIR"
ctest --output-on-failure -j2 "$@"
