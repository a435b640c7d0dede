#!/usr/bin/env bash
# Installs what is missing, builds, checks that every text is translated (scripts/translations.sh),
# runs every test, and checks the code's style (scripts/style.sh).
source "$(dirname "$0")/scripts/common.sh"
install_missing "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
configure -DWARMAP_BUILD_TESTS=ON -DWARMAP_BUILD_BENCH=ON -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
cmake --build "$BUILD_DIR"
"$ROOT/scripts/translations.sh"
(cd "$BUILD_DIR" && ctest --output-on-failure -j2 "$@")
"$ROOT/scripts/style.sh" "$BUILD_DIR"
