#!/usr/bin/env bash
# Installs what the panel needs, builds it and opens it against the simulated
# lighting service. Without a display it runs on a virtual screen, saves a
# screenshot, prints where, and ends.
#
#   BUILD_DIR        build folder (default: build in the source tree)
#   SCREENSHOT       where the screenshot goes without a display
#                    (default: $BUILD_DIR/vornlight-screenshot.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
export BUILD_DIR=$build
service=OvTarskLumetService.ServiceMediator

# The script calls itself again inside a virtual display and a session bus;
# LUMET_RUN_STAGE says how far it got.
stage=${LUMET_RUN_STAGE:-fresh}

if [ "$stage" = fresh ]; then
  "$root/tools/install-deps.sh"
  echo "Building in $build"
  "$root/tools/build.sh"
  stage=built
fi

if [ "$stage" = built ]; then
  if [ -z "${DISPLAY:-}" ]; then
    echo "No display: running on a virtual screen"
    LUMET_RUN_STAGE=display LUMET_HEADLESS=1 exec "$root/tools/virtual-screen.sh" -s 1280x800x24 bash "$0"
  fi
  stage=display
fi

bus_works() {
  [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] && dbus-send --session --print-reply --dest=org.freedesktop.DBus \
    /org/freedesktop/DBus org.freedesktop.DBus.GetId >/dev/null 2>&1
}

if [ "$stage" = display ]; then
  if ! bus_works; then
    echo "No session bus: starting a private one"
    LUMET_RUN_STAGE=bus exec dbus-run-session -- bash "$0"
  fi
fi

service_running() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$service" 2>/dev/null | grep -q 'boolean true'
}

sim_pid=
panel_pid=
cleanup() {
  [ -n "$panel_pid" ] && kill "$panel_pid" 2>/dev/null || true
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
}
trap cleanup EXIT

if service_running; then
  echo "Using the lighting service already on the session bus"
else
  # The simulated service keeps its virtual rig in $XDG_STATE_HOME/vornlight.
  "$build/bin/vornlight-service-sim" &
  sim_pid=$!
  for _ in $(seq 100); do
    service_running && break
    kill -0 "$sim_pid" 2>/dev/null || { echo "The simulated lighting service did not start" >&2; exit 1; }
    sleep 0.1
  done
  service_running || { echo "The simulated lighting service did not come up" >&2; exit 1; }
  echo "Simulated lighting service running"
fi

if [ -z "${LUMET_HEADLESS:-}" ]; then
  "$build/bin/vornlight" "$@" &
  panel_pid=$!
  status=0
  wait "$panel_pid" || status=$?
  panel_pid=
  exit "$status"
fi

shot=${SCREENSHOT:-$build/vornlight-screenshot.png}
"$build/bin/vornlight" "$@" &
panel_pid=$!
shown=
for _ in $(seq 150); do
  if xdotool search --onlyvisible --name '^Vornlight Beta$' >/dev/null 2>&1; then shown=1; break; fi
  kill -0 "$panel_pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$shown" ]; then
  status=0
  kill -0 "$panel_pid" 2>/dev/null || { wait "$panel_pid" || status=$?; panel_pid=; }
  echo "The panel did not open its window (exit code $status)" >&2
  exit 1
fi
# Give the window a moment to paint.
sleep 1.5
import -window root "$shot"
echo "Screenshot of the panel: $shot"
