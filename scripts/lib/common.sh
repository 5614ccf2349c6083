# Sourced by every command of the project: strict mode, a message for every failure, locks and the build.
set -Eeuo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
command_name="scripts/$(basename "$0")"
next_step="run $command_name again; the lines above say what went wrong"

# Says what failed and what to do next, on stderr, and ends the command.
fail() {
  echo "$command_name: $1" >&2
  shift
  local line
  for line in "$@"; do echo "  $line" >&2; done
  exit 1
}

# A command that fails where nobody expected it still names itself and the next step.
trap 'status=$?; echo "$command_name: \"$BASH_COMMAND\" failed with status $status (${BASH_SOURCE[0]##*/}, line $LINENO); $next_step" >&2' ERR

# Wine refuses a prefix that another user owns, and the build cannot write into another user's files.
require_own_build() {
  mkdir -p "$root/build" 2>/dev/null || true
  local foreign
  foreign=$(find "$root/build" -maxdepth 3 ! -user "$(id -u)" -print -quit 2>/dev/null || true)
  if [ ! -w "$root/build" ] || [ -n "$foreign" ]; then
    fail "build/ holds files of $(stat -c %U "${foreign:-$root/build}"), an earlier run as another user, which $(id -un) cannot use." \
      "give them to $(id -un):  sudo chown -R $(id -un): $root/build" \
      "or start afresh:  sudo rm -rf $root/build"
  fi
}

# Holds a lock of this checkout until the command ends, saying so while another command holds it. Wine's own
# processes never inherit the lock: see without_locks.
take_lock() {
  local name=$1 fd=$2
  mkdir -p "$root/build/locks"
  eval "exec $fd>\"\$root/build/locks/\$name.lock\""
  if ! flock -n "$fd"; then
    echo "$command_name: waiting for another command of this checkout that is using $name" >&2
    flock "$fd"
  fi
}

# Runs a command that may outlive this one without the locks, which would otherwise stay taken.
without_locks() { "$@" 8>&- 9>&-; }

# Configures and builds a preset; one build at a time in this checkout.
build_preset() {
  take_lock build 8
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
  flock -u 8
}
