#!/usr/bin/env bash
# Takes the panel's screenshot set from the real window: a private virtual
# screen and session bus, the simulated lighting service, and the built panel
# driven with the pointer like a user would. Each effect view (the rainbow and
# comet views in both of their choices), an effect the panel has no view for,
# the LEDs switched off, the German texts, the keyboard's focus frame, and a
# set at twice the scale as on a high-density screen (in OUTDIR/scale2/).
#
#   tools/screenshots.sh [--docs] [OUTDIR]   (default: $BUILD_DIR/screenshots)
#
#   --docs      also refresh the two pictures the README shows (static and
#               rainbow) in docs/screenshots/, compressed hard
#   BUILD_DIR   the build folder holding bin/vornlight (default: build)
#
# Every picture is checked for real content; the script fails otherwise.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bin=$build/bin
docs=
if [ "${1:-}" = --docs ]; then
  docs=$root/docs/screenshots
  shift
fi
out=${1:-$build/screenshots}
service=OvTarskLumetService.ServiceMediator

for tool in Xvfb xdpyinfo xdotool import identify convert dbus-run-session dbus-send; do
  command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing (tools/install-deps.sh)" >&2; exit 1; }
done
for program in vornlight vornlight-service-sim; do
  [ -x "$bin/$program" ] || { echo "screenshots: $bin/$program is not built" >&2; exit 1; }
done

# On a virtual screen and inside a session bus of our own from here on; the
# screen has room for the window at twice the scale (1720 x 1400).
if [ -z "${LUMET_SHOTS_BUS:-}" ]; then
  LUMET_SHOTS_BUS=1 exec dbus-run-session -- "$root/tools/virtual-screen.sh" -s 1920x1440x24 \
    bash "$0" ${docs:+--docs} "$@"
fi

mkdir -p "$out"
out=$(cd "$out" && pwd)
scratch=$(mktemp -d)
sim_pid=
panel_pid=
cleanup() {
  for pid in $panel_pid $sim_pid; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$scratch"
}
trap cleanup EXIT

# A fresh virtual rig, lock and registry for this run only.
export XDG_STATE_HOME=$scratch/state XDG_RUNTIME_DIR=$scratch/run
mkdir -p "$XDG_STATE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# The registry file that installing writes, so the version label shows.
template=$build/dist/install-templates/registry.reg.in
if [ -f "$template" ]; then
  sed "s|@INSTALL_PREFIX@|$build|g" "$template" >"$scratch/registry.reg"
fi
chmod 600 "$scratch/registry.reg" 2>/dev/null || true
export VORNLIGHT_REGISTRY=$scratch/registry.reg

service_running() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$service" 2>/dev/null | grep -q 'boolean true'
}

start_service() {
  "$bin/vornlight-service-sim" "$@" &
  sim_pid=$!
  for _ in $(seq 100); do
    service_running && return 0
    kill -0 "$sim_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "screenshots: the simulated lighting service did not start" >&2
  exit 1
}

stop() {
  local pid=$1
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

window=
start_panel() {
  env LANG="$1" LC_ALL="$1" "$bin/vornlight" &
  panel_pid=$!
  window=
  for _ in $(seq 150); do
    window=$(xdotool search --onlyvisible --name '^Vornlight Beta$' 2>/dev/null | head -n1) || true
    [ -n "$window" ] && break
    kill -0 "$panel_pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "screenshots: the panel did not open its window" >&2; exit 1; }
  sleep 1
}

stop_panel() {
  stop "$panel_pid"
  panel_pid=
}

# The effect list holds one 33-pixel button per effect of the group, in
# ascending order of number, from y 97 of the window.
group_effects() {
  dbus-send --session --print-reply --dest=$service /ServiceMediator $service.GetCapability |
    awk '/<device key="Group">/ {g = 1} g && /<\/device>/ {exit} g' |
    grep -o '<mode key="[0-9]*"' | grep -o '[0-9]*' | sort -n
}

# The panel's scale: window points are this many screen pixels.
scale=1

click() {
  xdotool mousemove --window "$window" $(($1 * scale)) $(($2 * scale)) click 1
  # Off the window's controls, so no hover look shows in the picture.
  xdotool mousemove --window "$window" $((850 * scale)) $((690 * scale))
  sleep 0.7
}

keys() {
  xdotool key --window "$window" --delay 120 "$@"
  sleep 0.7
}

choose_effect() {
  local index
  index=$(group_effects | grep -nx "$1" | cut -d: -f1) || true
  [ -n "$index" ] || { echo "screenshots: the service offers no effect $1" >&2; exit 1; }
  click 90 $((97 + 33 * (index - 1) + 16))
}

# The two choices of the rainbow and comet views sit in their colour group.
choose_first() { click 240 163; }
choose_second() { click 446 163; }

shot() {
  local file=$out/${prefix:-}$1.png colours
  import -window "$window" "$file"
  colours=$(identify -format '%k' "$file")
  if [ "$colours" -lt 64 ]; then
    echo "screenshots: $1.png shows next to nothing ($colours colours)" >&2
    exit 1
  fi
  echo "  $file"
}

echo "Screenshots in $out:"
start_service --state-dir "$XDG_STATE_HOME/vornlight"
start_panel C.UTF-8
choose_effect 1;   shot static
choose_effect 2;   shot breathing
choose_effect 3;   shot strobing
choose_effect 4;   shot color-cycle
choose_effect 5;   choose_first; shot rainbow-cycle
                   choose_second; shot rainbow-gradient
choose_effect 8;   choose_first; shot comet-plain
                   choose_second; shot comet-gradient
choose_effect 11;  shot wave
choose_effect 19;  shot music
choose_effect 18;  shot temperature
choose_effect 101; shot sleep
choose_effect 1
click 800 80;      shot leds-off
click 800 80
stop_panel

start_panel de_DE.UTF-8
choose_effect 1;   shot german-static
choose_effect 3;   shot german-strobing
choose_effect 18;  shot german-temperature
stop_panel

# Driven from the keyboard: the focus frame on the effect list, on the
# chosen LED and on the palette (Tab walks the view in reading order: the
# LED, the next page, the colour span, the three pure colours, the palette).
keyboard_shots() {
  choose_effect 1
  keys shift+Tab Tab;                       shot keyboard-effects
  keys Tab;                                 shot keyboard-led
  keys Tab Tab Tab Tab Tab Tab Left Left;   shot keyboard-palette
}
start_panel C.UTF-8
keyboard_shots
stop_panel

# Twice the scale, as on a high-density screen: the window is 1720 x 1400
# and every picture in it comes from the images drawn at twice the size.
scale2_shots() {
  mkdir -p "$out/scale2"
  prefix=scale2/
  scale=2
  QT_SCALE_FACTOR=2 start_panel C.UTF-8
  choose_effect 1;   shot static
  choose_effect 3;   shot strobing
  choose_effect 4;   shot color-cycle
  choose_effect 5;   choose_second; shot rainbow-gradient
  choose_effect 8;   choose_first; shot comet-plain
  choose_effect 19;  shot music
  choose_effect 18;  shot temperature
  choose_effect 101; shot sleep
  keyboard_shots
  click 800 80;      shot leds-off
  click 800 80
  stop_panel
  prefix=
  scale=1
}
scale2_shots
stop "$sim_pid"
sim_pid=

# An effect the panel has no view for: the service's own documents with one
# more effect, served unchanged.
for _ in $(seq 50); do service_running || break; sleep 0.1; done
sed 's|<mode key="101">|<mode key="7"><name>Lightning</name></mode><mode key="101">|' \
  "$root/simulator/data/capability.xml" >"$scratch/capability.xml"
start_service --capability "$scratch/capability.xml" --status "$root/simulator/data/status.xml"
start_panel C.UTF-8
choose_effect 7;   shot unknown

if [ -n "$docs" ]; then
  mkdir -p "$docs"
  convert "$out/static.png" -strip -define png:compression-level=9 "$docs/static.png"
  convert "$out/rainbow-gradient.png" -strip -define png:compression-level=9 "$docs/rainbow.png"
  echo "README pictures refreshed in $docs"
fi
