#!/usr/bin/env bash
# Times a full GOP-list scan in the dialog beside the same scan on the command line, on the
# inputs of bench/run.sh.
#
#   bench/dialog.sh [--runs N]
#
# The dialog's time is that of a read as the user makes it, from the click on "Open" to the
# values on screen: the main dialog runs modal on Qt's offscreen platform, the analyser on
# its worker thread, the progress window shows the scan (quarnel-bench-dialog, one read in a
# new process each run). The command line's is the wall-clock time of `quarnel-cli info
# FILE`, process start included. Both read the files from the page cache with the settings
# gl=3 (no time codes, no GOP list file: the full scan). The two runs alternate, so that
# both meet the same load of the machine; the medians of N runs (default 9) are reported.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=9
while (($#)); do
    case $1 in
        --runs) runs=$2; shift 2 ;;
        *) echo "usage: bench/dialog.sh [--runs N]" >&2; exit 2 ;;
    esac
done

bench_dir=${BENCH_DIR:-/tmp/quarnel-bench}
scripts/setup.sh
cmake --preset bench > /dev/null
cmake --build --preset bench --target quarnel-bench-repeat
bench/make_inputs.sh "$bench_dir" $((1 << 30)) build/bench/bench/quarnel-bench-repeat
cmake --preset default > /dev/null
cmake --build --preset default --target quarnel-cli quarnel-bench-dialog
cli=build/default/cli/quarnel-cli
dialog=build/default/quarnel-bench-dialog

scan_settings=$bench_dir/full-scan.conf
split_settings=$bench_dir/full-scan-split.conf
echo "gl=3" > "$scan_settings"
printf 'gl=3\nfile=1\n' > "$split_settings"

# name | files (the first one is what Quarnel opens) | settings file
inputs=(
    "elementary stream|es.m2v|$scan_settings"
    "DVD-style program stream|dvd.vob|$scan_settings"
    "transport stream (188)|broadcast.ts|$scan_settings"
    "three-file split sequence|split_001.vob split_002.vob split_003.vob|$split_settings"
)

now_ns() { date +%s%N; }
median() { printf '%s\n' "$@" | sort -n | awk '{t[NR] = $1} END {printf "%.4f", t[int((NR + 1) / 2)]}'; }

echo
echo "$(nproc) cores, $(uptime | sed 's/.*load average/load average/')"
echo "median of $runs runs, from the page cache; MB = 10^6 bytes"
printf '\n%-28s %6s %12s %12s %10s\n' "input" "MB" "command line" "dialog" "dialog/cli"
for entry in "${inputs[@]}"; do
    IFS='|' read -r name file_list settings <<< "$entry"
    read -ra files <<< "$file_list"
    paths=("${files[@]/#/$bench_dir/}")
    bytes=$(stat -c %s "${paths[@]}" | awk '{s += $1} END {print s}')
    cat "${paths[@]}" > /dev/null  # into the page cache

    export QUARNEL_SETTINGS_FILE=$settings
    cli_times=() dialog_times=()
    for ((i = 0; i < runs; i++)); do
        start=$(now_ns)
        "$cli" info "${paths[0]}" > /dev/null
        cli_times+=("$(awk -v ns=$(($(now_ns) - start)) 'BEGIN {print ns / 1e9}')")
        dialog_times+=("$(QT_QPA_PLATFORM=offscreen "$dialog" "${paths[0]}" 2> /dev/null)")
    done
    cli_s=$(median "${cli_times[@]}")
    dialog_s=$(median "${dialog_times[@]}")
    awk -v n="$name" -v mb=$((bytes / 1000000)) -v c="$cli_s" -v d="$dialog_s" \
        'BEGIN {printf "%-28s %6s %11.3fs %11.3fs %9.2fx\n", n, mb, c, d, d / c}'
done
