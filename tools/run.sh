#!/usr/bin/env bash
# Sets up, builds and starts Kalvo under Wine: the 32-bit build where this machine executes
# 32-bit code, else the 64-bit one. Without a display it runs Kalvo on a private Xvfb display
# for a few seconds and saves a screenshot.
repo=$(cd "$(dirname "$0")/.." && pwd)
source "$repo/tools/report-failure.sh"
cd "$repo"
bash tools/setup.sh
source tools/wine-env.sh

target=$(first_runnable_windows_target)
if [ -z "$target" ]; then
  for t in "${kalvo_windows_targets[@]}"; do
    echo "run.sh: cannot start the $t build: $(windows_target_unrunnable_reason "$t")" >&2
  done
  exit 1
fi
use_windows_target "$target" wine
[ "$target" = win32 ] || echo "run.sh: starting the $target build: $(windows_target_unrunnable_reason win32)"
ensure_wine_prefix
cmake --preset "$KALVO_PRESET" >/dev/null
cmake --build --preset "$KALVO_PRESET" --target Kalvo
exe="$KALVO_BUILD_DIR/Kalvo/Kalvo.exe"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$KALVO_WINE" "$exe"
fi

echo "No display found: running Kalvo on a private Xvfb display for a few seconds."
trap stop_private_display EXIT
start_private_display
leave_windows_unmanaged
"$KALVO_WINE" "$exe" &
sleep "${KALVO_SHOT_DELAY:-6}"
mkdir -p "$repo/shots"
shot="$repo/shots/kalvo.png"
import -window root "$shot"
echo "Screenshot: $shot"
