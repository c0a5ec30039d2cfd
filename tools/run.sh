#!/usr/bin/env bash
# Sets up, builds and starts Kalvo under Wine. Without a display it runs Kalvo on a private
# Xvfb display for a few seconds and saves a screenshot.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
bash tools/setup.sh
source tools/wine-env.sh
ensure_wine_prefix
cmake --preset windows >/dev/null
cmake --build --preset windows --target Kalvo
exe="$repo/build/windows/Kalvo/Kalvo.exe"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec wine "$exe"
fi

echo "No display found: running Kalvo on a private Xvfb display for a few seconds."
trap stop_private_display EXIT
start_private_display
leave_windows_unmanaged
wine "$exe" &
sleep "${KALVO_SHOT_DELAY:-6}"
mkdir -p "$repo/shots"
shot="$repo/shots/kalvo.png"
import -window root "$shot"
echo "Screenshot: $shot"
