#!/usr/bin/env bash
# One-off, not part of CI: docs/windows.png, kelvaro.exe from the installed
# tree (build-windows/stage, after ./dev.sh windows) under Wine, in a Wine
# virtual desktop (which draws Windows' own title bar and its icon) on Xvfb.
# The folder dialog that opens at start-up is cancelled first.
# Needs: xvfb xauth xdotool imagemagick.
set -euo pipefail
cd "$(dirname "$0")/../.."
stage="$PWD/build-windows/stage"
out="${1:-$PWD/docs/windows.png}"
[ -x "$stage/kelvaro.exe" ] || { echo "no $stage/kelvaro.exe: run ./dev.sh windows first" >&2; exit 1; }
export WINEPREFIX="${KELVARO_WINEPREFIX:-$PWD/build-windows/wineprefix}" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset WINEPATH QT_PLUGIN_PATH QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 900x560x24" bash -c '
    wine explorer /desktop=Kelvaro,900x560 "$1" &
    sleep 12
    xdotool key Escape        # the folder dialog of the start-up
    sleep 3
    import -window root "$2"
    wineserver -k
' _ "$stage/kelvaro.exe" "$out"
echo "Screenshot: $out"
