#!/usr/bin/env bash
# Builds everything under AddressSanitizer and UndefinedBehaviorSanitizer and runs every test.
# `scripts/test.sh --windows` then builds for 64-bit and 32-bit Windows and runs their tests
# under Wine (scripts/windows.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset test
cmake --build --preset test
ctest --preset test
if [ "${1:-}" = --windows ]; then
  scripts/windows.sh windows windows32
fi
