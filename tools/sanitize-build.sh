#!/usr/bin/env bash
# Configures and builds the sanitizer build: clang with AddressSanitizer and
# UndefinedBehaviorSanitizer, plus libFuzzer's coverage hooks so the same
# folder also holds the fuzz programs. Builds the given targets, or all.
# Folder: SANITIZE_BUILD_DIR, default build-sanitize beside the normal build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SANITIZE_BUILD_DIR:-${BUILD_DIR:-$root/build}-sanitize}
CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLUMET_SANITIZE=ON -DLUMET_FUZZ=ON >/dev/null
if [ $# -gt 0 ]; then
  cmake --build "$build" -j"$(nproc)" --target "$@"
else
  cmake --build "$build" -j"$(nproc)"
fi
