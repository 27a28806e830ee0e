#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ (preset "fuzz") and runs each one from its seed corpus
# with a fixed seed. Any finding (crash, leak, hang, allocation of 64 MiB or more) fails the
# script; its input is left in build/fuzz/findings/.
#
#   scripts/fuzz.sh [TARGET...]       FUZZ_SECONDS=N sets the time per target; by default the
#                                     targets share 10 minutes, at most 60 s each.
set -euo pipefail
cd "$(dirname "$0")/.."
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
seconds=${FUZZ_SECONDS:-$((600 / ${#targets[@]} < 60 ? 600 / ${#targets[@]} : 60))}

# Inputs are written to a file per target process; keep them off the disk where possible.
[ -w /dev/shm ] && export TMPDIR=/dev/shm
rm -rf "$build/seeds"
"$build/fuzz/quarnel_fuzz_seeds" "$build/seeds"
mkdir -p "$build/findings"

failed=()
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  log="$build/findings/$target.log"
  echo "== $target: ${seconds} s"
  if "$build/fuzz/fuzz_$target" -seed=1 -max_total_time="$seconds" -timeout=10 \
      -malloc_limit_mb=64 -artifact_prefix="$build/findings/$target-" \
      "$corpus" "$build/seeds/$target" >"$log" 2>&1; then
    grep -E '^#[0-9]+[[:space:]]+DONE' "$log" || tail -n 1 "$log"
  else
    tail -n 40 "$log"
    failed+=("$target")
  fi
done

if ((${#failed[@]})); then
  echo "findings in: ${failed[*]} (inputs in $build/findings)"
  exit 1
fi
