# Sourced by bench/run.sh: the runs and the table of the trip tree
# (BENCH_TREE=trip). They use run.sh's measure, cell and versus and its
# settings.

# The trip tree's runs in MODE. exiftool moves every date and time tag it
# knows (-time:all, the files' modification times included, as kelvaro-cli
# sets them too), not only -AllDates, which would leave the videos' track and
# media times.
trip_runs() {
    local mode=$1
    [ $has_jobs = 1 ] && measure dates1 "$mode" ro "$cli" dates @T@ --jobs 1
    measure dates "$mode" ro "$cli" dates @T@
    if [ $have_exiftool = 1 ]; then
        measure exiftool-read "$mode" ro exiftool -r -q -q -DateTimeOriginal -CreateDate @T@
    fi
    [ $has_jobs = 1 ] && measure shift1 "$mode" rw "$cli" shift @T@ --by 3600 --yes --jobs 1
    measure shift "$mode" rw "$cli" shift @T@ --by 3600 --yes
    measure shift-nojournal "$mode" rw "$cli" shift @T@ --by 3600 --yes --no-journal
    measure undo "$mode" undo "$cli" undo --yes
    if [ $have_exiftool = 1 ]; then
        measure exiftool-shift "$mode" rw exiftool -r -q -q -overwrite_original "-time:all+=1" @T@
    fi
}

# kilo KEY MODE FIELD: KB of the run's /proc/PID/io FIELD per file.
kilo() {
    local value=${io[$1,$2,$3]:-}
    [ -n "$value" ] || { echo "-"; return; }
    awk -v v="$value" -v n="$count" 'BEGIN { printf "%.1f", v / 1024 / n }'
}
trip_table() {
    echo "µs per file; \"+ sync\" and the cold column include a sync after the run. KB a file: read and" \
        "written through the calls (warm; rchar, wchar), and read from the disk (cold; read_bytes)."
    echo
    printf '| %-15s | %8s | %8s | %10s | %8s | %10s | %8s | %8s | %9s | %11s |\n' "run" "warm" "+ sync" \
        "vs kelvaro" "cold" "vs kelvaro" "KB read" "KB written" "KB disk" "peak memory"
    printf '|%s|%s|%s|%s|%s|%s|%s|%s|%s|%s|\n' "-----------------" "---------:" "---------:" "-----------:" \
        "---------:" "-----------:" "---------:" "-----------:" "----------:" "------------:"
    local key label base memory
    while IFS=: read -r key label base; do
        [ -n "${secs[$key,warm]:-}${failed[$key,warm]:-}${secs[$key,cold]:-}${failed[$key,cold]:-}" ] || continue
        memory="-"
        [ -z "${mem[$key]:-}" ] || memory=$(awk -v k="${mem[$key]}" 'BEGIN { printf "%.1f MB", k / 1024 }')
        printf '| %-15s | %8s | %8s | %10s | %8s | %10s | %8s | %10s | %9s | %11s |\n' "$label" \
            "$(cell "$key" warm secs)" "$(cell "$key" warm disk)" "$(versus "$key" "$base" warm)" \
            "$(cell "$key" cold disk)" "$(versus "$key" "$base" cold)" "$(kilo "$key" warm rchar)" \
            "$(kilo "$key" warm wchar)" "$(kilo "$key" cold read_bytes)" "$memory"
    done <<'ROWS'
dates:kelvaro dates:dates
dates1:  --jobs 1:dates
exiftool-read:exiftool read:dates
shift:kelvaro shift:shift
shift1:  --jobs 1:shift
shift-nojournal:  no journal:shift
undo:kelvaro undo:shift
exiftool-shift:exiftool shift:shift
ROWS
}
