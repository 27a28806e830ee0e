#!/usr/bin/env bash
# Installs what the build needs, builds quarnel-cli, writes a header with the default values
# and shows it as text and as JSON.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default
cmake --build --preset default --target quarnel-cli

cli=build/default/cli/quarnel-cli
sample=build/default/sample.mtv
"$cli" new --force "$sample"
echo "== $sample"
"$cli" show "$sample"
"$cli" show --json "$sample"
