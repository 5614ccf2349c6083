# Sourced: the environment every Wine process of the project runs with. Each kind of command has a prefix of
# its own under build/wine; MORAVANE_PREFIX_NAME, set by the project's own scripts and tests, names it.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export MORAVANE_PREFIX_NAME="${MORAVANE_PREFIX_NAME:-test}"
export WINEPREFIX="$root/build/wine/$MORAVANE_PREFIX_NAME"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Where 32-bit code runs through an emulator, the native 64-bit server spares it the server's work.
if [ -x /usr/lib/wine/wineserver64 ]; then
  export WINESERVER=/usr/lib/wine/wineserver64
else
  export WINESERVER=wineserver
fi
