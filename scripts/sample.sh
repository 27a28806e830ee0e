#!/usr/bin/env bash
# Installs what the build needs, builds quarnel-cli, the dialog quarnel and the sample writer,
# writes the built-in sample stream (a short MPEG-2 program stream made by the project's own
# test stream writers), converts it to an MTV header and shows the header as text and as JSON.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default
cmake --build --preset default --target quarnel-cli quarnel quarnel-sample

cli=build/default/cli/quarnel-cli
sample=build/default/sample.mpg
build/default/tests/quarnel-sample "$sample"
echo "== what the analyser finds in $sample"
"$cli" info "$sample"
echo "== converting it"
header=$("$cli" convert --audio-auto --setting gl=1 "$sample")
echo "== $header"
"$cli" show "$header"
"$cli" show --json "$header"
echo "== the dialog: build/default/app/quarnel (open $sample in it)"
