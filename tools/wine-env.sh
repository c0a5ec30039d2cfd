# Sourced by the scripts that build and run Windows programs: the two Windows targets, which
# of them this machine can execute, a Wine prefix per target and, on request, a private X
# display.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${WINEDEBUG:--all}"

kalvo_windows_targets=(win32 win64)

# use_windows_target TARGET PREFIX_NAME: points the build folder, the CMake preset, the Wine
# loader (KALVO_WINE) and a prefix of the target's own (build/PREFIX_NAME for win32,
# build/PREFIX_NAME-win64 for win64, or KALVO_WINEPREFIX) at TARGET.
use_windows_target() {
  local target=$1 prefix_name=$2
  case "$target" in
    win32)
      KALVO_PRESET=windows
      KALVO_WINE=/usr/lib/wine/wine
      export WINEARCH=win32
      export WINEPREFIX="${KALVO_WINEPREFIX:-$repo/build/$prefix_name}" ;;
    win64)
      KALVO_PRESET=windows64
      KALVO_WINE=/usr/lib/wine/wine64
      export WINEARCH=win64
      export WINEPREFIX="${KALVO_WINEPREFIX:-$repo/build/$prefix_name-win64}" ;;
    *)
      echo "unknown Windows target '$target' (win32 or win64)" >&2
      return 1 ;;
  esac
  KALVO_TARGET=$target
  KALVO_BUILD_DIR="$repo/build/$KALVO_PRESET"
  export KALVO_WINE
}

# Prints why this machine cannot execute TARGET's programs under Wine, or nothing when it
# can. Found out by trying the target's own Wine loader: some machines execute no 32-bit
# code at all, and there Wine's 32-bit loader fails with "Exec format error".
windows_target_unrunnable_reason() {
  local loader output
  case "$1" in
    win32) loader=/usr/lib/wine/wine ;;
    win64) loader=/usr/lib/wine/wine64 ;;
  esac
  if [ ! -x "$loader" ]; then
    echo "$loader is not installed"
    return 0
  fi
  # Expected to fail on such machines: the failure is the answer, not an error.
  if ! output=$("$loader" --version 2>&1); then
    case "$output" in
      *"Exec format error"*) echo "this machine executes no ${1#win}-bit code ($loader: Exec format error)" ;;
      *) echo "$loader --version failed: $(printf '%s' "$output" | tail -n 1)" ;;
    esac
  fi
}

# The targets this machine can execute, in order, one a line.
runnable_windows_targets() {
  local target
  for target in "${kalvo_windows_targets[@]}"; do
    [ -n "$(windows_target_unrunnable_reason "$target")" ] || echo "$target"
  done
}

# The first of them, or nothing. Not "runnable_windows_targets | head -n 1": head may close
# the pipe before the second line is written, and under pipefail that SIGPIPE fails the
# script.
first_runnable_windows_target() {
  local target
  for target in "${kalvo_windows_targets[@]}"; do
    if [ -z "$(windows_target_unrunnable_reason "$target")" ]; then
      echo "$target"
      return 0
    fi
  done
}

# Points everything at the first target this machine can execute, with a prefix named
# PREFIX_NAME (as use_windows_target), creates the prefix and builds Kalvo there; when it
# can execute neither, says why for each and fails.
build_kalvo_for_first_runnable_target() {
  local target t
  target=$(first_runnable_windows_target)
  if [ -z "$target" ]; then
    for t in "${kalvo_windows_targets[@]}"; do
      echo "cannot start the $t build: $(windows_target_unrunnable_reason "$t")" >&2
    done
    return 1
  fi
  use_windows_target "$target" "$1"
  [ "$target" = win32 ] || echo "starting the $target build: $(windows_target_unrunnable_reason win32)"
  ensure_wine_prefix
  cmake --preset "$KALVO_PRESET" >/dev/null
  cmake --build --preset "$KALVO_PRESET" --target Kalvo
}

xvfb_pid=""

# Starts Xvfb on the first free display number and points DISPLAY at it. The screen holds the
# main window at 200 percent with its frame.
start_private_display() {
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1920x1200x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true  # it may have ended already: try the next number
  done
  echo "could not start Xvfb on any display from :90 to :120" >&2
  return 1
}

# Ends the Wine server of the current prefix and the private display. Either may be gone
# already, which is fine.
stop_private_display() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  xvfb_pid=""
}

# Creates the current target's prefix once, quietly, so the first test does not pay for it.
ensure_wine_prefix() {
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  mkdir -p "$WINEPREFIX"
  if ! "$KALVO_WINE" wineboot --init >"$WINEPREFIX/wineboot.log" 2>&1; then
    echo "could not create the Wine prefix $WINEPREFIX; wineboot said:" >&2
    tail -n 20 "$WINEPREFIX/wineboot.log" >&2
    return 1
  fi
  wineserver -w
}

# For a private Xvfb display, which runs no window manager: a managed window makes Wine
# wait up to two seconds for a manager to map or withdraw it.
leave_windows_unmanaged() {
  "$KALVO_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
  wineserver -w
}

# The DPI tests set the prefix's DPI while they run and put it back; one that was killed
# leaves its DPI behind, so a suite starts from the default.
start_at_default_dpi() {
  "$KALVO_WINE" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
  wineserver -w
}
