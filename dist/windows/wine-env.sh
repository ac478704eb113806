# Sourced by the Windows scripts: a headless, quiet Wine with its own prefix.
#   . dist/windows/wine-env.sh QT_PREFIX BUILD_DIR
# Sets WINEPREFIX (inside BUILD_DIR unless KELVARO_WINEPREFIX is set), no
# debug output, no Mono/Gecko prompts, no menu entries written to the host's
# desktop, no display; WINEPATH names Qt's bin folder and the MinGW runtime,
# (as Windows paths on drive Z:).
kelvaro_qt="$1"
kelvaro_build="$2"

kelvaro_winpath() { printf 'Z:%s' "${1//\//\\}"; }

export WINEPREFIX="${KELVARO_WINEPREFIX:-$(cd "$kelvaro_build" && pwd)/wineprefix}"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY

kelvaro_gcc_dir="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
kelvaro_pthread_dir="$(dirname "$(realpath "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")")"
export WINEPATH="$(kelvaro_winpath "$kelvaro_qt/bin");$(kelvaro_winpath "$kelvaro_gcc_dir");$(kelvaro_winpath "$kelvaro_pthread_dir")"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
fi

# Wine passes no variable whose name starts with QT_ from Linux on to Windows
# programs; Qt's settings go into the user's environment in the registry,
# which every program of the prefix gets:
#  - Qt (and Qt Test) print to standard output/error, not to the debugger,
#    also when no console window is attached, which under Wine is always;
#  - the offscreen platform draws with FreeType from a folder of fonts: Debian's
#    DejaVu, which the Linux tests' fontconfig picks too (same sizes of texts).
# (Qt finds its plug-ins beside its DLLs; the platform is given to the GUI
# tests on their command line.)
kelvaro_wine_env() {
    wine reg add 'HKCU\Environment' /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1
}
kelvaro_wine_env QT_FORCE_STDERR_LOGGING 1
if [ -d /usr/share/fonts/truetype/dejavu ]; then
    kelvaro_wine_env QT_QPA_FONTDIR "$(kelvaro_winpath /usr/share/fonts/truetype/dejavu)"
fi
wineserver -w
