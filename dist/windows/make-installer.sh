#!/usr/bin/env bash
# Makes the Windows installer from an installed tree:
#   dist/windows/make-installer.sh STAGE VERSION OUTFILE
# STAGE is `cmake --install build-windows --prefix STAGE`. The install and
# uninstall lists are generated from STAGE, file by file.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
stage="$(cd "$1" && pwd)"
version="$2"
outfile="$(realpath -m "$3")"
lists="$(mktemp -d)"
trap 'rm -rf "$lists"' EXIT

win() { printf '%s' "${1//\//\\}"; }

{
    (cd "$stage" && find . -type d | LC_ALL=C sort) | while read -r dir; do
        rel="${dir#.}"; rel="${rel#/}"
        files=$(cd "$stage/$dir" && find . -maxdepth 1 -type f | LC_ALL=C sort)
        [ -z "$files" ] && continue
        echo "SetOutPath \"\$INSTDIR${rel:+\\$(win "$rel")}\""
        while read -r f; do
            echo "File \"$stage/${rel:+$rel/}${f#./}\""
        done <<<"$files"
    done
} >"$lists/files.nsh"
{
    (cd "$stage" && find . -type f | LC_ALL=C sort) | while read -r f; do
        echo "Delete \"\$INSTDIR\\$(win "${f#./}")\""
    done
    # Deepest folders first.
    (cd "$stage" && find . -mindepth 1 -type d | awk '{ print length($0) " " $0 }' | sort -rn | cut -d' ' -f2-) |
        while read -r d; do
            echo "RMDir \"\$INSTDIR\\$(win "${d#./}")\""
        done
} >"$lists/unfiles.nsh"

size_kb=$(du -sk "$stage" | cut -f1)
mkdir -p "$(dirname "$outfile")"
makensis -V2 -NOCD -DVERSION="$version" -DSTAGE="$stage" -DLISTS="$lists" -DOUTFILE="$outfile" \
    -DSIZE_KB="$size_kb" "$here/kelvaro.nsi"
echo "Installer: $outfile"
