#!/usr/bin/env bash
# Builds the Windows downloads: for 64-bit and for 32-bit Windows, a zip of quarnel.exe,
# quarnel-cli.exe and a short read-me (CPack's ZIP generator), left in build/zips/. Then tries
# each as a user would: unpacks it and runs the command line on the built-in sample under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
presets=(windows windows32)

# shellcheck source=scripts/windows_env.sh
source scripts/windows_env.sh
windows_env "${presets[@]}"

zips=$PWD/build/zips
rm -rf "$zips" && mkdir -p "$zips"
work=$(mktemp -d)
trap 'cd /; rm -rf "$work"; wineserver -k || true' EXIT

for preset in "${presets[@]}"; do
  windows_configure "$preset" > /dev/null
  # Everything the zip installs, and the sample writer to try it with.
  cmake --build --preset "$preset" --target quarnel quarnel-cli quarnel-sample
  (cd "build/$preset" && cpack -G ZIP -B "$zips" > /dev/null)
done
rm -rf "$zips/_CPack_Packages"

# Unix paths would read as options (/name) to a Windows program: work with relative names.
sample_writer=$PWD/build/windows32/tests/quarnel-sample.exe
cd "$work"
for zip in "$zips"/*.zip; do
  echo "== $zip"
  unzip -q "$zip"
  folder=$(basename "$zip" .zip)
  ls "$folder"
  wine "$sample_writer" sample.mpg > /dev/null
  wine "$folder/quarnel-cli.exe" --version
  wine "$folder/quarnel-cli.exe" convert sample.mpg
  [ "$(stat -c %s sample.mtv)" = 568 ] || { echo "no header from $zip" >&2; exit 1; }
  rm -f sample.*
done
