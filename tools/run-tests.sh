#!/usr/bin/env bash
# Installs the dependencies, builds everything and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
cd "${BUILD_DIR:-$root/build}"
ctest -j"$(nproc)" --output-on-failure
