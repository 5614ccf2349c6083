# Sourced: the environment every Wine process of the project runs with.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
# Where 32-bit code runs through an emulator, the native 64-bit server spares it the server's work.
if [ -x /usr/lib/wine/wineserver64 ]; then
  export WINESERVER=/usr/lib/wine/wineserver64
fi
