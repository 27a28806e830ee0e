#!/usr/bin/env bash
# Builds the Debian package (cpack -G DEB in the default build) and tries it as a user would:
# validates the desktop entry, the AppStream metadata and the package (lintian, no errors),
# installs it with apt-get, runs the installed programs, and removes it again. The package is
# left in build/default/. CI runs this after the tests.
#
# It installs and removes the package "quarnel" on this machine (as root, else with sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default
# cpack packs what is built: the two programs (the other files the package holds need no
# build step) and, for the checks below, the sample writer. The tests are not needed here.
cmake --build --preset default --target quarnel quarnel-cli quarnel-sample

build=build/default
rm -f "$build"/quarnel_*.deb
(cd "$build" && cpack -G DEB)
debs=("$build"/quarnel_*.deb)
deb=$PWD/${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
echo "== $deb"

work=$(mktemp -d)
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
remove_package() {
  if dpkg-query -W -f='${Status}' quarnel 2>/dev/null | grep -q "install ok installed"; then
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get remove -y -qq quarnel >/dev/null
  fi
}
dialog=""
clean_up() {
  [ -z "$dialog" ] || kill "$dialog" 2>/dev/null || true
  remove_package
  rm -rf "$work"
}
trap clean_up EXIT

echo "== validating what the package holds"
dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work"/root/usr/share/applications/*.desktop
appstreamcli validate --no-net "$work"/root/usr/share/metainfo/*.metainfo.xml
appstreamcli validate-tree --no-net "$work/root"
lintian --fail-on error "$deb"

echo "== installing it"
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "$deb" >/dev/null
for program in quarnel quarnel-cli; do
  [ "$(/usr/bin/$program --version)" = "$program $version" ] ||
    { echo "$program --version does not say $version" >&2; exit 1; }
done
echo "quarnel and quarnel-cli $version installed"

echo "== the installed quarnel-cli on the built-in sample"
mkdir "$work/cli" "$work/dialog"
"$build/tests/quarnel-sample" "$work/cli/sample.mpg"
header=$(/usr/bin/quarnel-cli convert --audio-auto --setting gl=1 "$work/cli/sample.mpg")
/usr/bin/quarnel-cli show "$header"
MANPAGER=cat man quarnel-cli | grep -q "quarnel-cli - write and inspect MTV header files" ||
  { echo "man quarnel-cli does not show the manual page" >&2; exit 1; }
echo "man quarnel-cli shows the manual page"
tests/cli/completion_test.sh /usr/bin/quarnel-cli /usr/share/bash-completion/completions/quarnel-cli

echo "== the installed quarnel, started with a file as a file manager starts it"
# With gl=2 a read scans the whole video stream and keeps the GOP list beside the file. The
# dialog started with the sample must leave the list quarnel-cli leaves for the same stream:
# proof that it read the file through the analyser.
printf 'gl=2\n' >"$work/settings.conf"
export QUARNEL_SETTINGS_FILE=$work/settings.conf
cp "$work/cli/sample.mpg" "$work/dialog/sample.mpg"
/usr/bin/quarnel-cli info "$work/cli/sample.mpg" >/dev/null
QT_QPA_PLATFORM=offscreen /usr/bin/quarnel "$work/dialog/sample.mpg" 2>"$work/dialog.log" &
dialog=$!
for ((tenths = 0; tenths < 300; ++tenths)); do
  cmp -s "$work/cli/sample.gl" "$work/dialog/sample.gl" && break
  kill -0 "$dialog" 2>/dev/null || { cat "$work/dialog.log"; echo "quarnel ended early" >&2; exit 1; }
  sleep 0.1
done
cmp "$work/cli/sample.gl" "$work/dialog/sample.gl" ||
  { cat "$work/dialog.log"; echo "quarnel did not read the file it was started with" >&2; exit 1; }
kill "$dialog"
wait "$dialog" 2>/dev/null || true
dialog=""
echo "quarnel read the file it was started with"

echo "== removing it"
remove_package
[ ! -e /usr/bin/quarnel ] && [ ! -e /usr/bin/quarnel-cli ] ||
  { echo "the programs are still there after removal" >&2; exit 1; }
echo "removed; package left in ${debs[0]}"
