# Sourced by every command of the project: strict mode, a message for every failure, children that end with the
# command, locks and the build.
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

# The children this command waits for, each the leader of a process group of its own (see start), and what its
# end stops besides them, in order.
children=()
at_exit=()

# A signal ends the command as it would have without a trap, 128 + its number, once everything it started has
# stopped.
on_signal() {
  trap '' INT TERM HUP
  echo "$command_name: stopped by SIG$1; stopping what it started" >&2
  exit $((128 + $2))
}
trap 'on_signal INT 2' INT
trap 'on_signal TERM 15' TERM
trap 'on_signal HUP 1' HUP

on_exit() {
  stop_children
  local stop
  for stop in ${at_exit[@]+"${at_exit[@]}"}; do "$stop" || true; done
}
trap on_exit EXIT

# Starts a command in the background in a process group of its own, without the locks: a signal's trap ends the
# group whole (ctest with its test programs, Wine with the programs it runs), and a child cannot keep a lock once
# this command is gone. The child gets SIGTERM when this command is killed outright. Bash runs a trap only after
# a child in the foreground has ended, so every child that may take a while runs this way: see run.
start() { start_with_locks "$@" 7>&- 8>&- 9>&-; }
start_with_locks() {
  setpriv --pdeathsig TERM setsid "$@" &
  children+=("$!")
}

# Waits for a child that start started and gives its status.
wait_for() {
  local status=0 child kept=()
  wait "$1" || status=$?
  for child in ${children[@]+"${children[@]}"}; do [ "$child" = "$1" ] || kept+=("$child"); done
  children=(${kept[@]+"${kept[@]}"})
  return "$status"
}

# Runs a command to its end as a child that a signal stops; its failure ends this command.
run() {
  local status=0
  start "$@"
  wait_for "$!" || status=$?
  [ "$status" -eq 0 ] ||
    fail "\"$*\" failed with status $status (${BASH_SOURCE[1]##*/}, line ${BASH_LINENO[0]}); $next_step"
}

# Whether a process runs. A zombie has ended: kill -0 finds it until its parent collects its status, which an
# orphan's never does where process 1 does not reap (a container's `tail -f /dev/null`).
running() {
  local stat
  read -r stat 2>/dev/null <"/proc/$1/stat" && [[ ${stat##*) } != Z* ]]
}

# Whether a process of the given group runs, zombies aside.
group_running() { ps -e -o pgid=,stat= | awk -v group="$1" '$1 == group && $2 !~ /^Z/ { found = 1 } END { exit !found }'; }

# Asks every child's group to end, and ends it outright if it has not within 6 s: a child that is a command of
# the project first stops what it started, which takes a few seconds at most.
stop_children() {
  local child
  for child in ${children[@]+"${children[@]}"}; do kill -TERM -- "-$child" 2>/dev/null || true; done
  for child in ${children[@]+"${children[@]}"}; do
    for _ in $(seq 60); do
      group_running "$child" || break
      sleep 0.1
    done
    kill -KILL -- "-$child" 2>/dev/null || true
  done
  children=()
}

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

# Holds the lock open on the given descriptor until the command ends, saying what it waits for while another
# command holds it; a signal stops the command while it waits. No child inherits it: see start.
hold_lock() {
  if ! flock -n "$1"; then
    echo "$command_name: waiting for $2" >&2
    start_with_locks flock "$1"
    wait_for "$!"
  fi
}

# Holds a lock of this checkout until the command ends.
take_lock() {
  local name=$1 fd=$2
  mkdir -p "$root/build/locks"
  eval "exec $fd>\"\$root/build/locks/\$name.lock\""
  hold_lock "$fd" "another command of this checkout that is using $name"
}

# The lock through which scripts/install-deps takes its turn on the whole machine, whatever the checkout.
install_lock=/var/lock/moravane-install-deps.lock
[ -w /var/lock ] || install_lock=/tmp/moravane-install-deps.lock

# Installs what is missing. As root it is a child that a signal stops at once; otherwise it runs in the
# foreground, where sudo can ask for a password, and a signal stops this command once it has ended.
install_deps() {
  if [ "$(id -u)" -eq 0 ]; then
    run "$root/scripts/install-deps" "$@"
  else
    "$root/scripts/install-deps" "$@"
  fi
}

# Configures and builds a preset, with any further settings for its configuration; one build at a time in this
# checkout.
build_preset() {
  take_lock build 8
  run cmake --preset "$@" >/dev/null
  run cmake --build --preset "$1"
  flock -u 8
}
