# Shared by run.sh and test.sh: install what is missing, then configure and build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${WARMAP_BUILD_DIR:-$ROOT/build}"

PACKAGES=(cmake ninja-build g++ pkg-config libxcb1-dev libxcb-xfixes0-dev qt6-base-dev qt6-multimedia-dev libcurl4-openssl-dev libxml2-dev
          libgtest-dev libbenchmark-dev libgl-dev xvfb xauth xdotool xinput x11-utils groff-base imagemagick curl
          weston xwayland qt6-wayland pulseaudio pulseaudio-utils sox trayer libfaketime picom sway grim python3 python3-pyatspi at-spi2-core dbus)

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build_all() {
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja ${WARMAP_CMAKE_ARGS:-}
    cmake --build "$BUILD_DIR"
}
