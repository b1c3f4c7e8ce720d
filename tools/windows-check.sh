#!/usr/bin/env bash
# The panel on Windows, built and checked here under wine:
#  1. the host build's artgen, panel and service (the images, the comparison);
#  2. vornlight.exe, the COM lighting service for tests and the QtTest suites
#     that need no D-Bus, cross-built with mingw-w64 against the static Qt of
#     the Windows kit (cmake/LumetWindows.cmake), into $BUILD_DIR/windows/cmake;
#  3. in one private wine prefix: the suites with the offscreen platform, the
#     Windows platform layers' own test and the COM client's (CTest), then the
#     panel on a virtual X screen against the COM service beside the Linux
#     panel (tests/windows/WinePanelCheck.cpp), whose screenshots it keeps in
#     $BUILD_DIR/windows/screenshots.
# Installs what it needs. Each step prints the seconds since the start.
#
#   BUILD_DIR     the host build (default: build)
#   WINDOWS_KIT   the kit: Qt tarball, toolchain file, tinyxml2 (default: the
#                 shared/windows folder beside the source tree or its parent)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
out=$build/windows
wine_dir=/usr/lib/wine
started=$SECONDS
step() { echo "[windows-check $((SECONDS - started)) s] $*"; }

kit=${WINDOWS_KIT:-}
if [ -z "$kit" ]; then
  for candidate in "$root/../shared/windows" "$root/../../shared/windows"; do
    if [ -f "$candidate/mingw-toolchain.cmake" ]; then kit=$(cd "$candidate" && pwd); break; fi
  done
fi
[ -n "$kit" ] && [ -f "$kit/mingw-toolchain.cmake" ] || { echo "windows-check: no Windows kit (set WINDOWS_KIT)" >&2; exit 1; }
tarball=$(ls "$kit"/qt5-mingw-*.tar.xz | head -n 1)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

step "Installing what is missing"
"$root/tools/install-deps.sh"
# The cross compiler, wine, widl and the IDL files it imports, and fonts for
# the offscreen platform.
packages=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 libwine-dev fonts-dejavu-core)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

step "Building the host's artgen, panel and service"
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target artgen vornlight vornlight-service-sim wine_panel_check

step "Unpacking Qt for Windows"
mkdir -p "$out"
stamp=$out/qt5-mingw.unpacked
if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$(stat -c '%n %s %Y' "$tarball")" ]; then
  rm -rf "$out/qt5-mingw"
  tar -xJf "$tarball" -C "$out"
  stat -c '%n %s %Y' "$tarball" >"$stamp"
fi

step "Cross-building vornlight.exe, the COM service and the suites"
cmake -S "$root" -B "$out/cmake" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$kit/mingw-toolchain.cmake" -DQT5_MINGW_PREFIX="$out/qt5-mingw" \
  -DLUMET_WINDOWS_KIT="$kit" -DLUMET_HOST_ARTGEN="$build/bin/artgen" -DLUMET_WINEPREFIX="$out/wineprefix" >/dev/null
cmake --build "$out/cmake" -j"$(nproc)"

# One prefix for the whole run, headless until the panel's own X server.
export WINEPREFIX=$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
cleanup() { timeout 30 "$wine_dir/wineserver" -k >/dev/null 2>&1 || true; }
trap cleanup EXIT
# A prefix is usable once its system folder holds kernel32; a first start that
# was cut short (a busy machine can time it out) leaves one without it, so
# start over once.
prefix_ready() { [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]; }
for attempt in 1 2; do
  prefix_ready && break
  step "Preparing the wine prefix (attempt $attempt)"
  rm -rf "$WINEPREFIX"
  timeout 300 "$wine_dir/wine64" wineboot -i >/dev/null 2>&1 </dev/null || true
  timeout 120 "$wine_dir/wineserver" -w >/dev/null 2>&1 || true
done
prefix_ready || { echo "windows-check: wine could not prepare its prefix" >&2; exit 1; }
# A server of this run's own (tools/wine-run.sh starts it, with wine's
# services): one left by an earlier run goes first.
cleanup
# The suites read this registry: nothing installed, no reboot pending, no
# lighting service, whatever an earlier run that stopped half-way left.
for key in 'HKLM\Software\ORVEL\LUMET' \
    'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\{E0B7A35C-6D21-4F98-B3C4-15A9D7E2F680}'; do
  "$root/tools/wine-run.sh" reg delete "$key" /f >/dev/null 2>&1 || true
done
"$root/tools/wine-run.sh" "$out/cmake/bin/vornlight-com-service.exe" /UnregServer

step "Running the suites, the layers' test and the COM client's test under wine"
(cd "$out/cmake" && ctest -j"$(nproc)" --output-on-failure)

step "Running the panel under wine against the COM service, beside the Linux panel"
VORNLIGHT_WINDOWS_BIN=$out/cmake/bin \
VORNLIGHT_CRASH_LIBRARY=$out/cmake/tests/crash/complete/crashrpt.dll \
VORNLIGHT_SCREENSHOTS=$out/screenshots \
LANG=C.UTF-8 LC_ALL=C.UTF-8 \
  timeout 900 dbus-run-session -- "$build/bin/wine_panel_check"
step "Done; the screenshots are in $out/screenshots"
