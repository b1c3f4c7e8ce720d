#!/usr/bin/env bash
# Runs a command on a virtual X screen (Xvfb) of its own and stops the screen
# when the command ends. Every script and test that needs X gets its screen
# here, so they can run side by side.
#
#   tools/virtual-screen.sh [-s WIDTHxHEIGHTxDEPTH] COMMAND [ARG...]
#   tools/virtual-screen.sh [-s WIDTHxHEIGHTxDEPTH]
#
# With a command, DISPLAY names the screen while it runs and its exit code is
# the script's. Without one, the script prints the display (":N") on its own
# line and keeps the screen until its standard input closes; a test holds it
# that way for as long as it runs.
#
# The screen is ours once the X server's own lock file names our server (other
# servers may be starting beside us on a number they drew at random too), and
# usable once a client gets through. The server never resets: one that is not
# started with -noreset resets whenever its last client leaves, and a client
# that connects during the reset is refused.
set -euo pipefail
geometry=1280x800x24
if [ "${1:-}" = -s ]; then
  geometry=$2
  shift 2
fi
command -v Xvfb >/dev/null && command -v xdpyinfo >/dev/null ||
  { echo "virtual-screen: Xvfb and xdpyinfo are needed (tools/install-deps.sh)" >&2; exit 1; }

log=$(mktemp)
xvfb_pid=
stop_server() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  xvfb_pid=
}
command_pid=
trap 'stop_server; rm -f "$log"' EXIT
# Ended from outside, the command and the screen go too. (Both wait in the
# background below: a trap would wait for a command in the foreground.)
trap '[ -z "$command_pid" ] || kill "$command_pid" 2>/dev/null; exit 143' TERM
trap '[ -z "$command_pid" ] || kill "$command_pid" 2>/dev/null; exit 130' INT

display=
for _ in $(seq 20); do
  number=$((200 + RANDOM % 800))
  lock=/tmp/.X$number-lock
  [ -e "$lock" ] && continue
  Xvfb ":$number" -noreset -nolisten tcp -screen 0 "$geometry" >"$log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 150); do
    kill -0 "$xvfb_pid" 2>/dev/null || break
    # The redirections in this order: a lock file not yet there is no error.
    if [ "$(tr -d ' ' 2>/dev/null <"$lock")" = "$xvfb_pid" ] &&
       DISPLAY=":$number" xdpyinfo >/dev/null 2>&1; then
      display=:$number
      break
    fi
    sleep 0.1
  done
  [ -n "$display" ] && break
  stop_server
done
if [ -z "$display" ]; then
  echo "virtual-screen: no X server could be started" >&2
  cat "$log" >&2
  exit 1
fi

# A command in the background reads /dev/null unless told otherwise.
if [ $# -eq 0 ]; then
  echo "$display"
  cat <&0 >/dev/null &
else
  DISPLAY=$display "$@" <&0 &
fi
command_pid=$!
status=0
wait "$command_pid" || status=$?
command_pid=
exit "$status"
