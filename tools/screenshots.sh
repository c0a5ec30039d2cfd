#!/usr/bin/env bash
# Makes the README's screenshots in docs/ from the real program: builds Kalvo, starts it beside
# a fresh starter catalogue on a private Xvfb display, drives it as a user would (clicks and
# keys) to the main window and each of its dialogs, and saves each cropped to its window.
repo=$(cd "$(dirname "$0")/.." && pwd)
source "$repo/tools/report-failure.sh"
cd "$repo"
bash tools/setup.sh
source tools/wine-env.sh

build_kalvo_for_first_runnable_target wine-shots

work=$(mktemp -d)
trap 'stop_private_display; rm -rf "$work"' EXIT
cp "$KALVO_BUILD_DIR/Kalvo/Kalvo.exe" "$KALVO_BUILD_DIR/Kalvo/Kalvo.mdb" "$work/"
start_private_display
leave_windows_unmanaged
"$KALVO_WINE" "$work/Kalvo.exe" &

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

# Moves the pointer to the main window's client point X Y, or clicks there with "click".
# The client area is 638 x 431 pixels, centred horizontally in the frame and flush with its
# bottom edge but for the frame's width.
main=$(window_titled '^Kalvo')
point_main() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  local frame=$(((WIDTH - 638) / 2))
  xdotool mousemove $((X + frame + $1)) $((Y + HEIGHT - frame - 431 + $2)) "${@:3}"
  sleep 0.5
}
click_main() { point_main "$1" "$2" click 1; }

# The starter catalogue opens on one metre; the pointer rests on a result row for its tip.
point_main 396 146
point_main 400 148
sleep 2
save_window "$main" screenshot.png

click_main $((11 + 23)) $((399 + 14))       # the category list's Edit
save_window "$(window_titled '^Category Properties$')" category-properties.png
xdotool key Escape
sleep 0.5

click_main $((187 + 23)) $((399 + 14))      # the unit list's Edit
save_window "$(window_titled '^Unit Properties$')" unit-properties.png
xdotool key Escape
sleep 0.5

click_main $((520 + 16)) $((397 + 16))      # the About key
save_window "$(window_titled '^Kalvo version')" about.png
xdotool key Escape
