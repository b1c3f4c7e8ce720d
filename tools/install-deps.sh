#!/usr/bin/env bash
# Installs what the panel needs to build, run and test on Debian 12.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qtbase5-dev qttools5-dev qttools5-dev-tools libtinyxml2-dev libxcb1-dev
  dbus dbus-x11 xvfb xauth imagemagick xdotool x11-utils locales
  # The service's sound monitor is built against PulseAudio's declarations;
  # its test plays into a private sound server.
  libpulse-dev pulseaudio pulseaudio-utils
  # The sanitizer suite and the fuzz targets are built with clang.
  clang-14 libclang-rt-14-dev
  # The OpenRGB server the OpenRGB client's tests run against (../shared/openrgb).
  libqt5widgets5 libqt5gui5 libqt5dbus5 libusb-1.0-0 libhidapi-hidraw0
  libmbedtls14 libmbedx509-1 libmbedcrypto7
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The tests run once under a German locale: glibc must know it.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  as_root sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  as_root locale-gen >/dev/null
fi
