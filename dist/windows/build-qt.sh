#!/usr/bin/env bash
# Cross-build the parts of Qt 6.4.2 that Kelvaro needs for 64-bit Windows
# (MinGW-w64), once, into a cache outside the checkout:
#   qtbase from Debian's source package qt6-base (apt-get source),
#   qtsvg from the release tarball in ../shared/third-party (override with
#   KELVARO_QTSVG_TARBALL).
# Prints nothing but the log's tail on failure; the prefix is named by
#   dist/windows/build-qt.sh --prefix
# Environment: KELVARO_CACHE (default ~/.cache/kelvaro), KELVARO_QT_JOBS.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/../.." && pwd)"

qt_version=6.4.2
cache="${KELVARO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kelvaro}"
qtsvg_tarball="${KELVARO_QTSVG_TARBALL:-$repo/../shared/third-party/qtsvg-everywhere-src-$qt_version.tar.xz}"
qtsvg_sha256=b7f5c33044bc14926e9d7f3de46591e84ea943bb937592a5258fdfbd7f392cc6

# Only what Kelvaro uses: Core, Gui, Widgets, Test (and Svg from qtsvg); the
# windows and offscreen platform plug-ins (offscreen needs FreeType).
# tabletevent is off because Debian's repacked source lacks 3rdparty/wintab;
# OpenGL stays on because the windows plug-in of 6.4.2 needs it.
qtbase_options=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DQT_BUILD_MANUAL_TESTS=OFF -DQT_BUILD_TOOLS_WHEN_CROSSCOMPILING=OFF
    -DFEATURE_pkg_config=OFF
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_tabletevent=OFF -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF
    -DFEATURE_opengl=ON -DFEATURE_opengl_desktop=ON
    -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF
    -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_glib=OFF
    -DFEATURE_freetype=ON -DFEATURE_system_freetype=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_testlib=ON -DFEATURE_widgets=ON
)
qtsvg_options=(-DCMAKE_BUILD_TYPE=Release -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF)

key_text="qt=$qt_version;src=$(
    apt-cache showsrc qt6-base 2>/dev/null | sed -n 's/^Version: //p' | sort -V | tail -1
);svg=$qtsvg_sha256;cc=$(x86_64-w64-mingw32-g++-posix -dumpversion 2>/dev/null);${qtbase_options[*]};${qtsvg_options[*]}"
key="$(printf '%s' "$key_text" | sha256sum | cut -c1-10)"
prefix="$cache/qt-$qt_version-mingw64-$key"

if [ "${1:-}" = "--prefix" ]; then
    echo "$prefix"
    exit 0
fi
if [ -f "$prefix/.complete" ]; then
    echo "Qt $qt_version for Windows: $prefix (cached)"
    exit 0
fi

jobs="${KELVARO_QT_JOBS:-$(nproc 2>/dev/null || echo 2)}"
work="$cache/work-$key"
log="$cache/qt-$qt_version-mingw64-$key.log"
mkdir -p "$cache" "$work"
echo "Building Qt $qt_version for Windows into $prefix (log: $log)"
start=$(date +%s)
exec 3>&1
exec >"$log" 2>&1
trap 'status=$?; exec 1>&3; if [ $status -ne 0 ]; then tail -40 "$log"; echo "Qt build failed, see $log" >&2; fi' EXIT
echo "key: $key_text"

# ---- sources --------------------------------------------------------------
cd "$work"
if [ ! -d qtbase/src ]; then
    rm -rf qtbase
    mkdir -p src && (cd src && apt-get source --download-only "qt6-base=$(
        apt-cache showsrc qt6-base | sed -n 's/^Version: //p' | sort -V | tail -1)")
    dpkg-source -x src/qt6-base_*.dsc qtbase
fi
if [ ! -d qtsvg/src ]; then
    echo "$qtsvg_sha256  $qtsvg_tarball" | sha256sum -c -
    rm -rf qtsvg "qtsvg-everywhere-src-$qt_version"
    tar xf "$qtsvg_tarball"
    mv "qtsvg-everywhere-src-$qt_version" qtsvg
fi

# Qt 6.4.2's Gui builds its DirectWrite font database only with Direct2D on,
# but the windows platform plug-in asks for it whenever DirectWrite 3 is
# there: with Direct2D off (it is not needed), the plug-in must go without
# it and use the GDI font database, which is its default anyway.
sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' \
    qtbase/src/plugins/platforms/windows/qwindowsintegration.cpp
[ "$(grep -c '^#if QT_CONFIG(directwrite3) && QT_CONFIG(direct2d)$' \
    qtbase/src/plugins/platforms/windows/qwindowsintegration.cpp)" = 2 ]

# ---- qtbase -----------------------------------------------------------------
cmake -G Ninja -S qtbase -B build-qtbase \
    -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64-x86_64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    "${qtbase_options[@]}"
cmake --build build-qtbase --parallel "$jobs"
cmake --install build-qtbase
# The licences of the DLLs that the installer ships.
mkdir -p "$prefix/share/licenses/qtbase" "$prefix/share/licenses/qtsvg"
cp qtbase/LICENSES/* "$prefix/share/licenses/qtbase/"

# ---- qtsvg ------------------------------------------------------------------
"$prefix/bin/qt-cmake" -G Ninja -S qtsvg -B build-qtsvg "${qtsvg_options[@]}"
cmake --build build-qtsvg --parallel "$jobs"
cmake --install build-qtsvg
cp qtsvg/LICENSES/* "$prefix/share/licenses/qtsvg/"

echo "Qt $qt_version for Windows built in $(( $(date +%s) - start )) s"
echo "$key_text" > "$prefix/.complete"
rm -rf "$work"
exec 1>&3
echo "Qt $qt_version for Windows built in $(( $(date +%s) - start )) s: $prefix"
