#!/usr/bin/env bash
# Sets up, builds and runs every test: the core on Linux under the sanitizers, a short fuzz
# run, then both Windows builds, and the Windows tests of each build this machine can
# execute, under Wine on a private Xvfb display.
repo=$(cd "$(dirname "$0")/.." && pwd)
source "$repo/tools/report-failure.sh"
cd "$repo"
bash tools/setup.sh
source tools/wine-env.sh

echo "== screenshots in docs/ against the skin, resources and layout"
bash tools/check-screenshots.sh

echo "== host build (AddressSanitizer, UBSan)"
cmake --preset host >/dev/null
cmake --build --preset host
ctest --preset host

echo "== fuzz smoke runs: numbers, value entry, rates scan, redirect address, catalogue file (clang, libFuzzer)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz

# Both targets are built on every machine, so a change that breaks either shows here.
for target in "${kalvo_windows_targets[@]}"; do
  use_windows_target "$target" wine-tests
  echo "== Windows build $target ($KALVO_PRESET preset)"
  cmake --preset "$KALVO_PRESET" >/dev/null
  cmake --build --preset "$KALVO_PRESET"
done

runnable=()
skipped=()
for target in "${kalvo_windows_targets[@]}"; do
  reason=$(windows_target_unrunnable_reason "$target")
  if [ -z "$reason" ]; then runnable+=("$target"); else skipped+=("$target not run: $reason"); fi
done
# "a, b" from the arguments (or "none"), for the summary lines.
joined() {
  [ $# -gt 0 ] || { echo none; return 0; }
  local text
  text=$(printf '%s, ' "$@")
  echo "${text%, }"
}

echo "== Windows suites: $(joined "${runnable[@]}") to run${skipped:+; $(joined "${skipped[@]}")}"
if [ ${#runnable[@]} -eq 0 ]; then
  echo "test.sh: this machine can execute neither Windows build, so no Windows test ran" >&2
  exit 1
fi

trap stop_private_display EXIT
start_private_display
results=()
failed=0
for target in "${runnable[@]}"; do
  use_windows_target "$target" wine-tests
  ensure_wine_prefix
  leave_windows_unmanaged
  start_at_default_dpi
  echo "== Windows tests of the $target build under $KALVO_WINE on display $DISPLAY"
  if ctest --preset "$KALVO_PRESET"; then
    results+=("$target passed")
  else
    results+=("$target FAILED")
    failed=1
  fi
  wineserver -k >/dev/null 2>&1 || true  # ends this prefix's server; it may be gone already
done
echo "== Windows suites: $(joined "${results[@]}")${skipped:+; $(joined "${skipped[@]}")}"
exit "$failed"
