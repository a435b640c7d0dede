# Shared by run.sh and test.sh: install what is missing, then configure and build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${WARMAP_BUILD_DIR:-$ROOT/build}"

# What building and running the program needs; without a display run.sh also needs Xvfb and the tools
# that take its screenshots.
RUN_PACKAGES=(cmake ninja-build g++ pkg-config libxcb1-dev libxcb-xfixes0-dev qt6-base-dev qt6-multimedia-dev
              libcurl4-openssl-dev zlib1g-dev libxml2-dev libsqlite3-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
              qt6-tools-dev qt6-l10n-tools qt6-translations-l10n xvfb xauth xdotool x11-utils
              imagemagick)
# What the tests need besides: GoogleTest and Google Benchmark, the desktops, compositors, sound
# server and accessibility bus they run the program on, Debian's package checkers, and the style checkers.
TEST_PACKAGES=(libgtest-dev libbenchmark-dev nginx-light xinput groff-base curl weston xwayland qt6-wayland pulseaudio
               pulseaudio-utils sox trayer libfaketime picom sway grim python3 python3-pyatspi at-spi2-core dbus
               lintian desktop-file-utils appstream clang-tidy clang-format)

install_missing() {  # install_missing package...
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

configure() {  # configure cmake-options...
    # shellcheck disable=SC2086
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja "$@" ${WARMAP_CMAKE_ARGS:-}
}
