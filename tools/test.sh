#!/usr/bin/env bash
# Sets up, builds and runs every test: the core on Linux under the sanitizers, then the
# Windows build under Wine on a private Xvfb display.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
bash tools/setup.sh
KALVO_WINEPREFIX="$repo/build/wine-tests" source tools/wine-env.sh

echo "== host build (AddressSanitizer, UBSan)"
cmake --preset host >/dev/null
cmake --build --preset host
ctest --preset host

echo "== fuzz smoke runs: numbers, rates scan, redirect address, catalogue file (clang, libFuzzer)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz

echo "== Windows build (MinGW-w64 i686)"
ensure_wine_prefix
leave_windows_unmanaged
cmake --preset windows >/dev/null
cmake --build --preset windows

trap stop_private_display EXIT
start_private_display
echo "== Windows tests under Wine on display $DISPLAY"
ctest --preset windows
