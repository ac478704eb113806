#!/usr/bin/env bash
# One-off, not part of CI: the README's screenshots of the window, docs/shot-*.png,
# taken on Xvfb after the window read the dates of a small generated tree
# (tests/windowshots.cpp): in the default light style, in the dark Adwaita
# style (Debian's adwaita-qt6), in German, and with the camera choice's list
# open under the dark style. Needs: xvfb xauth adwaita-qt6, and a build in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build -j2 --target kelvaro-shots kelvaro_lrelease
shots="$PWD/build/tests/kelvaro-shots"
unset QT_QPA_PLATFORM QT_STYLE_OVERRIDE
run() { xvfb-run -a -s "-screen 0 1100x700x24" "$shots" "$@"; }
run docs/shot-light.png
run docs/shot-dark.png --style Adwaita-Dark
run docs/shot-german.png --language de_DE
run docs/shot-cameras-dark.png --style Adwaita-Dark --open-cameras
echo "Screenshots: docs/shot-light.png docs/shot-dark.png docs/shot-german.png docs/shot-cameras-dark.png"
