#!/usr/bin/env bash
# Installs what is missing from Debian, builds Quillio, then starts it (run) or runs every test (test).
#   ./build.sh run    build and start the program
#   ./build.sh test   build and run the whole test suite
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libqt6svg6 libsqlite3-dev
          xvfb xauth poppler-utils fonts-dejavu-core)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local as_root=()
    [ "$(id -u)" -ne 0 ] && as_root=(sudo)
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build
}

case "${1:-}" in
    run)
        install_missing
        build
        if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
            echo "No display: starting Quillio inside a virtual X server."
            exec xvfb-run -a build/bin/quillio
        fi
        exec build/bin/quillio
        ;;
    test)
        install_missing
        build
        cd build
        ctest --output-on-failure -j "$(nproc)"
        ;;
    *)
        echo "usage: $0 run|test" >&2
        exit 2
        ;;
esac
