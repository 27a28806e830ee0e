#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the sample need, when missing, with
# Qt's own Japanese texts and a Japanese font for the dialog. `scripts/setup.sh windows` adds
# the cross-compilers for Windows, Wine to run their programs, and the sources of GoogleTest;
# `scripts/setup.sh windows32` also Wine's 32-bit side, of Debian's i386 architecture.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  googletest libgtest-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  qt6-base-dev
  qt6-translations-l10n fonts-ipafont-gothic
  ffmpeg mjpegtools
  clang libclang-rt-14-dev
  bash-completion
  lintian desktop-file-utils appstream man-db file dpkg-dev
)
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
case "${1:-}" in
  windows | windows32)
    packages+=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 ccache locales xvfb)
    ;;&
  windows32)
    packages+=(wine32:i386)
    dpkg --print-foreign-architectures | grep -qx i386 || "${sudo_cmd[@]}" dpkg --add-architecture i386
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
