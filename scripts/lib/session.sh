# Sourced: starts a virtual display and a Wine session for the project, and stops what it started.
# shellcheck source=wine-env.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"

started_xvfb=""

start_virtual_display() {
  local display=99
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  started_xvfb=$!
  export DISPLAY=":$display"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "Xvfb did not start" >&2
  return 1
}

# A persistent server spares every test process Wine's start-up. Wine's own background processes
# are started here, on /dev/null, so none of them holds a test's output pipe open.
start_wine_session() {
  # The persistent server writes the registry only when it stops, so the system directory tells.
  local prepared="$WINEPREFIX/drive_c/windows/system32/kernel32.dll"
  mkdir -p "$WINEPREFIX"
  "${WINESERVER:-wineserver}" -p
  if [ ! -f "$prepared" ]; then
    echo "Preparing the Wine prefix in $WINEPREFIX"
    wineboot -i >"$WINEPREFIX.log" 2>&1 </dev/null || true
    [ -f "$prepared" ] || { cat "$WINEPREFIX.log" >&2; return 1; }
  fi
  wineboot >/dev/null 2>&1 </dev/null
}

stop_session() {
  "${WINESERVER:-wineserver}" -k >/dev/null 2>&1 || true
  if [ -n "$started_xvfb" ]; then kill "$started_xvfb" 2>/dev/null || true; fi
}
