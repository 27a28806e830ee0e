#!/usr/bin/env bash
# Retakes the pictures of the native Windows dialog for the README: quarnel.exe under Wine on
# a virtual X server, in English and in Japanese, with the built-in sample read, and the
# Japanese progress window during a long scan. Needs a `windows` build (scripts/windows.sh)
# and ImageMagick, xdotool and Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$PWD/build/windows
export WINEPREFIX=$PWD/build/wine WINEDEBUG=-all
work=$(mktemp -d)
trap 'kill "${xvfb:-}" 2> /dev/null || true; rm -rf "$work"' EXIT

display=:77
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp &
xvfb=$!
export DISPLAY=$display
sleep 1

# Wine draws the window frames itself (there is no window manager), and the Japanese dialog
# fonts come from the IPA Gothic font.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f > /dev/null
for font in "ＭＳ ゴシック" "ＭＳ Ｐゴシック" "MS UI Gothic"; do
  LANG=ja_JP.UTF-8 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /d IPAGothic /f > /dev/null
done

wine "$build/tests/quarnel-sample.exe" "$work/sample.mpg"

# Shoots the window captioned `$1` into docs/`$2`, once it shows.
shoot() {
  local window=""
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name "^$1\$" 2> /dev/null | head -1) && [ -n "$window" ] && break
    sleep 0.2
  done
  [ -n "$window" ] || { echo "screenshots: no window $1" >&2; exit 1; }
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$window")"
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "docs/$2"
  echo "docs/$2"
}

# Ends the program of job `$1`.
close() {
  wineserver -k || true
  wait "$1" || true
}

for language in en ja; do
  locale=en_US.UTF-8
  [ "$language" = ja ] && locale=ja_JP.UTF-8
  (cd "$work" && LANG=$locale wine "$build/win/quarnel.exe" sample.mpg) &
  shoot Quarnel "win-dialog-$language.png"
  close $!
done

# A long scan: the sample repeated to 2 GB, its GOP list built (gl=2) whatever its time
# codes say.
python3 -c '
import sys
part = open(sys.argv[1], "rb").read()
with open(sys.argv[2], "wb") as out:
    for _ in range(2 * 1024**3 // len(part)):
        out.write(part)
' "$work/sample.mpg" "$work/long.mpg"
settings='HKCU\Software\orvane\daro2zud_aze'
wine reg add "$settings" /v gl /t REG_DWORD /d 2 /f > /dev/null
(cd "$work" && LANG=ja_JP.UTF-8 wine "$build/win/quarnel.exe" long.mpg) &
shoot "VEZA-2 DOROZ IROVE Dodi-Vi : .*" win-progress-ja.png
close $!
wine reg delete "$settings" /v gl /f > /dev/null
