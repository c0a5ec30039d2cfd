#!/usr/bin/env bash
# Builds and runs every benchmark under Wine and prints their figures, with the machine and
# its load before and after. Each bench measures its baseline in the same run and prints
# ratios against it; nothing here asserts a speed.
#
#   bash bench/run.sh [win32|win64] [BUILD_DIR]   (ROUNDS=N for more rounds)
#
# The target defaults to the 32-bit build where this machine executes 32-bit code, else the
# 64-bit one; its build folder to build/windows or build/windows64. Uses DISPLAY when it
# answers, else a private Xvfb display, and a Wine prefix of its own (build/wine-bench,
# build/wine-bench-win64, or KALVO_WINEPREFIX). The rebuild bench reads the bank's document
# stored beside the repository, or KALVO_RATES_DOCUMENT.
repo=$(cd "$(dirname "$0")/.." && pwd)
source "$repo/tools/report-failure.sh"
cd "$repo"
rounds="${ROUNDS:-15}"
bash tools/setup.sh >/dev/null
source tools/wine-env.sh

target="${1:-$(first_runnable_windows_target)}"
if [ -z "$target" ]; then
  echo "bench/run.sh: this machine can execute neither Windows build" >&2
  exit 1
fi
use_windows_target "$target" wine-bench
reason=$(windows_target_unrunnable_reason "$target")
if [ -n "$reason" ]; then
  echo "bench/run.sh: cannot run the $target build: $reason" >&2
  exit 1
fi
build=$(realpath -m "${2:-$KALVO_BUILD_DIR}")
echo "== benchmarks of the $target build in $build, under $KALVO_WINE"

if [ "$build" = "$KALVO_BUILD_DIR" ]; then
  cmake --preset "$KALVO_PRESET" >/dev/null
else
  cmake --preset "$KALVO_PRESET" -B "$build" >/dev/null
fi
# The release zip too: it holds Kalvo.exe, and a zip older than the exe fails its test.
cmake --build "$build" --target Kalvo EmptyDialog KeypressBench StartupBench RebuildBench release_zip

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
"$build/host-tools/tools/catalogue/kalvo_catalogue" "$starter" "$repo"/tools/catalogue/source/*.txt >/dev/null

document=$(realpath -m "${KALVO_RATES_DOCUMENT:-$repo/../shared/data/eurofxref-daily-2026-07-06.xml}")

echo "== machine"
echo "cpus: $(nproc), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "memory: $(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo)"
echo "wine: $("$KALVO_WINE" --version) ($target build)"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"

cd "$build/bench"
echo "== keypress"
"$KALVO_WINE" KeypressBench.exe "$starter"
echo "== start-up and memory ($rounds rounds)"
"$KALVO_WINE" StartupBench.exe ../Kalvo/Kalvo.exe "$starter" EmptyDialog.exe "$rounds"
echo "== currency rebuild"
if [ -f "$document" ]; then
  "$KALVO_WINE" RebuildBench.exe "$starter" "$document"
else
  echo "no stored rates document at $document"
fi
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
