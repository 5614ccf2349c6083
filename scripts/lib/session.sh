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
# prefix with a server of its own. What it started is stopped when the command ends, however it ends.
start_session() {
  at_exit+=(stop_session)
  take_lock "$1" 9
  start_virtual_display
  if [ -n "${2:-}" ]; then
    prepare_prefix "$2" persistent
    without_window_manager
  fi
}

# No window manager runs on the command's own display, so Wine places the prefix's windows itself; otherwise
# each window that closes waits 2 s for a manager's answer that never comes.
without_window_manager() {
  grep -qsx '"Managed"="N"' "$WINEPREFIX/user.reg" && return
  start wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$WINEPREFIX.log" 2>&1
  wait_for "$!" || fail "Wine could not note in $WINEPREFIX that no window manager runs; its output is in $WINEPREFIX.log"
}

# A display number chosen by Xvfb itself, so two commands never take the same one. Without -noreset the server
# resets whenever its last client leaves, and refuses connections meanwhile.
start_virtual_display() {
  local log="$root/build/xvfb.$$.log" number="$root/build/xvfb.$$.display"
  # Its own child, so that $! is the server; it ends with this command even when that is killed outright.
  setpriv --pdeathsig TERM Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >"$log" 2>&1 8>&- 9>&- &
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

# Whether the display answers; asked for a few seconds, since one refused connection says little.
display_answers() {
  for _ in $(seq 20); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.25
  done
  return 1
}

# Under the lock of the command that uses a prefix, a server still running there was left by a command that was
# killed outright, with whatever it ran: it is stopped.
stop_stale_server() {
  if WINEPREFIX="$root/build/wine/$1" "$WINESERVER" -k >/dev/null 2>&1 </dev/null 8>&- 9>&-; then
    echo "Stopped the Wine server that a command killed earlier had left running in build/wine/$1"
  fi
}

# Makes the named prefix ready: Windows' directories, and Wine's own fonts where Windows keeps its fonts, so
# the program looks as it does on Windows. With "persistent", under the command's lock, a server of its own
# spares each process the server's start-up.
prepare_prefix() {
  local name=$1 mode=${2:-}
  use_prefix "$name"
  local log="$WINEPREFIX.log"
  mkdir -p "$WINEPREFIX"
  if [ "$mode" = persistent ]; then
    stop_stale_server "$name"
    "$WINESERVER" -p >>"$log" 2>&1 </dev/null 8>&- 9>&-
    started_servers+=("$WINEPREFIX")
  fi
  # The persistent server writes the registry only when it stops, so the system directory tells.
  if [ ! -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]; then
    echo "Preparing the Wine prefix $WINEPREFIX (Wine's output: $log)"
    start wineboot -i >>"$log" 2>&1
    wait_for "$!" || true
    [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] ||
      fail "Wine could not prepare $WINEPREFIX; its output is in $log" \
        "remove that directory and run $command_name again"
  fi
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null ||
    fail "Wine's own fonts are missing from /usr/share/wine/fonts" "install them: scripts/install-deps"
  # Wine's background services start here, on the log, so none of them holds a caller's output open.
  start wineboot >>"$log" 2>&1
  wait_for "$!" || true
}

# The window of Moravane on this display, of the given process when one is named; looked for during 30 s.
moravane_window() {
  local process=${1:-} window
  for _ in $(seq 300); do
    for window in $(xwininfo -root -tree 2>/dev/null | awk '/"Moravane": \("moravane.exe"/ {print $1}'); do
      if [ -z "$process" ] || [ "$(xprop -id "$window" _NET_WM_PID 2>/dev/null)" = "_NET_WM_PID(CARDINAL) = $process" ]; then
        echo "$window"
        return 0
      fi
    done
    sleep 0.1
  done
  return 1
}

# Waits for Moravane's window, as moravane_window finds it, and lets its start-up painting settle; prints its id.
wait_for_moravane() {
  local window
  window=$(moravane_window "${1:-}") || return 1
  sleep 2  # the log is attached 600 ms after start-up and the first paints are over by then
  echo "$window"
}

# Children first, then the servers of this command's prefixes with every Wine process they serve, then its
# display.
stop_session() {
  stop_children
  local prefix
  for prefix in ${started_servers[@]+"${started_servers[@]}"}; do
    WINEPREFIX=$prefix "$WINESERVER" -k >/dev/null 2>&1 || true
  done
  if [ -n "$started_xvfb" ]; then kill "$started_xvfb" 2>/dev/null || true; fi
}

# Whether press_buttons still runs; a zombie of it has ended.
pressing() {
  local process
  for process in $(pgrep -f 'press_buttons\.exe' || true); do running "$process" && return 0; done
  return 1
}

# Runs Moravane in a Wine desktop of its own on this command's display, so that Wine draws its title bar,
# presses the controls named after the picture's path, writes the picture of its window and ends that desktop.
shoot_moravane() {
  local picture=$1
  shift
  start wine explorer /desktop=Moravane,640x460 "$root/build/mingw-i686/bin/Moravane.exe" >>"$WINEPREFIX.log" 2>&1
  local window
  window=$(wait_for_moravane) ||
    fail "Moravane's window did not appear within 30 s; Wine's output is in $WINEPREFIX.log" "run $command_name again"
  if [ $# -gt 0 ]; then
    run wine explorer /desktop=Moravane "$root/build/mingw-i686/bin/press_buttons.exe" "$@"
    # explorer can return before the program it started ends: the picture waits for the last press.
    local tenths=0
    while pressing; do
      ((tenths++ < 300)) || fail "press_buttons did not end within 30 s" "run $command_name again"
      sleep 0.1
    done
    sleep 1
  fi
  run import -window "$window" "$picture"
}
