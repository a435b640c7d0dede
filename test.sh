#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
source "$(dirname "$0")/scripts/common.sh"
install_missing "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
configure -DWARMAP_BUILD_TESTS=ON -DWARMAP_BUILD_BENCH=ON
cmake --build "$BUILD_DIR"
cd "$BUILD_DIR"
ctest --output-on-failure -j2 "$@"
