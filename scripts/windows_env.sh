# Sourced by the scripts that build for Windows: `windows_env PRESET...` installs what the
# cross-build and Wine need, and starts Wine's services for the rest of the calling script;
# `windows_configure PRESET` stages the dependencies of the preset's architecture and
# configures its build.

triple_of() {
  case "$1" in
    windows) echo x86_64-w64-mingw32 ;;
    windows32) echo i686-w64-mingw32 ;;
    *) echo "unknown preset $1" >&2; exit 2 ;;
  esac
}

# What the build finds for Windows: GoogleTest built from Debian's sources, and the
# header-only CLI11 and nlohmann-json in a prefix of their own, so that the cross-compiler
# never sees /usr/include (and the glibc headers in it).
stage_dependencies() {
  local triple=$1
  local deps=build/deps/$triple
  [ -f "$deps/.staged" ] && return
  rm -rf "$deps" "build/deps/$triple-gtest"
  mkdir -p "$deps/include" "$deps/share/cmake"
  cp -r /usr/include/CLI /usr/include/nlohmann "$deps/include/"
  cp -r /usr/share/cmake/CLI11 /usr/share/cmake/nlohmann_json "$deps/share/cmake/"
  cmake -S /usr/src/googletest -B "build/deps/$triple-gtest" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/$triple.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PWD/$deps" \
    -DBUILD_GMOCK=OFF -DCMAKE_CXX_COMPILER_LAUNCHER=ccache > /dev/null
  cmake --build "build/deps/$triple-gtest" -j2 --target install > /dev/null
  touch "$deps/.staged"
}

windows_env() {
  if [[ " $* " == *" windows32 "* ]]; then
    scripts/setup.sh windows32
  else
    scripts/setup.sh windows
  fi
  # Wine takes its ANSI code page from the locale: a Japanese one gives code page 932.
  locale -a | grep -qx ja_JP.utf8 || localedef -i ja_JP -f UTF-8 ja_JP.UTF-8

  # Wine's own services, started once: otherwise the first test waits while Wine sets up its
  # prefix and starts them, and runs into its timeout.
  export WINEPREFIX=$PWD/build/wine WINEDEBUG=-all
  mkdir -p "$WINEPREFIX"
  wineserver -p
  trap 'wineserver -k || true' EXIT
  wine cmd /c exit
}

windows_configure() {
  stage_dependencies "$(triple_of "$1")"
  cmake --preset "$1" -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
}

