#!/usr/bin/env bash
# Set up, build and run Kelvaro on Debian 12.
#   ./dev.sh run    install what is missing, build, start the window
#   ./dev.sh test   install what is missing, build, run the whole test suite
#                   (normal build, then the engine and fuzz target under ASan/UBSan)
#   ./dev.sh package  install what is missing, build, make the Debian package in build/
set -euo pipefail
cd "$(dirname "$0")"

packages=(
    build-essential cmake clang libclang-rt-14-dev
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev
    qt6-tools-dev qt6-l10n-tools qt6-translations-l10n adwaita-qt6 locales
    libimage-exiftool-perl exiv2 time
    xvfb xauth
    desktop-file-utils appstream lintian dpkg-dev
)

install_missing() {
    local missing=() p
    for p in "${packages[@]}"; do
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

# The locales the window's tests and screenshots run under.
test_locales=(en_US.UTF-8 de_DE.UTF-8 fr_FR.UTF-8 ja_JP.UTF-8)

generate_locales() {
    local missing=() l available
    available=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
    for l in "${test_locales[@]}"; do
        local short
        short=$(echo "$l" | tr 'A-Z' 'a-z' | sed 's/utf-8/utf8/')
        grep -qx "$short" <<<"$available" || missing+=("$l")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Generating locales: ${missing[*]}"
    for l in "${missing[@]}"; do
        # Uncomment the line of the locale, or add it when the file lacks one.
        if grep -q "^# *$l UTF-8" /etc/locale.gen; then
            "${sudo[@]}" sed -i "s/^# *\($l UTF-8\)/\1/" /etc/locale.gen
        elif ! grep -q "^$l UTF-8" /etc/locale.gen; then
            echo "$l UTF-8" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
        fi
    done
    "${sudo[@]}" locale-gen >/dev/null
}

set_up() {
    install_missing
    generate_locales
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
    set_up
    build
    shift
    exec build/app/kelvaro "$@"
    ;;
test)
    set_up
    build
    QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j "$jobs"
    build_sanitized
    QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j "$jobs"
    ;;
package)
    set_up
    build
    (cd build && cpack -G DEB)
    ;;
*)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
