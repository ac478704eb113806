#!/usr/bin/env bash
# `./dev.sh windows`: Kelvaro for Windows, cross-built and tested on Linux.
#   1. Qt 6.4.2 for Windows (MinGW-w64), built once into ~/.cache/kelvaro
#      (build-qt.sh; about 35 minutes on two cores the first time);
#   2. kelvaro.exe, kelvaro-cli.exe and the tests into build-windows/;
#   3. the Qt Test suites that apply to Windows, under Wine (offscreen);
#   4. the installer build-windows/kelvaro-<version>-setup.exe (NSIS), then
#      installed, used and uninstalled under Wine (test-installer.sh).
# The packages come from dev.sh. Environment: KELVARO_CACHE, KELVARO_QTSVG_TARBALL
# (see build-qt.sh), KELVARO_WINEPREFIX.
set -euo pipefail
cd "$(dirname "$0")/../.."
repo="$PWD"
build="$repo/build-windows"
jobs=$(nproc 2>/dev/null || echo 2)
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)

# qtbase's source comes from Debian's archive: it needs a deb-src entry. It is
# derived from the machine's own deb entries (same URIs, suites and components),
# so that it goes through the same mirror or proxy.
if ! apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Version:'; then
    entries="$(dist/windows/deb-src-entries.sh)"
    if [ -z "$entries" ]; then
        echo "No deb entry of this release in APT's sources to derive a deb-src entry from;" >&2
        echo "add one for qt6-base's source package by hand." >&2
        exit 1
    fi
    echo "Adding deb-src entries beside the deb entries of APT's sources, for qt6-base's source"
    printf '%s\n' "$entries" | "${sudo[@]}" tee /etc/apt/sources.list.d/kelvaro-deb-src.sources >/dev/null
    "${sudo[@]}" apt-get update -qq
fi

# ---- 1. Qt ------------------------------------------------------------------
dist/windows/build-qt.sh
qt="$(dist/windows/build-qt.sh --prefix)"

# ---- 2. Kelvaro -------------------------------------------------------------
"$qt/bin/qt-cmake" -G Ninja -S . -B "$build" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$repo/dist/windows/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DKELVARO_WERROR=ON \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v wine)"
cmake --build "$build" --parallel "$jobs"

# ---- 3. Tests under Wine ----------------------------------------------------
. dist/windows/wine-env.sh "$qt" "$build"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure --parallel "$jobs" --timeout 600

# ---- 4. Installer -----------------------------------------------------------
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
stage="$build/stage"
rm -rf "$stage"
cmake --install "$build" --prefix "$stage"
setup="$build/kelvaro-$version-setup.exe"
dist/windows/make-installer.sh "$stage" "$version" "$setup"
dist/windows/test-installer.sh "$setup" "$version"
echo "Windows build checked; installer: $setup"
