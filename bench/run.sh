#!/usr/bin/env bash
# Measures how fast Quarnel reads large MPEG files from the page cache, beside `cat` and
# ffprobe on the same files, and how much memory a full scan takes.
#
#   bench/run.sh [--runs N] [--micro]
#
# Inputs (each at least 1 GiB; about 4.5 GB in all) are made once in $BENCH_DIR (default
# /tmp/quarnel-bench) and kept for the next run; delete that directory to reclaim the space.
# For each input and tool the median wall-clock time of N runs (default 5) is reported as a
# throughput and as a ratio to `cat`. --micro also runs the micro-benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=5
micro=false
while (($#)); do
    case $1 in
        --runs) runs=$2; shift 2 ;;
        --micro) micro=true; shift ;;
        *) echo "usage: bench/run.sh [--runs N] [--micro]" >&2; exit 2 ;;
    esac
done

bench_dir=${BENCH_DIR:-/tmp/quarnel-bench}
scripts/setup.sh
cmake --preset bench > /dev/null
cmake --build --preset bench
build=build/bench
cli=$build/cli/quarnel-cli
bench/make_inputs.sh "$bench_dir" $((1 << 30)) "$build/bench/quarnel-bench-repeat"

# Default settings whatever the user's settings file holds.
settings_file=$bench_dir/default-settings.conf
[ -e "$settings_file" ] || : > "$settings_file"
export QUARNEL_SETTINGS_FILE=$settings_file

# name | files (the first one is what Quarnel opens) | extra settings
inputs=(
    "elementary stream|es.m2v|"
    "DVD-style program stream|dvd.vob|"
    "transport stream (188)|broadcast.ts|"
    "three-file split sequence|split_001.vob split_002.vob split_003.vob|--setting file=1"
)

now_ns() { date +%s%N; }

# Median wall-clock seconds of $runs runs of "$@", output discarded.
median_seconds() {
    local times=() start
    for ((i = 0; i < runs; i++)); do
        start=$(now_ns)
        "$@" > /dev/null 2>&1
        times+=($(($(now_ns) - start)))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{t[NR] = $1} END {printf "%.4f", t[int((NR + 1) / 2)] / 1e9}'
}

cat_files() { cat "$@" > /dev/null; }
ffprobe_count() {
    local target=$1
    (($# > 1)) && target="concat:$(IFS='|'; echo "$*")"
    ffprobe -v error -count_packets -show_entries stream=nb_read_packets -of csv=p=0 "$target"
}
# quarnel-cli [SETTINGS...] info --json FILE, one field of its answer.
info_field() {
    local field=$1
    shift
    "$cli" "${@:1:$#-1}" info --json "${@: -1}" | sed -n "s/.*\"$field\": *\"*\([^\",]*\).*/\1/p"
}

echo
echo "$(nproc) cores, $(uptime | sed 's/.*load average/load average/')"
echo "median wall-clock time of $runs runs, from the page cache; MB = 10^6 bytes"
printf '\n%-28s %6s  %-28s %8s %8s %8s\n' "input" "MB" "tool" "seconds" "MB/s" "vs cat"
for entry in "${inputs[@]}"; do
    IFS='|' read -r name file_list extra <<< "$entry"
    read -ra files <<< "$file_list"
    paths=("${files[@]/#/$bench_dir/}")
    read -ra settings <<< "$extra"
    bytes=$(stat -c %s "${paths[@]}" | awk '{s += $1} END {print s}')
    cat_files "${paths[@]}"  # into the page cache

    # The time-code path must really use the time codes, and agree with the full scan.
    full_frames=$(info_field frames --setting gl=3 "${settings[@]}" "${paths[0]}")
    fast_frames=$(info_field frames "${settings[@]}" "${paths[0]}")
    index=$(info_field index "${settings[@]}" "${paths[0]}")

    cat_s=$(median_seconds cat_files "${paths[@]}")
    scan_s=$(median_seconds "$cli" --setting gl=3 "${settings[@]}" info "${paths[0]}")
    tc_s=$(median_seconds "$cli" "${settings[@]}" info "${paths[0]}")
    probe_s=$(median_seconds ffprobe_count "${paths[@]}")
    label=$name
    size=$((bytes / 1000000))
    for row in "cat FILE > /dev/null|$cat_s" "quarnel full GOP-list scan|$scan_s" \
               "quarnel time-code path|$tc_s" "ffprobe -count_packets|$probe_s"; do
        IFS='|' read -r tool seconds <<< "$row"
        awk -v label="$label" -v size="$size" -v tool="$tool" -v s="$seconds" -v b="$bytes" -v c="$cat_s" \
            'BEGIN {printf "%-28s %6s  %-28s %8.3f %8.0f %7.2fx\n", label, size, tool, s, b / s / 1e6, c / s}'
        label="" size=""
    done
    awk -v s="$scan_s" -v p="$probe_s" -v f="$full_frames" -v t="$fast_frames" -v i="$index" \
        'BEGIN {printf "%-36s full scan %.1fx as fast as ffprobe; %s frames counted by the scan, %s by the %s index\n", "", p / s, f, t, i}'
done

echo
echo "peak memory of a full scan (/usr/bin/time -v, maximum resident set size)"
for file in es-small.m2v es.m2v dvd.vob broadcast.ts; do
    path=$bench_dir/$file
    kb=$(/usr/bin/time -v "$cli" --setting gl=3 info "$path" 2>&1 > /dev/null |
        sed -n 's/.*Maximum resident set size (kbytes): //p')
    printf '%-16s %8d MB  %8d KB\n' "$file" $(($(stat -c %s "$path") / 1000000)) "$kb"
done

if $micro; then
    echo
    "$build/bench/quarnel_bench"
fi
