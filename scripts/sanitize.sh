#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into build-sanitize/ and runs
# the unit and widget tests (not the end-to-end scripts). Not part of ./test.sh: it takes a while.
source "$(dirname "$0")/common.sh"
install_missing "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
BUILD_DIR="$ROOT/build-sanitize"
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWARMAP_SANITIZE=ON -DWARMAP_BUILD_BENCH=OFF
cmake --build "$BUILD_DIR"
# Leaks inside the system's Qt, fontconfig and audio libraries are theirs, not ours.
export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$BUILD_DIR"
ctest --output-on-failure -j2 -LE e2e "$@"
