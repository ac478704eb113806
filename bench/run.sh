#!/usr/bin/env bash
# Times kelvaro-cli against exiftool, exiv2 and a floor program on copies of
# one generated tree of N pictures (default 10000, about 100 KB each).
#
#   bench/run.sh [N]
#
# Environment:
#   BUILD=dir            the build folder (default: build next to this script's folder)
#   BENCH_DIR=dir        where the trees go (default: a new folder under /var/tmp)
#   BENCH_KB=100         size of a picture in KB
#   BENCH_NO_INSTALL=1   do not install exiftool/exiv2; skip the ones that are missing
#   BENCH_KEEP=1         keep the trees afterwards
#
# Every tree is read once with cat before it is timed, so that every tool
# starts from the same warm page cache. Peak memory is the maximum resident
# set size that GNU time reports (for exiv2, run through xargs, the largest of
# its processes).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-10000}
build=${BUILD:-$root/build}
kb=${BENCH_KB:-100}

case "$count" in '' | *[!0-9]*) echo "usage: $0 [N]" >&2; exit 2 ;; esac

# --- tools -------------------------------------------------------------------
cli=$build/cli/kelvaro-cli
gen=$build/bench/kelvaro-benchtree
floor=$build/bench/kelvaro-floor
if [ ! -x "$cli" ] || [ ! -x "$gen" ] || [ ! -x "$floor" ]; then
    cmake --build "$build" -j2 --target kelvaro-cli kelvaro-benchtree kelvaro-floor
fi

missing=()
command -v exiftool >/dev/null || missing+=(libimage-exiftool-perl)
command -v exiv2 >/dev/null || missing+=(exiv2)
[ -x /usr/bin/time ] || missing+=(time)
if [ ${#missing[@]} -gt 0 ] && [ -z "${BENCH_NO_INSTALL:-}" ]; then
    sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}" >&2
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if [ ! -x /usr/bin/time ]; then
    echo "bench: /usr/bin/time (Debian package time) is needed" >&2
    exit 1
fi
have_exiftool=0; command -v exiftool >/dev/null && have_exiftool=1
have_exiv2=0; command -v exiv2 >/dev/null && have_exiv2=1

# --- trees -------------------------------------------------------------------
work=${BENCH_DIR:-$(mktemp -d /var/tmp/kelvaro-bench.XXXXXX)}
mkdir -p "$work"
cleanup() { [ -n "${BENCH_KEEP:-}" ] || rm -rf "$work"; }
trap cleanup EXIT

echo "Generating $count pictures of about $kb KB in $work ..." >&2
"$gen" "$work/master" "$count" "$kb"
# The shifts' journals go into the bench's own folder, not the user's.
export XDG_DATA_HOME=$work/data
baseline=${BENCH_BASELINE_CLI:-}
copies=(kelvaro nojournal floor exiftool exiv2)
[ -n "$baseline" ] && copies+=(baseline)
for copy in "${copies[@]}"; do
    cp -a "$work/master" "$work/$copy"
done

# Every run starts from the same state: its tree in the page cache and nothing
# left to write back from earlier runs.
warm() { find "$1" -type f -exec cat {} + >/dev/null; sync; }

# measure NAME TREE COMMAND...: runs the command on a warm tree, records
# wall-clock seconds and peak memory.
declare -A secs disk mem
measure() {
    local name=$1 tree=$2
    shift 2
    warm "$tree"
    local out=$work/$name.time
    local start end synced m
    start=$(date +%s%N)
    if ! /usr/bin/time -f "%M" -o "$out" "$@" >"$work/$name.out" 2>"$work/$name.err"; then
        echo "bench: $name failed:" >&2
        tail -5 "$work/$name.err" >&2
    fi
    end=$(date +%s%N)
    # What the run left in the page cache reaches the disk: a tool that
    # rewrites whole files pays for it here.
    sync
    synced=$(date +%s%N)
    read -r m < <(tail -1 "$out")
    secs[$name]=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')
    disk[$name]=$(awk -v a="$start" -v b="$synced" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')
    mem[$name]=$m
}

pictures_of() { find "$1" -type f -name '*.JPG' -print0; }

measure "kelvaro dates" "$work/master" "$cli" dates "$work/master"
measure "kelvaro shift" "$work/kelvaro" "$cli" shift "$work/kelvaro" --by 3600 --yes
measure "  no journal" "$work/nojournal" "$cli" shift "$work/nojournal" --by 3600 --yes --no-journal
if [ -n "$baseline" ]; then
    # An earlier kelvaro-cli (BENCH_BASELINE_CLI), e.g. one without journal and
    # flush to disk, on a copy of its own.
    measure "  baseline" "$work/baseline" "$baseline" shift "$work/baseline" --by 3600 --yes
fi
measure "floor" "$work/floor" "$floor" "$work/floor"
if [ $have_exiftool = 1 ]; then
    measure "exiftool read" "$work/master" exiftool -r -q -q -DateTimeOriginal "$work/master"
    measure "exiftool shift" "$work/exiftool" exiftool -r -q -q -overwrite_original "-AllDates+=1" "$work/exiftool"
fi
if [ $have_exiv2 = 1 ]; then
    measure "exiv2 read" "$work/master" sh -c \
        "find '$work/master' -type f -name '*.JPG' -print0 | xargs -0 exiv2 -q -K Exif.Photo.DateTimeOriginal -Pv"
    measure "exiv2 shift" "$work/exiv2" sh -c \
        "find '$work/exiv2' -type f -name '*.JPG' -print0 | xargs -0 exiv2 -q -a 1 ad"
fi

# The shift must have moved every picture by one hour.
oldest() { "$cli" dates "$1" --json | sed -n 's/.*"oldest": "\(.*\)".*/\1/p'; }
before=$(oldest "$work/master")
after=$(oldest "$work/kelvaro")
want=$(date -u -d "$(echo "$before" | sed 's/:/-/; s/:/-/') UTC + 1 hour" '+%Y:%m:%d %H:%M:%S')
if [ "$after" != "$want" ]; then
    echo "bench: the shifted tree's oldest date is $after, expected $want" >&2
    exit 1
fi

# --- table -------------------------------------------------------------------
per() { awk -v s="$1" -v n="$count" 'BEGIN { printf "%.1f", s * 1e6 / n }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1fx", a / b; else print "-" }'; }

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
echo
echo "Machine: $(nproc) cores, ${cpu:-unknown CPU}, $(df -h --output=source "$work" | tail -1)," \
    "$(df -T "$work" | awk 'NR == 2 { print $2 }'); $count pictures of about $kb KB"
echo
printf '| %-15s | %9s | %12s | %11s | %14s | %11s | %13s |\n' "run" "total s" "µs / picture" "vs kelvaro" \
    "µs incl. sync" "vs kelvaro" "peak memory"
printf '|%s|%s|%s|%s|%s|%s|%s|\n' "-----------------" "-----------:" "-------------:" "------------:" \
    "---------------:" "------------:" "--------------:"
row() {
    local name=$1 base=$2
    [ -n "${secs[$name]:-}" ] || return 0
    printf '| %-15s | %9s | %12s | %11s | %14s | %11s | %10.1f MB |\n' "$name" "${secs[$name]}" \
        "$(per "${secs[$name]}")" \
        "$([ "$name" = "$base" ] && echo "1.0x" || ratio "${secs[$name]}" "${secs[$base]}")" \
        "$(per "${disk[$name]}")" \
        "$([ "$name" = "$base" ] && echo "1.0x" || ratio "${disk[$name]}" "${disk[$base]}")" \
        "$(awk -v k="${mem[$name]}" 'BEGIN { print k / 1024 }')"
}
row "kelvaro dates" "kelvaro dates"
row "exiftool read" "kelvaro dates"
row "exiv2 read" "kelvaro dates"
row "kelvaro shift" "kelvaro shift"
row "  no journal" "kelvaro shift"
row "  baseline" "kelvaro shift"
row "floor" "kelvaro shift"
row "exiftool shift" "kelvaro shift"
row "exiv2 shift" "kelvaro shift"

# --- targets -----------------------------------------------------------------
echo
check() {   # check TEXT CONDITION
    if awk "BEGIN { exit !($2) }"; then echo "met:    $1"; else echo "missed: $1"; fi
}
ks=${secs["kelvaro shift"]}
kd=${secs["kelvaro dates"]}
kds=${disk["kelvaro shift"]}
check "shift within 2x of the floor" "$ks <= 2 * ${secs[floor]}"
check "shift within 2x of the floor, incl. sync" "$kds <= 2 * ${disk[floor]}"
[ $have_exiv2 = 1 ] && check "shift >= 50x faster than exiv2" "${secs["exiv2 shift"]} >= 50 * $ks"
[ $have_exiv2 = 1 ] && check "shift >= 50x faster than exiv2, incl. sync" "${disk["exiv2 shift"]} >= 50 * $kds"
[ $have_exiftool = 1 ] && check "shift >= 100x faster than exiftool" "${secs["exiftool shift"]} >= 100 * $ks"
[ $have_exiv2 = 1 ] && check "dates >= 5x faster than exiv2's read" "${secs["exiv2 read"]} >= 5 * $kd"
check "peak memory of shift under 50 MB" "${mem["kelvaro shift"]} < 50 * 1024"
exit 0
