#!/usr/bin/env bash
# Makes the README's screenshots in docs/ from the real program: builds Kalvo, starts it beside
# a fresh starter catalogue on a private Xvfb display, drives it as a user would (clicks and
# keys) to the main window and each of its dialogs, and saves each cropped to its window: once
# at 96 DPI and once at 192 DPI, whose pictures end in -200.
repo=$(cd "$(dirname "$0")/.." && pwd)
source "$repo/tools/report-failure.sh"
cd "$repo"
bash tools/setup.sh
source tools/wine-env.sh

build_kalvo_for_first_runnable_target wine-shots

work=$(mktemp -d)
trap 'set_dpi 96; stop_private_display; rm -rf "$work"' EXIT
start_private_display
leave_windows_unmanaged

# The system DPI Kalvo starts at; Wine reads it when a program starts.
set_dpi() {
  "$KALVO_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
  wineserver -w
}

# The X window of the top-level window titled exactly TITLE (a regular expression), once it
# is shown; fails after 20 seconds.
window_titled() {
  local i id
  for i in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  echo "screenshots.sh: no window titled '$1' appeared" >&2
  return 1
}

# Saves the screen's pixels under window ID, with any tooltip standing over it, as docs/NAME.
save_window() {
  local id=$1 name=$2
  eval "$(xdotool getwindowgeometry --shell "$id")"
  sleep 0.5
  # Named after the commit they show, so a change that leaves every pixel alone still gives
  # new pictures to commit after it.
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage \
    -set comment "Kalvo at $(git rev-parse --short HEAD)" "docs/$name"
  echo "saved docs/$name (${WIDTH}x${HEIGHT})"
}

# A length of the 96-DPI layout at the current DPI, rounded as Kalvo rounds it.
scaled() { echo $((($1 * dpi + 48) / 96)); }

# Moves the pointer to the main window's client point X Y (96-DPI layout), or clicks there
# with "click". The client area is centred horizontally in the frame and flush with its
# bottom edge but for the frame's width.
point_main() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  local frame=$(((WIDTH - $(scaled 638)) / 2))
  xdotool mousemove $((X + frame + $(scaled $1))) $((Y + HEIGHT - frame - $(scaled 431) + $(scaled $2))) "${@:3}"
  sleep 0.5
}
click_main() { point_main "$1" "$2" click 1; }

# Starts a fresh copy of Kalvo with the starter catalogue at DPI and saves its main window and
# dialogs, each name ending in SUFFIX.
shoot() {
  dpi=$1
  local suffix=$2
  set_dpi "$dpi"
  rm -rf "$work"/*
  cp "$KALVO_BUILD_DIR/Kalvo/Kalvo.exe" "$KALVO_BUILD_DIR/Kalvo/Kalvo.mdb" "$work/"
  "$KALVO_WINE" "$work/Kalvo.exe" &
  main=$(window_titled '^Kalvo')

  # The starter catalogue opens on one metre; the pointer rests on a result row for its tip.
  point_main 396 146
  point_main 400 148
  sleep 2
  save_window "$main" "screenshot$suffix.png"

  click_main $((11 + 23)) $((399 + 14))       # the category list's Edit
  save_window "$(window_titled '^Category Properties$')" "category-properties$suffix.png"
  xdotool key Escape
  sleep 0.5

  click_main $((187 + 23)) $((399 + 14))      # the unit list's Edit
  save_window "$(window_titled '^Unit Properties$')" "unit-properties$suffix.png"
  xdotool key Escape
  sleep 0.5

  click_main $((520 + 16)) $((397 + 16))      # the About key
  save_window "$(window_titled '^Kalvo version')" "about$suffix.png"
  xdotool key Escape
  sleep 0.5

  click_main $((568 + 23)) $((399 + 14))      # Exit
  wineserver -w
}

shoot 96 ""
shoot 192 "-200"
