#!/usr/bin/env bash
# Takes the pictures of the dialog shown in the README (docs/main-dialog-en.png,
# docs/main-dialog-ja.png and the Japanese progress window docs/progress-ja.png) on Qt's
# offscreen platform: no display needed. setup.sh installs the Japanese font; this installs
# Arial's metric twin for the English dialog when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

fonts=(fonts-liberation2)
missing=()
for p in "${fonts[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake --preset default
cmake --build --preset default --target quarnel_screenshot
mkdir -p docs
for language in en ja; do
  QT_QPA_PLATFORM=offscreen build/default/tests/app/quarnel_screenshot "$language" "docs/main-dialog-$language.png"
  echo "docs/main-dialog-$language.png"
done
QT_QPA_PLATFORM=offscreen build/default/tests/app/quarnel_screenshot ja docs/progress-ja.png progress
echo "docs/progress-ja.png"
