#!/usr/bin/env bash
# Compiles the Windows implementations of the platform layers (they need no
# Qt) with mingw-w64 and runs their tests under wine: the registry reader, the
# named mutex, the program directory, the hand-over, the crash-report loader
# and the COM client. Installs the cross compiler and wine when missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}/windows
cxx=x86_64-w64-mingw32-g++-posix
wine_dir=/usr/lib/wine

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
command -v "$cxx" >/dev/null || missing+=(g++-mingw-w64-x86-64-posix)
[ -x "$wine_dir/wine64" ] || missing+=(wine64)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

mkdir -p "$build/complete" "$build/incomplete"
# Static, so wine needs no MinGW runtime DLLs beside the programs.
flags=(-std=c++17 -O1 -g0 -Wall -Wextra -static -I"$root" -DUNICODE -D_UNICODE)
libs=(-ladvapi32 -luser32 -lole32 -loleaut32)

echo "Compiling the Windows layers with $cxx"
"$cxx" "${flags[@]}" -shared -o "$build/complete/crashrpt.dll" "$root/tests/crash/CrashTestLibrary.cpp"
"$cxx" "${flags[@]}" -shared -DCRASH_TEST_INCOMPLETE -o "$build/incomplete/crashrpt.dll" \
  "$root/tests/crash/CrashTestLibrary.cpp"
sources=(
  "$root"/app/win/*.cpp
  "$root/app/RegReader.cpp" "$root/app/HandOver.cpp" "$root/app/CrashReporter.cpp" "$root/app/NumberText.cpp"
  "$root"/service/win/*.cpp
  "$root/service/ServiceClient.cpp" "$root/service/ServiceText.cpp"
  "$root"/tests/windows/*.cpp
)
"$cxx" "${flags[@]}" -o "$build/WindowsLayersTest.exe" "${sources[@]}" "${libs[@]}"

# A private, headless wine: no display, no downloads of Mono or Gecko, quiet.
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY
cleanup() { "$wine_dir/wineserver" -k >/dev/null 2>&1 || true; }
trap cleanup EXIT
# A prefix is usable once its system folder holds kernel32; a first start that
# was cut short (a busy machine can time it out) leaves one without it, so
# start over once.
prefix_ready() { [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]; }
for attempt in 1 2; do
  prefix_ready && break
  echo "Preparing the wine prefix"
  rm -rf "$WINEPREFIX"
  "$wine_dir/wine64" wineboot -i >/dev/null 2>&1 </dev/null || true
  "$wine_dir/wineserver" -w >/dev/null 2>&1 || true
done
prefix_ready || { echo "wine could not prepare its prefix" >&2; exit 1; }
echo "Running the Windows layer tests under wine"
libraries=$("$wine_dir/wine64" winepath -w "$build" 2>/dev/null </dev/null | tr -d '\r')
"$wine_dir/wine64" "$build/WindowsLayersTest.exe" --libraries "$libraries" </dev/null
