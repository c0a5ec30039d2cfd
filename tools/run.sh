#!/usr/bin/env bash
# Sets up, builds and starts Kalvo under Wine: the 32-bit build where this machine executes
# 32-bit code, else the 64-bit one. Without a display it runs Kalvo on a private Xvfb display
# for a few seconds and saves a screenshot.
repo=$(cd "$(dirname "$0")/.." && pwd)
source "$repo/tools/report-failure.sh"
cd "$repo"
bash tools/setup.sh
source tools/wine-env.sh

build_kalvo_for_first_runnable_target wine
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
