#!/usr/bin/env bash
# Keeps the code in one style: fails on any file clang-format would change and on any clang-tidy
# finding (names as in Qt; see .clang-tidy). Needs the build folder's compile_commands.json.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${1:-${WARMAP_BUILD_DIR:-$ROOT/build}}"
cd "$ROOT"
DIRS='base|bench|core|feed|history|keepmap|notify|platform|settings|tests|tools|tray|warmap'

if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
    mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.c')
else
    mapfile -t sources < <(find base bench core feed history keepmap notify platform settings tests tools tray warmap \
                               -name '*.cpp' -o -name '*.h' -o -name '*.c')
fi
clang-format --dry-run -Werror "${sources[@]}"

# Every source the build compiles, each with its own flags; what a plain build leaves out (the
# libFuzzer targets) with the flags it would have.
run-clang-tidy -p "$BUILD_DIR" -j "$(nproc)" -quiet "^$ROOT/($DIRS)/" > "$BUILD_DIR/clang-tidy.log" 2>&1 || {
    grep -E "(warning|error):" "$BUILD_DIR/clang-tidy.log" | sort -u >&2
    echo "clang-tidy: findings above (whole output in $BUILD_DIR/clang-tidy.log)" >&2
    exit 1
}
for fuzz in tests/fuzz/*.cpp; do
    clang-tidy --quiet "$fuzz" -- -std=c++20 -I"$ROOT" -I/usr/include/libxml2 2> /dev/null
done
echo "style: ${#sources[@]} files formatted, clang-tidy found nothing"
