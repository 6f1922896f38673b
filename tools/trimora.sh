#!/usr/bin/env bash
# One entry point for a fresh Debian machine:
#   tools/trimora.sh run   installs what is missing, builds, and starts the desktop program
#   tools/trimora.sh test  installs what is missing, builds everything, and runs every test
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TRIMORA_BUILD_DIR:-$here/build}

packages=(
    build-essential cmake ninja-build pkg-config clang-format
    qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev
    libpugixml-dev libzip-dev libgtest-dev libgmock-dev libbenchmark-dev
)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_and_build() {
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" -j "$(nproc)"
}

case "${1:-}" in
    run)
        install_missing
        configure_and_build
        shift
        exec "$build/bin/trimora" "$@"
        ;;
    test)
        install_missing
        configure_and_build
        cd "$build"
        exec ctest --output-on-failure -j "$(nproc)" --timeout 600
        ;;
    *)
        echo "usage: $0 run|test" >&2
        exit 2
        ;;
esac
