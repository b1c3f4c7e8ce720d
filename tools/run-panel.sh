#!/usr/bin/env bash
# Installs what the panel needs, builds it and opens it against the simulated
# lighting service. Without a display it runs on a virtual screen, saves a
# screenshot, prints where, and ends.
#
#   tools/run-panel.sh [--openrgb] [PANEL OPTIONS...]
#
#   --openrgb        drive real lights instead: start the OpenRGB test server
#                    (../shared/openrgb beside the source tree, or
#                    $LUMET_OPENRGB_DIR) with its simulated memory modules, main
#                    board and keyboard, and vornlight-service against it, on a
#                    private session bus. Without a display the panel is then
#                    made to apply static red to every LED, and what the modules
#                    show is read back from the server and printed.
#   BUILD_DIR        build folder (default: build in the source tree)
#   SCREENSHOT       where the screenshot goes without a display
#                    (default: $BUILD_DIR/vornlight-screenshot.png, or
#                    vornlight-openrgb-screenshot.png with --openrgb)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
export BUILD_DIR=$build
service=OvTarskLumetService.ServiceMediator

openrgb=
if [ "${1:-}" = --openrgb ]; then
  openrgb=1
  shift
fi
# The script calls itself again inside a virtual display and a session bus;
# LUMET_RUN_STAGE says how far it got.
stage=${LUMET_RUN_STAGE:-fresh}
again=(bash "$0" ${openrgb:+--openrgb} "$@")

if [ "$stage" = fresh ]; then
  "$root/tools/install-deps.sh"
  echo "Building in $build"
  "$root/tools/build.sh"
  stage=built
fi

if [ "$stage" = built ]; then
  if [ -z "${DISPLAY:-}" ]; then
    echo "No display: running on a virtual screen"
    LUMET_RUN_STAGE=display LUMET_HEADLESS=1 exec "$root/tools/virtual-screen.sh" -s 1280x800x24 "${again[@]}"
  fi
  stage=display
fi

bus_works() {
  [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] && dbus-send --session --print-reply --dest=org.freedesktop.DBus \
    /org/freedesktop/DBus org.freedesktop.DBus.GetId >/dev/null 2>&1
}

if [ "$stage" = display ]; then
  # The OpenRGB demonstration brings its own service: a bus of its own keeps
  # it apart from any lighting service the session runs.
  if [ -n "$openrgb" ] || ! bus_works; then
    echo "Starting a private session bus"
    LUMET_RUN_STAGE=bus exec dbus-run-session -- "${again[@]}"
  fi
fi

service_running() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$service" 2>/dev/null | grep -q 'boolean true'
}

server_pid=
sim_pid=
panel_pid=
work=
cleanup() {
  [ -n "$panel_pid" ] && kill "$panel_pid" 2>/dev/null || true
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  [ -n "$work" ] && rm -rf "$work"
  return 0
}
trap cleanup EXIT

start_service() { # name, program and its arguments
  local name=$1
  shift
  "$@" &
  sim_pid=$!
  for _ in $(seq 100); do
    service_running && break
    kill -0 "$sim_pid" 2>/dev/null || { echo "The $name did not start" >&2; exit 1; }
    sleep 0.1
  done
  service_running || { echo "The $name did not come up" >&2; exit 1; }
  echo "The $name is running"
}

if [ -n "$openrgb" ]; then
  folder=${LUMET_OPENRGB_DIR:-}
  for candidate in "$root/../shared/openrgb" "$root/../../shared/openrgb"; do
    [ -z "$folder" ] && [ -f "$candidate/run-server.sh" ] && folder=$(cd "$candidate" && pwd)
  done
  [ -n "$folder" ] && [ -f "$folder/run-server.sh" ] || {
    echo "No OpenRGB test server: looked for run-server.sh in ../shared/openrgb (set LUMET_OPENRGB_DIR)" >&2
    exit 1
  }
  # A port nobody answers on.
  port=
  for _ in $(seq 50); do
    candidate=$((20000 + RANDOM % 40000))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$candidate") 2>/dev/null; then port=$candidate; break; fi
  done
  [ -n "$port" ] || { echo "No free port found" >&2; exit 1; }
  work=$(mktemp -d "${TMPDIR:-/tmp}/vornlight-openrgb.XXXXXX")
  bash "$folder/run-server.sh" "$port" >"$work/openrgb.log" 2>&1 &
  server_pid=$!
  "$build/bin/openrgb-probe" --wait 15 "127.0.0.1:$port" >/dev/null || {
    echo "The OpenRGB test server did not come up; its output:" >&2
    cat "$work/openrgb.log" >&2
    exit 1
  }
  echo "OpenRGB test server on 127.0.0.1:$port"
  # A state of its own: the demonstration leaves the user's saved lighting alone.
  start_service "OpenRGB lighting service (vornlight-service)" \
    "$build/bin/vornlight-service" --openrgb "127.0.0.1:$port" --state-dir "$work/state"
elif service_running; then
  echo "Using the lighting service already on the session bus"
else
  # The simulated service keeps its virtual rig in $XDG_STATE_HOME/vornlight.
  start_service "simulated lighting service" "$build/bin/vornlight-service-sim"
fi

if [ -z "${LUMET_HEADLESS:-}" ]; then
  "$build/bin/vornlight" "$@" &
  panel_pid=$!
  status=0
  wait "$panel_pid" || status=$?
  panel_pid=
  exit "$status"
fi

if [ -n "$openrgb" ]; then
  shot=${SCREENSHOT:-$build/vornlight-openrgb-screenshot.png}
else
  shot=${SCREENSHOT:-$build/vornlight-screenshot.png}
fi
"$build/bin/vornlight" "$@" &
panel_pid=$!
window=
for _ in $(seq 150); do
  window=$(xdotool search --onlyvisible --name '^Vornlight Beta$' 2>/dev/null | head -n1) || true
  [ -n "$window" ] && break
  kill -0 "$panel_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$window" ]; then
  status=0
  kill -0 "$panel_pid" 2>/dev/null || { wait "$panel_pid" || status=$?; panel_pid=; }
  echo "The panel did not open its window (exit code $status)" >&2
  exit 1
fi
# Give the window a moment to paint.
sleep 1.5

if [ -n "$openrgb" ]; then
  click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.4; }
  # As a user would: the static effect, pure red, spread over every LED, APPLY.
  click 90 113    # the first effect, Static
  click 662 182   # the palette's pure red
  click 234 273   # the colour span: the picked LED's colour to every LED
  click 780 655   # APPLY; the panel reads the status back after a second
  sleep 2
fi
import -window root "$shot"
echo "Screenshot of the panel: $shot"
if [ -n "$openrgb" ]; then
  echo "What the memory modules show, read back from the OpenRGB server:"
  "$build/bin/openrgb-probe" --modules "127.0.0.1:$port"
fi
