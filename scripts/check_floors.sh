#!/usr/bin/env bash
# Fails when a source file includes a header of a folder above its own. The floors come from
# the layout table of the README: a folder may include its own headers and those of folders on
# lower floors, never those of another folder on its floor or above. Folders without a floor
# (tests, fuzz targets, benchmarks) may include anything.
set -euo pipefail
cd "$(dirname "$0")/.."

# "folder floor" pairs from the table rows that begin with a floor number.
floors=$(awk -F'|' '
    /^## Layout/ { inside = 1; next }
    /^## / { inside = 0 }
    inside && $2 ~ /^ *[0-9]+ *$/ {
        floor = $2 + 0
        cell = $3
        while (match(cell, /`[a-z_]+\/`/)) {
            print substr(cell, RSTART + 1, RLENGTH - 3), floor
            cell = substr(cell, RSTART + RLENGTH)
        }
    }' README.md)
if [[ -z "$floors" ]]; then
    echo "check_floors: no floors found in the layout table of README.md" >&2
    exit 1
fi

status=0
while read -r folder floor; do
    [[ -d "$folder" ]] || continue
    while IFS=: read -r file line included; do
        target=${included%%/*}
        target_floor=$(awk -v t="$target" '$1 == t { print $2 }' <<<"$floors")
        [[ -z "$target_floor" || "$target" == "$folder" ]] && continue
        if ((target_floor >= floor)); then
            echo "$file:$line: $folder/ (floor $floor) includes $included (floor $target_floor)"
            status=1
        fi
    done < <(grep -rnoE --include='*.h' --include='*.cpp' '^#include "[a-z_]+/[^"]+"' "$folder" |
             sed -E 's/#include "([^"]+)"/\1/')
done <<<"$floors"
exit $status
