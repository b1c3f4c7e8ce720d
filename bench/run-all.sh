#!/usr/bin/env bash
# Builds the benchmarks in the normal build (BUILD_DIR, default build) and runs
# them all on a private session bus with the offscreen platform. Each line
# shows a figure beside a baseline measured in the same run. bench_openrgb
# runs the OpenRGB test server kept beside the source tree (../shared/openrgb).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$build" -j"$(nproc)" --target bench_panel bench_palette bench_profiles bench_engine bench_memory bench_registry bench_openrgb >/dev/null

echo "machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)," \
     "$(awk '/MemTotal/ {printf "%.1f GiB RAM", $2 / 1048576}' /proc/meminfo), load $(cut -d' ' -f1-3 /proc/loadavg)"
export QT_QPA_PLATFORM=offscreen XDG_DATA_DIRS=/nonexistent
for bench in bench_panel bench_palette bench_profiles bench_engine bench_memory bench_registry bench_openrgb; do
  dbus-run-session -- "$build/bin/$bench"
done
