#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ (preset "fuzz") and runs each one from its seed corpus
# with seed 1. Any finding (crash, leak, hang, allocation of 64 MiB or more) fails the script;
# its input is left in build/fuzz/findings/.
#
#   scripts/fuzz.sh [TARGET...]      The CI run: a fixed number of executions per target (below)
#                                    from the seeds alone, so that it does the same work on any
#                                    machine, at any speed, and a local run repeats CI's.
#   FUZZ_SECONDS=N scripts/fuzz.sh [TARGET...]
#                                    N seconds per target instead, growing build/fuzz/corpus/.
set -euo pipefail
cd "$(dirname "$0")/.."

# Executions per target: about 45 s of processor time each, 9 minutes for all of them.
declare -A runs=(
  [audio_source]=45000
  [block_reader]=13000
  [gop_list_file]=1100000
  [mtv_header]=3200000
  [pes_packet]=1200000
  [ps_layer]=18000
  [stream_source]=25000
  [ts_layer]=170000
  [video_frames]=95000
  [video_headers]=115000
  [video_source]=28000
  [video_stream]=40000
)

scripts/setup.sh
cmake --preset fuzz
cmake --build --preset fuzz

build=build/fuzz
if (($#)); then
  targets=("$@")
else
  targets=()
  for program in "$build"/fuzz/fuzz_*; do targets+=("${program##*/fuzz_}"); done
fi

# Inputs are written to a file per target process; keep them off the disk where possible.
[ -w /dev/shm ] && export TMPDIR=/dev/shm
rm -rf "$build/seeds"
"$build/fuzz/quarnel_fuzz_seeds" "$build/seeds"
mkdir -p "$build/findings"

failed=()
for target in "${targets[@]}"; do
  if [ -n "${FUZZ_SECONDS:-}" ]; then
    corpus="$build/corpus/$target"
    budget=(-max_total_time="$FUZZ_SECONDS")
    echo "== $target: $FUZZ_SECONDS s"
  else
    [ -n "${runs[$target]:-}" ] || { echo "no run count for fuzz target $target" >&2; exit 2; }
    corpus="$build/runs/$target"  # starts empty each time, as in a fresh clone
    rm -rf "$corpus"
    # Comparisons also trace pointer values, which differ from process to process; the
    # mutations built from them would make two runs part ways.
    budget=(-runs="${runs[$target]}" -use_cmp=0)
    echo "== $target: ${runs[$target]} runs"
  fi
  mkdir -p "$corpus"
  log="$build/findings/$target.log"
  TIMEFORMAT="%0R s (%0U s user, %0S s system)"
  if { time "$build/fuzz/fuzz_$target" -seed=1 "${budget[@]}" -timeout=10 -malloc_limit_mb=64 \
      -artifact_prefix="$build/findings/$target-" "$corpus" "$build/seeds/$target" \
      >"$log" 2>&1; } 2>"$log.time"; then
    echo "$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" || tail -n 1 "$log")  $(<"$log.time")"
  else
    tail -n 40 "$log"
    failed+=("$target")
  fi
done

if ((${#failed[@]})); then
  echo "findings in: ${failed[*]} (inputs in $build/findings)"
  exit 1
fi
