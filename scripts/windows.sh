#!/usr/bin/env bash
# Cross-builds the core, quarnel-cli.exe and the test suite for Windows with mingw-w64 and
# runs the tests under Wine. `scripts/windows.sh` does 64-bit; `scripts/windows.sh windows32`
# (or both presets named) does 32-bit, with Wine's 32-bit side (wine32, i386).
set -euo pipefail
cd "$(dirname "$0")/.."
presets=("${@:-windows}")

# shellcheck source=scripts/windows_env.sh
source scripts/windows_env.sh
windows_env "${presets[@]}"

# A Linux quarnel-cli to compare with, brought up to date: the one scripts/test.sh builds, else
# the default preset's.
linux_cli() {
  local preset=default
  [ -f build/test/build.ninja ] && preset=test
  [ -f build/$preset/build.ninja ] || cmake --preset $preset -DCMAKE_CXX_COMPILER_LAUNCHER=ccache > /dev/null
  cmake --build --preset $preset --target quarnel-cli > /dev/null
  echo "$PWD/build/$preset/cli/quarnel-cli"
}

fail() {
  echo "windows.sh: $*" >&2
  exit 1
}

# The header bytes outside the creation time (offsets 312 to 318): Linux takes a file's birth
# time, Wine reports its modification time as its creation time, and convert has no option
# that sets it.
same_header_but_time() {
  cmp -s <(head -c 312 "$1") <(head -c 312 "$2") && cmp -s <(tail -c +320 "$1") <(tail -c +320 "$2")
}

# quarnel-cli.exe end to end under Wine: a Japanese file name, the settings in the registry,
# and headers and GOP lists byte for byte equal to the Linux build's.
end_to_end() {
  local build=$PWD/build/$1 linux work
  linux=$(linux_cli)
  work=$build/end-to-end
  rm -rf "$work" && mkdir -p "$work"
  (
    cd "$work"
    export LANG=ja_JP.UTF-8  # Wine's ANSI code page becomes 932
    cli() { wine "$build/cli/quarnel-cli.exe" "$@"; }
    wine "$build/tests/quarnel-sample.exe" sample.mpg

    # Same input, same header and GOP list on both sides.
    cli convert --audio-auto --setting gl=2 -o windows.mtv sample.mpg > /dev/null
    mv sample.gl windows.gl
    "$linux" convert --audio-auto --setting gl=2 -o linux.mtv sample.mpg > /dev/null
    mv sample.gl linux.gl
    same_header_but_time windows.mtv linux.mtv || fail "the headers of the two builds differ"
    cmp windows.gl linux.gl || fail "the GOP lists of the two builds differ"

    # Real encoder output (ffmpeg on the Linux side): a program stream with Layer II audio,
    # the same in a transport stream with 192-byte packets, and its bare video. Both builds
    # find the same, by time codes and by a full scan, and write the same GOP lists.
    ffmpeg -v error -f lavfi -i testsrc=size=352x288:rate=25 -f lavfi -i sine=sample_rate=48000 \
      -t 4 -c:v mpeg2video -b:v 2M -c:a mp2 -b:a 192k -f vob encoded.mpg
    ffmpeg -v error -i encoded.mpg -c copy -mpegts_m2ts_mode 1 -f mpegts encoded.m2t
    ffmpeg -v error -i encoded.mpg -c copy -an -f mpeg2video encoded.m2v
    local input gl
    for input in encoded.mpg encoded.m2t encoded.m2v; do
      for gl in 0 2; do
        [ "$(cli info --json --setting gl=$gl "$input" | tr -d '\r')" = \
          "$("$linux" info --json --setting gl=$gl "$input")" ] ||
          fail "the two builds find different things in $input (gl=$gl)"
      done
      mv "${input%.*}.gl" windows.gl
      "$linux" info --setting gl=2 "$input" > /dev/null
      cmp windows.gl "${input%.*}.gl" || fail "the GOP lists of $input differ"
    done

    # A Japanese name opens, gets its header beside it, shows on the console and is stored
    # in the system's code page (932 here), as --name-encoding cp932 stores it on Linux.
    cp sample.mpg "ビデオ 01.mpg"
    [ "$(cli convert "ビデオ 01.mpg" | tr -d '\r')" = "ビデオ 01.mtv" ] ||
      fail "the Japanese name is not shown"
    "$linux" convert --name-encoding cp932 -o linux-ja.mtv "ビデオ 01.mpg" > /dev/null
    same_header_but_time "ビデオ 01.mtv" linux-ja.mtv || fail "the Japanese name is stored otherwise"
    cp sample.mpg café.mpg
    ! cli convert "café.mpg" 2> /dev/null || fail "a name without a code page 932 form was taken"

    # The decoder settings come from the registry: gl=2 always builds the GOP list and keeps
    # it, gl=3 neither reads nor writes the file.
    local key='HKCU\Software\orvane\daro2zud_aze'
    rm -f sample.gl
    wine reg add "$key" /v gl /t REG_DWORD /d 2 /f > /dev/null
    cli info sample.mpg > /dev/null
    [ -f sample.gl ] || fail "gl=2 in the registry wrote no GOP list"
    rm sample.gl
    wine reg add "$key" /v gl /t REG_DWORD /d 3 /f > /dev/null
    cli info sample.mpg > /dev/null
    [ ! -f sample.gl ] || fail "gl=3 in the registry wrote a GOP list"
    wine reg delete "$key" /f > /dev/null
  )
  echo "windows.sh: $1 end to end: passed"
}

for preset in "${presets[@]}"; do
  windows_configure "$preset"
  cmake --build --preset "$preset"
  # Under load Wine now and then fails to start a test program ("ShellExecuteEx failed") or
  # to end one whose test has passed: such a test runs again, up to three times in all.
  ctest --preset "$preset" --repeat until-pass:3
  # The native dialog's test drives real windows, which need a display (ctest alone skips
  # it). Wine's desktop lives as long as its server, so the server starts afresh on the
  # display and again after it; without a window manager Wine draws the window frames itself.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f > /dev/null
  wineserver -k && wineserver -w
  xvfb-run -a ctest --preset "$preset" -R '^win\.'
  wineserver -k && wineserver -w
  wineserver -p
  end_to_end "$preset"
done
