#!/usr/bin/env bash
# Builds and runs every benchmark under Wine and prints their figures, with the machine and
# its load before and after. Each bench measures its baseline in the same run and prints
# ratios against it; nothing here asserts a speed.
#
#   bash bench/run.sh [BUILD_DIR]     (default build/windows; ROUNDS=N for more rounds)
#
# Uses DISPLAY when it answers, else a private Xvfb display, and a Wine prefix of its own
# (build/wine-bench, or KALVO_WINEPREFIX). The rebuild bench reads the bank's document
# stored beside the repository, or KALVO_RATES_DOCUMENT.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
build=$(realpath -m "${1:-build/windows}")
rounds="${ROUNDS:-15}"
bash tools/setup.sh >/dev/null
KALVO_WINEPREFIX="${KALVO_WINEPREFIX:-$repo/build/wine-bench}" source tools/wine-env.sh

if [ "$build" = "$repo/build/windows" ]; then
  cmake --preset windows >/dev/null
else
  cmake --preset windows -B "$build" >/dev/null
fi
# The release zip too: it holds Kalvo.exe, and a zip older than the exe fails its test.
cmake --build "$build" --target Kalvo EmptyDialog KeypressBench StartupBench RebuildBench kalvo_catalogue \
  release_zip

scratch=$(mktemp -d)
cleanup() {
  rm -rf "$scratch"
  if [ -n "$xvfb_pid" ]; then stop_private_display; fi
}
trap cleanup EXIT
ensure_wine_prefix
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  start_private_display
fi
# Windows that no window manager maps: otherwise Wine waits for one on every start.
leave_windows_unmanaged

# A starter catalogue made now from the sources: the one beside the built program keeps
# the state of every run from there.
starter="$scratch/Kalvo.mdb"
wine "$build/tools/catalogue/kalvo_catalogue.exe" "$starter" "$repo"/tools/catalogue/source/*.txt >/dev/null

document=$(realpath -m "${KALVO_RATES_DOCUMENT:-$repo/../shared/data/eurofxref-daily-2026-07-06.xml}")

echo "== machine"
echo "cpus: $(nproc), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "memory: $(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
echo "wine: $(wine --version)"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"

cd "$build/bench"
echo "== keypress"
wine KeypressBench.exe "$starter"
echo "== start-up and memory ($rounds rounds)"
wine StartupBench.exe ../Kalvo/Kalvo.exe "$starter" EmptyDialog.exe "$rounds"
echo "== currency rebuild"
if [ -f "$document" ]; then
  wine RebuildBench.exe "$starter" "$document"
else
  echo "no stored rates document at $document"
fi
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
