#!/usr/bin/env bash
# Tests the Windows installer under Wine:
#   dist/windows/test-installer.sh SETUP.exe VERSION
# For each install mode (per user without administrator rights, and for all
# users): silent install (/S), the Start-menu entry and the uninstall entry,
# `kelvaro-cli.exe --version` and a real shift run from the installed folder
# with nothing of the build on WINEPATH, then a silent uninstall that must
# leave no file, folder, shortcut or registry key behind. Before that, every
# DLL that an installed program or plug-in imports must be in the installed
# folder or be part of Windows.
# Expects the environment of wine-env.sh (sourced by build.sh).
set -euo pipefail
setup="$(realpath "$1")"
version="$2"
here="$(cd "$(dirname "$0")" && pwd)"

fail() { echo "test-installer: FAIL: $*" >&2; exit 1; }
step() { echo "test-installer: $*"; }

# The installed copy must stand on its own.
unset WINEPATH QT_PLUGIN_PATH

# ---- Imports resolve inside the installed folder ----------------------------
stage="$(dirname "$setup")/stage"
if [ -d "$stage" ]; then
    shipped="$(cd "$stage" && find . -iname '*.dll' -printf '%f\n' | tr 'A-Z' 'a-z' | sort -u)"
    missing=""
    while IFS= read -r binary; do
        for dll in $(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z'); do
            grep -qxF "$dll" <<<"$shipped" && continue
            # Part of Windows: found in Wine's system folder or an API set.
            case "$dll" in api-ms-win-*|ext-ms-win-*) continue ;; esac
            [ -e "$WINEPREFIX/drive_c/windows/system32/$dll" ] && continue
            missing+="$(basename "$binary") needs $dll"$'\n'
        done
    done < <(find "$stage" -iname '*.exe' -o -iname '*.dll')
    [ -z "$missing" ] || fail "DLLs not shipped:"$'\n'"$missing"
    step "every import of the installed programs and plug-ins resolves"
fi

reg_value() {   # KEY VALUE -> data, or nothing
    { wine reg query "$1" /v "$2" 2>/dev/null || true; } | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}

# A tree of two pictures, one in a folder whose name is outside the ANSI code page.
make_picture() {   # PATH DATE
    perl -e '
        my ($path, $date) = @ARGV;
        my $tiff = pack("a2 v V", "II", 42, 8)
                 . pack("v v v V V V", 1, 0x8769, 4, 1, 26, 0)
                 . pack("v v v V V V", 1, 0x9003, 2, 20, 44, 0) . $date . "\0";
        my $app1 = "Exif\0\0" . $tiff;
        my $jpeg = "\xFF\xD8\xFF\xE1" . pack("n", length($app1) + 2) . $app1
                 . "\xFF\xC0" . pack("n", 17) . "\x08" . pack("n n", 8, 8)
                 . "\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01"
                 . "\xFF\xDA" . pack("n", 12) . "\x03\x01\x00\x02\x11\x03\x11\x00\x3F\x00"
                 . ("\x00" x 64) . "\xFF\xD9";
        open(my $f, ">:raw", $path) or die "$path: $!";
        print $f $jpeg;
        close($f) or die;
    ' "$1" "$2"
}

check_mode() {   # MODE (CurrentUser | AllUsers)
    local mode="$1" root key instdir unix_dir shortcut tree out
    if [ "$mode" = CurrentUser ]; then root=HKCU; else root=HKLM; fi
    key="$root\\Software\\Kelvaro"

    step "$mode: silent install"
    wine "$setup" /S "/$mode" || fail "$mode: the installer failed"
    wineserver -w
    instdir="$(reg_value "$key" InstallLocation)"
    [ -n "$instdir" ] || fail "$mode: no InstallLocation under $key"
    unix_dir="$(winepath -u "$instdir" 2>/dev/null)"
    unix_dir="${unix_dir%/}"
    step "$mode: installed into $instdir"
    for f in kelvaro.exe kelvaro-cli.exe uninstall.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6Svg.dll \
             libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll platforms/qwindows.dll \
             styles/qwindowsvistastyle.dll iconengines/qsvgicon.dll imageformats/qsvg.dll; do
        [ -f "$unix_dir/$f" ] || fail "$mode: $f is not installed"
    done
    [ "$(reg_value "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvaro" DisplayVersion)" = "$version" ] ||
        fail "$mode: no uninstall entry with version $version"
    if [ "$mode" = CurrentUser ]; then
        case "$instdir" in *\\AppData\\Local\\*|*\\Local\ Settings\\*) ;; *) fail "$mode: not a per-user folder: $instdir" ;; esac
        shortcut="$(winepath -u "$(wine cmd /c echo %APPDATA% | tr -d '\r')")/Microsoft/Windows/Start Menu/Programs/Kelvaro.lnk"
    else
        case "$instdir" in *\\Program\ Files\\*) ;; *) fail "$mode: not under Program Files: $instdir" ;; esac
        shortcut="$(winepath -u "$(wine cmd /c echo %ProgramData% | tr -d '\r')")/Microsoft/Windows/Start Menu/Programs/Kelvaro.lnk"
    fi
    [ -f "$shortcut" ] || fail "$mode: no Start-menu entry at $shortcut"

    step "$mode: kelvaro-cli.exe --version from the installed folder"
    out="$(wine "$unix_dir/kelvaro-cli.exe" --version | tr -d '\r')"
    [ "$out" = "kelvaro-cli $version" ] || fail "$mode: --version printed '$out'"

    step "$mode: a shift from the installed folder"
    tree="$(mktemp -d)"
    mkdir -p "$tree/Ἀθῆναι 北京"
    make_picture "$tree/a.jpg" "2012:05:06 10:00:00"
    make_picture "$tree/Ἀθῆναι 北京/b.JPG" "2011:01:01 08:30:00"
    out="$(wine "$unix_dir/kelvaro-cli.exe" shift "$(winepath -w "$tree")" --by 3600 --yes --json | tr -d '\r')"
    grep -q '"changed": *2' <<<"$out" || fail "$mode: the shift did not change both pictures: $out"
    out="$(wine "$unix_dir/kelvaro-cli.exe" dates "$(winepath -w "$tree")" --json | tr -d '\r')"
    grep -q '"oldest": *"2011:01:01 09:30:00"' <<<"$out" || fail "$mode: dates after the shift: $out"
    grep -q '"newest": *"2012:05:06 11:00:00"' <<<"$out" || fail "$mode: dates after the shift: $out"
    rm -rf "$tree"

    step "$mode: silent uninstall"
    wine "$unix_dir/uninstall.exe" /S "/$mode" || fail "$mode: the uninstaller failed"
    wineserver -w   # the uninstaller runs from a copy in %TEMP% and returns at once
    [ ! -e "$unix_dir" ] || fail "$mode: left behind: $(find "$unix_dir" | head -20)"
    [ ! -e "$shortcut" ] || fail "$mode: the Start-menu entry is left behind"
    [ -z "$(reg_value "$key" InstallLocation)" ] || fail "$mode: $key is left behind"
    wine reg query "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvaro" >/dev/null 2>&1 &&
        fail "$mode: the uninstall entry is left behind"
    step "$mode: nothing left behind"
}

check_mode CurrentUser
check_mode AllUsers
step "installer $(basename "$setup") passed"
