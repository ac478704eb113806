#!/usr/bin/env bash
# Set up, build and run Kelvaro on Debian 12.
#   ./dev.sh run    install what is missing, build, start the window
#   ./dev.sh test   install what is missing, build, run the whole test suite
#                   (normal build, then the engine and fuzz target under ASan/UBSan)
#   ./dev.sh package  install what is missing, build, make the Debian package in build/
#   ./dev.sh windows  install what is missing, cross-build Qt for Windows into
#                   ~/.cache/kelvaro once, cross-build Kelvaro into build-windows/,
#                   run its tests and kelvaro-cli.exe under Wine, make the
#                   installer build-windows/kelvaro-<version>-setup.exe and test it
set -euo pipefail
cd "$(dirname "$0")"

packages=(
    build-essential cmake clang libclang-rt-14-dev
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev
    libimage-exiftool-perl exiv2 time
    xvfb xauth
    desktop-file-utils appstream lintian dpkg-dev
)

windows_packages=(
    cmake ninja-build dpkg-dev xz-utils perl
    g++-mingw-w64-x86-64-posix mingw-w64-tools
    qt6-base-dev qt6-base-dev-tools
    wine wine64 nsis
)

install_missing() {
    local missing=() p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

jobs=$(nproc 2>/dev/null || echo 2)

build() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVARO_WERROR=ON
    cmake --build build -j "$jobs"
}

build_sanitized() {
    CC=clang CXX=clang++ cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug \
        -DKELVARO_WERROR=ON -DKELVARO_SANITIZE=ON -DKELVARO_ENGINE_ONLY=ON
    cmake --build build-asan -j "$jobs"
}

case "${1:-}" in
run)
    install_missing "${packages[@]}"
    build
    shift
    exec build/app/kelvaro "$@"
    ;;
test)
    install_missing "${packages[@]}"
    build
    QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"
    build_sanitized
    QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j "$jobs"
    ;;
package)
    install_missing "${packages[@]}"
    build
    (cd build && cpack -G DEB)
    ;;
windows)
    install_missing "${windows_packages[@]}"
    shift
    exec dist/windows/build.sh "$@"
    ;;
*)
    echo "usage: $0 run|test|package|windows" >&2
    exit 2
    ;;
esac
