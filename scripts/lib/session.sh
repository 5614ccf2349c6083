# Sourced after common.sh: a virtual display and Wine prefixes of the command's own, and stopping only what
# this command started.
# shellcheck source=wine-env.sh
source "$root/scripts/lib/wine-env.sh"

started_xvfb=""
started_servers=()

# Switches this command's Wine processes to the prefix of the given name.
use_prefix() {
  export MORAVANE_PREFIX_NAME=$1
  export WINEPREFIX="$root/build/wine/$1"
}

# This command's session: its turn under the named lock, a virtual display and, when one is named, a prepared
# prefix with a server of its own. What it started is stopped when the command ends.
start_session() {
  trap stop_session EXIT
  take_lock "$1" 9
  start_virtual_display
  if [ -n "${2:-}" ]; then prepare_prefix "$2" persistent; fi
}

# A display number chosen by Xvfb itself, so two commands never take the same one.
start_virtual_display() {
  local log="$root/build/xvfb.$$.log" number="$root/build/xvfb.$$.display"
  # Started directly, not through without_locks: $! must be the server itself for stop_session to end it.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >"$log" 2>&1 8>&- 9>&- &
  started_xvfb=$!
  for _ in $(seq 100); do
    [ -s "$number" ] && break
    sleep 0.1
  done
  local display
  display=$(head -n 1 "$number" 2>/dev/null || true)
  rm -f "$number"
  [ -n "$display" ] || fail "the virtual display did not start within 10 s; Xvfb said: $(tail -n 3 "$log")" \
    "check that xvfb is installed (scripts/install-deps) and run $command_name again"
  rm -f "$log"
  export DISPLAY=":$display"
}

# Makes the named prefix ready: Windows' directories, and Wine's own fonts where Windows keeps its fonts, so
# the program looks as it does on Windows. With "persistent", a server of its own spares each process the
# server's start-up; one that was already running is used and left running.
prepare_prefix() {
  local name=$1 mode=${2:-}
  use_prefix "$name"
  local log="$WINEPREFIX.log"
  mkdir -p "$WINEPREFIX"
  if [ "$mode" = persistent ] && without_locks "$WINESERVER" -p >>"$log" 2>&1 </dev/null; then
    started_servers+=("$WINEPREFIX")
  fi
  # The persistent server writes the registry only when it stops, so the system directory tells.
  if [ ! -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]; then
    echo "Preparing the Wine prefix $WINEPREFIX (Wine's output: $log)"
    without_locks wineboot -i >>"$log" 2>&1 </dev/null || true
    [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] ||
      fail "Wine could not prepare $WINEPREFIX; its output is in $log" \
        "remove that directory and run $command_name again"
  fi
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null ||
    fail "Wine's own fonts are missing from /usr/share/wine/fonts" "install them: scripts/install-deps"
  # Wine's background services start here, on the log, so none of them holds a caller's output open.
  without_locks wineboot >>"$log" 2>&1 </dev/null || true
}

# Waits for Moravane's window on this display and lets its start-up painting settle; prints the window's id.
wait_for_moravane() {
  local window=""
  for _ in $(seq 300); do
    window=$(xwininfo -root -tree 2>/dev/null | awk '/"Moravane": \("moravane.exe"/ {print $1; exit}')
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || return 1
  sleep 2  # the log is attached 600 ms after start-up and the first paints are over by then
  echo "$window"
}

stop_session() {
  local prefix
  for prefix in ${started_servers[@]+"${started_servers[@]}"}; do
    WINEPREFIX=$prefix "$WINESERVER" -k >/dev/null 2>&1 || true
  done
  if [ -n "$started_xvfb" ]; then kill "$started_xvfb" 2>/dev/null || true; fi
}

# Runs Moravane in a Wine desktop of its own on this command's display, so that Wine draws its title bar,
# presses the controls named after the picture's path, writes the picture of its window and ends that desktop.
shoot_moravane() {
  local picture=$1
  shift
  wine explorer /desktop=Moravane,640x460 "$root/build/mingw-i686/bin/Moravane.exe" >>"$WINEPREFIX.log" 2>&1 8>&- 9>&- &
  local desktop=$! window
  if ! window=$(wait_for_moravane); then
    kill "$desktop" 2>/dev/null || true
    fail "Moravane's window did not appear within 30 s; Wine's output is in $WINEPREFIX.log" "run $command_name again"
  fi
  if [ $# -gt 0 ]; then
    wine explorer /desktop=Moravane "$root/build/mingw-i686/bin/press_buttons.exe" "$@" 8>&- 9>&- ||
      fail "pressing Moravane's buttons failed" "run $command_name again"
    sleep 1
  fi
  import -window "$window" "$picture"
  kill "$desktop" 2>/dev/null || true
}
