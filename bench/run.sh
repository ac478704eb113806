#!/usr/bin/env bash
# Times kelvaro-cli against exiftool, exiv2 and a floor program on copies of
# one generated tree of N pictures (default 10000, about 100 KB each), three
# ways: from a warm page cache, from a cold one, and through a simulated
# network share. The floor (bench/floor.c) does the least work any tool must
# do: once in one pass, one picture at a time and with BENCH_FLOOR_JOBS in
# flight, and once in two passes as a shift makes them (every header read,
# then every picture written), BENCH_FLOOR_JOBS in flight in each.
#
#   bench/run.sh [N]
#
# With BENCH_TREE=trip the tree is one of a trip instead (bench/triptree.cpp):
# N files, of every ten three RAW+JPEG pairs, two HEIC pictures and two MP4
# videos with 'moov' at the end, the RAW files' image data and the videos'
# 'mdat' left as holes. The same warm and cold runs of kelvaro-cli (dates,
# shift, its undo) and of exiftool, with the bytes each run reads and writes
# a file (/proc/PID/io); no exiv2, floor or share runs (bench/trip.sh).
#
# Environment:
#   BUILD=dir              the build folder (default: build next to this script's folder)
#   BENCH_DIR=dir          where the trees go (default: a new folder under /var/tmp)
#   BENCH_KB=100           size of a picture in KB
#   BENCH_TREE=jpeg|trip   the kind of tree (default jpeg)
#   BENCH_RAW_MB=20        (trip) size of a RAW file in MB
#   BENCH_VIDEO_MB=50      (trip) size of a video in MB
#   BENCH_NO_INSTALL=1     install nothing; skip the peers (and the share) whose packages are missing
#   BENCH_KEEP=1           keep the trees afterwards
#   BENCH_COLD=fadvise     drop only the trees' pages for the cold runs, even as root
#   BENCH_SHARE_N=n        pictures in the share's tree (default: N, at most 1000; 0: no share runs)
#   BENCH_SHARE_DELAY_US=n the share's wait in every call, in µs (default 1000)
#   BENCH_FLOOR_JOBS=n     threads of the parallel floors (default 8)
#   BENCH_BASELINE_CLI=path an earlier kelvaro-cli, timed as one more row
#
# warm:  the tree is read once with cat before the run, so that every tool
#        starts from the same warm page cache with nothing left to write back.
# cold:  the tree is written back and dropped from the cache before the run:
#        as root with /proc/sys/vm/drop_caches (the whole machine's caches,
#        the programs' own files included), otherwise with kelvaro-dropcache
#        (posix_fadvise on every file and folder of the tree).
# share: the tree (warm on the "server's" side) is mounted through
#        kelvaro-slowfs, a FUSE file system that waits BENCH_SHARE_DELAY_US in
#        every call, on a fresh mount for each run. Needs fuse3 and libfuse3-dev
#        and a usable /dev/fuse; left out with a message otherwise.
#
# Every figure is per picture and, as the writing tools leave their writes to
# the system, includes a sync after the run. Peak memory is the largest
# resident set size that GNU time reports over the three runs (for exiv2, run
# through xargs, the largest of its processes).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-10000}
build=${BUILD:-$root/build}
kb=${BENCH_KB:-100}
delay_us=${BENCH_SHARE_DELAY_US:-1000}
floor_jobs=${BENCH_FLOOR_JOBS:-8}
share_count=${BENCH_SHARE_N:-$((count < 1000 ? count : 1000))}
tree_kind=${BENCH_TREE:-jpeg}
raw_mb=${BENCH_RAW_MB:-20}
video_mb=${BENCH_VIDEO_MB:-50}

usage() { echo "usage: $0 [N]" >&2; exit 2; }
number() { case "$1" in '' | *[!0-9]*) return 1 ;; esac; }
number "$count" || usage
for value in "$kb" "$delay_us" "$floor_jobs" "$share_count" "$raw_mb" "$video_mb"; do
    number "$value" || { echo "bench: BENCH_KB, BENCH_SHARE_DELAY_US, BENCH_FLOOR_JOBS, BENCH_SHARE_N, BENCH_RAW_MB and BENCH_VIDEO_MB take numbers" >&2; exit 2; }
done
case "$tree_kind" in jpeg | trip) ;; *) echo "bench: BENCH_TREE is jpeg or trip" >&2; exit 2 ;; esac
[ "$share_count" -le "$count" ] || share_count=$count
# The trip's big files are not run through the share, nor through exiv2.
[ "$tree_kind" = jpeg ] || share_count=0

# The trip tree's runs and table (trip_runs, trip_table).
# shellcheck source=trip.sh
. "$root/bench/trip.sh"

# --- tools -------------------------------------------------------------------
cli=$build/cli/kelvaro-cli
gen=$build/bench/kelvaro-benchtree
[ "$tree_kind" = jpeg ] || gen=$build/bench/kelvaro-triptree
floor=$build/bench/kelvaro-floor
dropcache=$build/bench/kelvaro-dropcache
slowfs=$build/bench/kelvaro-slowfs

missing=()
command -v exiftool >/dev/null || missing+=(libimage-exiftool-perl)
[ "$tree_kind" = trip ] || command -v exiv2 >/dev/null || missing+=(exiv2)
[ -x /usr/bin/time ] || missing+=(time)
if [ "$share_count" -gt 0 ]; then
    command -v fusermount3 >/dev/null || missing+=(fuse3)
    command -v pkg-config >/dev/null || missing+=(pkg-config)
    pkg-config --exists fuse3 2>/dev/null || missing+=(libfuse3-dev)
fi
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
have_exiv2=0; [ "$tree_kind" = jpeg ] && command -v exiv2 >/dev/null && have_exiv2=1

# Build only what is missing: the other programs may be mid-edit.
targets=()
[ -x "$cli" ] || targets+=(kelvaro-cli)
{ [ -x "$gen" ] && [ ! "$root/bench/$(basename "$gen" | sed 's/^kelvaro-//').cpp" -nt "$gen" ]; } \
    || targets+=("$(basename "$gen")")
# A floor older than its source may lack an option that the runs below use.
{ [ -x "$floor" ] && [ ! "$root/bench/floor.c" -nt "$floor" ]; } || targets+=(kelvaro-floor)
[ -x "$dropcache" ] || targets+=(kelvaro-dropcache)
if [ "$share_count" -gt 0 ] && [ ! -x "$slowfs" ] && pkg-config --exists fuse3 2>/dev/null; then
    # libfuse3 may have come after the build folder was configured.
    grep -q 'kelvaro-slowfs' "$build/bench/Makefile" "$build/build.ninja" 2>/dev/null \
        || cmake "$build" >/dev/null
    targets+=(kelvaro-slowfs)
fi
if [ ${#targets[@]} -gt 0 ]; then
    cmake --build "$build" -j2 --target "${targets[@]}"
fi

# With --jobs, kelvaro-cli is timed one picture at a time and with its default.
has_jobs=0
case "$("$cli" --help 2>&1 || true)" in *--jobs*) has_jobs=1 ;; esac

# --- work folder, mounts -----------------------------------------------------
work=${BENCH_DIR:-$(mktemp -d /var/tmp/kelvaro-bench.XXXXXX)}
mkdir -p "$work"
mnt=$work/mnt
mounted=
unmount() {
    [ -n "$mounted" ] || return 0
    if ! fusermount3 -u "$mounted" 2>/dev/null; then
        sleep 1
        fusermount3 -u "$mounted" 2>/dev/null || fusermount3 -u -z "$mounted" || true
    fi
    mounted=
}
cleanup() {
    unmount
    # Never through a mount that could not be taken away.
    [ -n "${BENCH_KEEP:-}" ] || rm -rf --one-file-system "$work"
}
trap cleanup EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM

# mount_share TREE: mirrors TREE at $mnt through the slow file system.
mount_share() {
    mkdir -p "$mnt"
    "$slowfs" "$1" "$mnt" -o "delay_us=$delay_us" 2>"$work/slowfs.err" || return 1
    mounted=$mnt
    mountpoint -q "$mnt"
}

share=0
share_note=
if [ "$tree_kind" = trip ]; then
    share_note="not run for the trip tree"
elif [ "$share_count" -eq 0 ]; then
    share_note="BENCH_SHARE_N=0"
elif [ ! -x "$slowfs" ]; then
    share_note="kelvaro-slowfs is not built (it needs the Debian package libfuse3-dev)"
elif ! command -v fusermount3 >/dev/null; then
    share_note="fusermount3 is missing (Debian package fuse3)"
elif [ ! -e /dev/fuse ]; then
    share_note="there is no /dev/fuse here"
else
    mkdir -p "$work/probe"
    echo probe >"$work/probe/file"
    if mount_share "$work/probe" && [ "$(cat "$mnt/file" 2>/dev/null)" = probe ]; then
        share=1
    else
        share_note="kelvaro-slowfs cannot be mounted here: $(tail -1 "$work/slowfs.err" 2>/dev/null)"
    fi
    unmount
    rm -rf --one-file-system "$work/probe"
fi
[ -z "$share_note" ] || echo "bench: share runs left out: $share_note" >&2

# Cold runs: drop every cache when root may, otherwise the trees' pages.
cold_how=fadvise
if [ "${BENCH_COLD:-}" != fadvise ] && [ "$(id -u)" -eq 0 ] && sync \
    && { echo 3 >/proc/sys/vm/drop_caches; } 2>/dev/null; then
    cold_how=drop_caches
fi

# --- trees -------------------------------------------------------------------
if [ "$tree_kind" = trip ]; then
    echo "Generating a trip of $count files (RAW $raw_mb MB, video $video_mb MB, sparse) in $work ..." >&2
    "$gen" "$work/master" "$count" "$raw_mb" "$video_mb"
else
    echo "Generating $count pictures of about $kb KB in $work ..." >&2
    "$gen" "$work/master" "$count" "$kb"
fi
share_master=$work/master
if [ $share = 1 ] && [ "$share_count" -lt "$count" ]; then
    # The same first pictures as the big tree.
    share_master=$work/share-master
    "$gen" "$share_master" "$share_count" "$kb"
fi
# The shifts' journals go into the bench's own folder, not the user's.
export XDG_DATA_HOME=$work/data

oldest() { "$cli" dates "$1" --json | sed -n 's/.*"oldest": "\(.*\)".*/\1/p'; }
plus_hour() { date -u -d "$(echo "$1" | sed 's/:/-/; s/:/-/') UTC + 1 hour" '+%Y:%m:%d %H:%M:%S'; }
declare -A want before
before[$work/master]=$(oldest "$work/master")
want[$work/master]=$(plus_hour "${before[$work/master]}")
want[$share_master]=$(plus_hour "$(oldest "$share_master")")

# Every run starts from the same state: its tree in the page cache (warm) or
# out of it (cold), and nothing left to write back from earlier runs.
warm() { find "$1" -type f -exec cat {} + >/dev/null; sync; }
cold() {
    sync
    if [ $cold_how = drop_caches ]; then
        echo 3 >/proc/sys/vm/drop_caches
    else
        "$dropcache" "$1"
    fi
}

# measure KEY MODE ro|rw|undo COMMAND...: runs the command in MODE (warm, cold
# or share) on the master tree (ro) or on a fresh copy of it (rw; undo: a copy
# shifted by one hour first, untimed), with @T@ in its arguments standing for
# the tree's path. Records wall-clock seconds until the command ends and until
# a sync after it, and peak memory; for the trip tree also what the command
# and its children read and wrote (/proc/PID/io of a shell that waited for
# them: a parent's counts take in those of the children it reaped).
declare -A secs disk mem failed io
runs=0
failures=0
measure() {
    local key=$1 mode=$2 kind=$3
    shift 3
    local source=$work/master
    [ "$mode" = share ] && source=$share_master
    local tree=$source
    if [ "$kind" != ro ]; then
        runs=$((runs + 1))
        tree=$work/run-$runs
        cp -a "$source" "$tree"
    fi
    if [ "$kind" = undo ] && ! "$cli" shift "$tree" --by 3600 --yes >"$work/$key-$mode.prepare" 2>&1; then
        echo "bench: the shift before $key ($mode) failed" >&2
        failed[$key,$mode]=1
        failures=$((failures + 1))
        rm -rf --one-file-system "$tree"
        return 0
    fi
    echo "  $mode: $key" >&2
    local at=$tree
    case "$mode" in
        warm) warm "$tree" ;;
        cold) cold "$tree" ;;
        share)
            warm "$tree"
            if ! mount_share "$tree"; then
                echo "bench: cannot mount the share for $key:" >&2
                cat "$work/slowfs.err" >&2
                unmount
                failed[$key,$mode]=1
                return 0
            fi
            at=$mnt
            ;;
    esac
    local arguments=() argument
    for argument in "$@"; do arguments+=("${argument//@T@/$at}"); done
    local name=$work/$key-$mode
    local start end synced m ok=1 counted=()
    [ "$tree_kind" = jpeg ] || counted=(bash -c '"$@"; s=$?; cat /proc/$$/io >"$0"; exit $s' "$name.io")
    start=$(date +%s%N)
    if ! /usr/bin/time -f "%M" -o "$name.time" "${counted[@]}" "${arguments[@]}" >"$name.out" 2>"$name.err"; then
        echo "bench: $key ($mode) failed:" >&2
        tail -5 "$name.err" >&2
        ok=0
    fi
    end=$(date +%s%N)
    # What the run left in the page cache reaches the disk: a tool that
    # rewrites whole files pays for it here.
    sync
    synced=$(date +%s%N)
    [ "$mode" = share ] && unmount
    if [ $ok = 1 ] && [ "$key" != baseline ] && [ "$kind" = rw ] && [ "${key#shift}" != "$key" ]; then
        # Every picture must have moved by one hour.
        local after
        after=$(oldest "$tree")
        if [ "$after" != "${want[$source]}" ]; then
            echo "bench: after $key ($mode) the tree's oldest date is $after, expected ${want[$source]}" >&2
            ok=0
        fi
    fi
    if [ $ok = 1 ] && [ "$kind" = undo ]; then
        local back
        back=$(oldest "$tree")
        if [ "$back" != "${before[$source]}" ]; then
            echo "bench: after $key ($mode) the tree's oldest date is $back, expected ${before[$source]}" >&2
            ok=0
        fi
    fi
    if [ $ok = 1 ]; then
        secs[$key,$mode]=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')
        disk[$key,$mode]=$(awk -v a="$start" -v b="$synced" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')
        read -r m < <(tail -1 "$name.time")
        [ "${mem[$key]:-0}" -ge "$m" ] || mem[$key]=$m
        if [ -s "$name.io" ]; then
            local field value
            while read -r field value; do
                io[$key,$mode,${field%:}]=$value
            done <"$name.io"
        fi
    else
        failed[$key,$mode]=1
        case "$key" in exiftool* | exiv2* | baseline) ;; *) failures=$((failures + 1)) ;; esac
    fi
    [ "$kind" != ro ] && rm -rf --one-file-system "$tree"
    return 0
}

modes=(warm cold)
[ $share = 1 ] && modes+=(share)
baseline=${BENCH_BASELINE_CLI:-}
for mode in "${modes[@]}"; do
    if [ "$tree_kind" = trip ]; then
        trip_runs "$mode"
        continue
    fi
    [ $has_jobs = 1 ] && measure dates1 "$mode" ro "$cli" dates @T@ --jobs 1
    measure dates "$mode" ro "$cli" dates @T@
    if [ $have_exiftool = 1 ]; then
        measure exiftool-read "$mode" ro exiftool -r -q -q -DateTimeOriginal @T@
    fi
    if [ $have_exiv2 = 1 ]; then
        measure exiv2-read "$mode" ro sh -c \
            "find '@T@' -type f -name '*.JPG' -print0 | xargs -0 exiv2 -q -K Exif.Photo.DateTimeOriginal -Pv"
    fi
    [ $has_jobs = 1 ] && measure shift1 "$mode" rw "$cli" shift @T@ --by 3600 --yes --jobs 1
    measure shift "$mode" rw "$cli" shift @T@ --by 3600 --yes
    measure shift-nojournal "$mode" rw "$cli" shift @T@ --by 3600 --yes --no-journal
    if [ -n "$baseline" ]; then
        # An earlier kelvaro-cli (BENCH_BASELINE_CLI), e.g. one without journal and
        # flush to disk, on a copy of its own.
        measure baseline "$mode" rw "$baseline" shift @T@ --by 3600 --yes
    fi
    measure floor "$mode" rw "$floor" @T@
    measure floor-jobs "$mode" rw "$floor" -j "$floor_jobs" @T@
    measure floor-passes "$mode" rw "$floor" -2 -j "$floor_jobs" @T@
    if [ $have_exiftool = 1 ]; then
        measure exiftool-shift "$mode" rw exiftool -r -q -q -overwrite_original "-AllDates+=1" @T@
    fi
    if [ $have_exiv2 = 1 ]; then
        measure exiv2-shift "$mode" rw sh -c \
            "find '@T@' -type f -name '*.JPG' -print0 | xargs -0 exiv2 -q -a 1 ad"
    fi
done

# --- table -------------------------------------------------------------------
pictures_in() { [ "$1" = share ] && echo "$share_count" || echo "$count"; }
# cell KEY MODE secs|disk: µs per picture, or why there is none.
cell() {
    local value
    if [ -n "${failed[$1,$2]:-}" ]; then echo "failed"; return; fi
    if [ "$3" = secs ]; then value=${secs[$1,$2]:-}; else value=${disk[$1,$2]:-}; fi
    [ -n "$value" ] || { echo "-"; return; }
    awk -v s="$value" -v n="$(pictures_in "$2")" 'BEGIN { printf "%.1f", s * 1e6 / n }'
}
# versus KEY BASE MODE: KEY's time incl. sync over BASE's.
versus() {
    local a=${disk[$1,$3]:-} b=${disk[$2,$3]:-}
    if [ -z "$a" ] || [ -z "$b" ]; then echo "-"; return; fi
    awk -v a="$a" -v b="$b" 'BEGIN { if (b > 0) printf "%.1fx", a / b; else print "-" }'
}

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
echo
what="$count pictures of about $kb KB"
[ "$tree_kind" = jpeg ] || what="a trip of $count files (RAW $raw_mb MB, video $video_mb MB, sparse)"
echo "Machine: $(nproc) cores, ${cpu:-unknown CPU}, $(df -h --output=source "$work" | tail -1)," \
    "$(df -T "$work" | awk 'NR == 2 { print $2 }'); $what"
if [ $cold_how = drop_caches ]; then
    echo "Cold: sync, then all caches dropped (/proc/sys/vm/drop_caches)."
else
    echo "Cold: sync, then the tree's files and folders dropped from the page cache (posix_fadvise)."
fi
if [ $share = 1 ]; then
    echo "Share: $share_count pictures through kelvaro-slowfs (FUSE), $delay_us µs in every call."
else
    echo "Share: left out: $share_note."
fi
[ $has_jobs = 1 ] || echo "kelvaro-cli has no --jobs option: only its default is timed."
if [ "$tree_kind" = trip ]; then
    trip_table
    if [ $failures -gt 0 ]; then
        echo "bench: $failures kelvaro run(s) failed or left wrong dates (see above)" >&2
        exit 1
    fi
    exit 0
fi
echo "µs per picture; \"+ sync\" and the cold and share columns include a sync after the run."
echo
printf '| %-15s | %8s | %8s | %10s | %8s | %10s | %8s | %10s | %11s |\n' "run" "warm" "+ sync" "vs kelvaro" \
    "cold" "vs kelvaro" "share" "vs kelvaro" "peak memory"
printf '|%s|%s|%s|%s|%s|%s|%s|%s|%s|\n' "-----------------" "---------:" "---------:" "-----------:" \
    "---------:" "-----------:" "---------:" "-----------:" "------------:"
row() {
    local key=$1 label=$2 base=$3 mode seen=
    for mode in warm cold share; do
        [ -z "${secs[$key,$mode]:-}${failed[$key,$mode]:-}" ] || seen=1
    done
    [ -n "$seen" ] || return 0
    local memory="-"
    [ -z "${mem[$key]:-}" ] || memory=$(awk -v k="${mem[$key]}" 'BEGIN { printf "%.1f MB", k / 1024 }')
    printf '| %-15s | %8s | %8s | %10s | %8s | %10s | %8s | %10s | %11s |\n' "$label" \
        "$(cell "$key" warm secs)" "$(cell "$key" warm disk)" "$(versus "$key" "$base" warm)" \
        "$(cell "$key" cold disk)" "$(versus "$key" "$base" cold)" \
        "$(cell "$key" share disk)" "$(versus "$key" "$base" share)" "$memory"
}
row dates "kelvaro dates" dates
row dates1 "  --jobs 1" dates
row exiftool-read "exiftool read" dates
row exiv2-read "exiv2 read" dates
row shift "kelvaro shift" shift
row shift1 "  --jobs 1" shift
row shift-nojournal "  no journal" shift
row baseline "  baseline" shift
row floor "floor, 1 job" shift
row floor-jobs "floor, $floor_jobs jobs" shift
row floor-passes "  two passes" shift
row exiftool-shift "exiftool shift" shift
row exiv2-shift "exiv2 shift" shift

# --- targets -----------------------------------------------------------------
echo
check() {   # check TEXT CONDITION VALUE...: reported only when every value was measured
    local text=$1 condition=$2 value
    shift 2
    for value in "$@"; do
        [ -n "$value" ] || { echo "not measured: $text"; return 0; }
    done
    if awk "BEGIN { exit !($condition) }"; then echo "met:    $text"; else echo "missed: $text"; fi
}
ks=${secs[shift,warm]:-}
kds=${disk[shift,warm]:-}
kd=${secs[dates,warm]:-}
fl=${secs[floor,warm]:-}
fls=${disk[floor,warm]:-}
check "shift within 2x of the floor" "$ks <= 2 * $fl" "$ks" "$fl"
check "shift within 2x of the floor, incl. sync" "$kds <= 2 * $fls" "$kds" "$fls"
if [ $have_exiv2 = 1 ]; then
    e=${secs[exiv2-shift,warm]:-}
    es=${disk[exiv2-shift,warm]:-}
    er=${secs[exiv2-read,warm]:-}
    check "shift >= 50x faster than exiv2" "$e >= 50 * $ks" "$e" "$ks"
    check "shift >= 50x faster than exiv2, incl. sync" "$es >= 50 * $kds" "$es" "$kds"
fi
if [ $have_exiftool = 1 ]; then
    e=${secs[exiftool-shift,warm]:-}
    check "shift >= 100x faster than exiftool" "$e >= 100 * $ks" "$e" "$ks"
fi
[ $have_exiv2 = 1 ] && check "dates >= 5x faster than exiv2's read" "$er >= 5 * $kd" "$er" "$kd"
check "peak memory of shift under 50 MB" "${mem[shift]:-} < 50 * 1024" "${mem[shift]:-}"
# Against the parallel floor, all incl. sync.
s_warm=${disk[shift,warm]:-}; f_warm=${disk[floor-jobs,warm]:-}
s_cold=${disk[shift,cold]:-}; f_cold=${disk[floor-jobs,cold]:-}
s_share=${disk[shift,share]:-}; f_share=${disk[floor-jobs,share]:-}; j_share=${disk[shift1,share]:-}
check "warm: shift within 1.2x of the floor with $floor_jobs jobs" "$s_warm <= 1.2 * $f_warm" "$s_warm" "$f_warm"
check "cold: shift within 1.3x of the floor with $floor_jobs jobs" "$s_cold <= 1.3 * $f_cold" "$s_cold" "$f_cold"
if [ $share = 1 ]; then
    if [ $has_jobs = 1 ]; then
        check "share: shift >= 5x faster than with --jobs 1" "$j_share >= 5 * $s_share" "$j_share" "$s_share"
    else
        echo "not measured: share: shift >= 5x faster than with --jobs 1 (kelvaro-cli has no --jobs)"
    fi
    check "share: shift within 1.5x of the floor with $floor_jobs jobs" "$s_share <= 1.5 * $f_share" \
        "$s_share" "$f_share"
else
    echo "not measured: the share targets (share runs left out: $share_note)"
fi

if [ $failures -gt 0 ]; then
    echo "bench: $failures kelvaro or floor run(s) failed or left wrong dates (see above)" >&2
    exit 1
fi
exit 0
