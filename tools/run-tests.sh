#!/usr/bin/env bash
# Installs the dependencies, builds everything and runs every test; then builds
# the project again with AddressSanitizer and UndefinedBehaviorSanitizer
# (tools/sanitize-build.sh) and runs the whole suite there as well, where any
# sanitizer report fails its test. LUMET_SANITIZE_SUITE=0 skips that second run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"
"$root/tools/build.sh"
(cd "${BUILD_DIR:-$root/build}" && ctest -j"$(nproc)" --output-on-failure)
if [ "${LUMET_SANITIZE_SUITE:-1}" != 0 ]; then
  echo "Running the suite again with AddressSanitizer and UndefinedBehaviorSanitizer"
  "$root/tools/sanitize-build.sh"
  (cd "${SANITIZE_BUILD_DIR:-${BUILD_DIR:-$root/build}-sanitize}" && ctest -j"$(nproc)" --output-on-failure)
fi
