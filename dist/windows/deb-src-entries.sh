#!/usr/bin/env bash
# Prints deb-src entries (deb822 stanzas) that mirror the machine's own APT
# sources: for every enabled `deb` entry of the system's release (its suite is
# the release's code name or begins with it, as NAME-updates and NAME-security
# do), a `deb-src` entry with the same URIs, suites and components and the
# same Signed-By or signed-by key. Entries of other suites (third-party
# repositories, which seldom carry sources) are left out. Both forms are read:
# one-line entries in sources.list and sources.list.d/*.list, and deb822
# stanzas in sources.list.d/*.sources. So the source package comes through
# whatever mirror or proxy the machine already uses.
#
#   deb-src-entries.sh [ROOT]   read ROOT/etc/os-release and ROOT/etc/apt (default /)
#
# Prints nothing when there is no such entry.
set -euo pipefail
root="${1:-}"
apt="$root/etc/apt"
codename=$(. "$root/etc/os-release" 2>/dev/null && echo "${VERSION_CODENAME:-}")
[ -n "$codename" ] || exit 0

lists=()
[ -f "$apt/sources.list" ] && lists+=("$apt/sources.list")
stanzas=()
for f in "$apt"/sources.list.d/*.list; do [ -f "$f" ] && lists+=("$f"); done
for f in "$apt"/sources.list.d/*.sources; do [ -f "$f" ] && stanzas+=("$f"); done

{
    # One-line entries: deb [ options ] URI SUITE [COMPONENT...]
    if [ ${#lists[@]} -gt 0 ]; then
        awk -v release="$codename" '
            function ours(suite) { return suite == release || index(suite, release "-") == 1 }
            {
                sub(/#.*/, "")
                if ($1 != "deb") next
                line = $0
                sub(/^[ \t]*deb[ \t]+/, "", line)
                key = ""
                if (substr(line, 1, 1) == "[") {
                    close_at = index(line, "]")
                    if (!close_at) next
                    options = substr(line, 2, close_at - 2)
                    line = substr(line, close_at + 1)
                    n = split(options, opt, /[ \t]+/)
                    for (i = 1; i <= n; ++i)
                        if (opt[i] ~ /^signed-by=/) key = substr(opt[i], 11)
                }
                n = split(line, word, /[ \t]+/)
                first = word[1] == "" ? 2 : 1
                uri = word[first]; suite = word[first + 1]
                if (uri == "" || suite == "" || !ours(suite)) next
                components = ""
                for (i = first + 2; i <= n; ++i)
                    if (word[i] != "") components = components (components == "" ? "" : " ") word[i]
                printf "Types: deb-src\nURIs: %s\nSuites: %s\n", uri, suite
                if (components != "") printf "Components: %s\n", components
                if (key != "") printf "Signed-By: %s\n", key
                printf "\n"
            }' "${lists[@]}"
    fi

    # deb822 stanzas: fields, continuation lines (an inline key) kept as written.
    if [ ${#stanzas[@]} -gt 0 ]; then
        awk -v release="$codename" '
            function ours(suite) { return suite == release || index(suite, release "-") == 1 }
            function reset() { delete field; last = ""; }
            function flush(   n, t, i, isDeb, s, kept) {
                if (tolower(field["enabled"]) == "no") { reset(); return }
                n = split(field["types"], t, /[ \t]+/)
                isDeb = 0
                for (i = 1; i <= n; ++i) if (t[i] == "deb") isDeb = 1
                n = split(field["suites"], s, /[ \t]+/)
                kept = ""
                for (i = 1; i <= n; ++i) if (s[i] != "" && ours(s[i])) kept = kept (kept == "" ? "" : " ") s[i]
                if (isDeb && field["uris"] != "" && kept != "") {
                    printf "Types: deb-src\nURIs: %s\nSuites: %s\n", field["uris"], kept
                    if (field["components"] != "") printf "Components: %s\n", field["components"]
                    if (("signed-by") in field) printf "Signed-By:%s\n", field["signed-by"]
                    printf "\n"
                }
                reset()
            }
            BEGIN { reset() }
            FNR == 1 && NR > 1 { flush() }
            /^#/ { next }
            /^[ \t]*$/ { flush(); next }
            /^[ \t]/ { if (last != "") field[last] = field[last] "\n" $0; next }
            {
                colon = index($0, ":")
                if (!colon) next
                last = tolower(substr($0, 1, colon - 1))
                value = substr($0, colon + 1)
                if (last == "signed-by") { field[last] = value; next }
                sub(/^[ \t]+/, "", value); sub(/[ \t]+$/, "", value)
                field[last] = value
            }
            END { flush() }' "${stanzas[@]}"
    fi
} | awk 'BEGIN { RS = ""; ORS = "\n\n" } !seen[$0]++'
