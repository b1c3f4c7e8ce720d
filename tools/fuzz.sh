#!/usr/bin/env bash
# Runs the fuzz targets in the sanitizer build, each for SECONDS (default 60),
# two at a time; any crash, sanitizer report, leak or time-out fails the run.
#   tools/fuzz.sh [SECONDS] [TARGET...]
#   targets: capability status profile_document registry_file openrgb_device
# Each target's corpus grows in <sanitizer build>/fuzz/corpus/<target>, seeded
# from tests/fuzz/corpus/<target>; an input that fails is kept in
# <sanitizer build>/fuzz/findings/<target>/ and belongs, once fixed, in
# tests/fuzz/regressions/<target>/ where every build replays it.
# FUZZ_SEED fixes libFuzzer's seed, so that a run is repeatable: from a fresh
# corpus, a longer run with the same seed tries first what a shorter one tries.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${SANITIZE_BUILD_DIR:-${BUILD_DIR:-$root/build}-sanitize}
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(capability status profile_document registry_file openrgb_device)

if ! built=$("$root/tools/sanitize-build.sh" $(printf 'fuzz_%s ' "${targets[@]}") 2>&1); then
  echo "$built" | tail -30
  exit 1
fi

dict_for() {
  case "$1" in
    registry_file) echo "$root/tests/fuzz/registry.dict" ;;
    openrgb_device) echo "$root/tests/fuzz/openrgb.dict" ;;
    *) echo "$root/tests/fuzz/xml.dict" ;;
  esac
}

run_one() {
  local target=$1 work=$build/fuzz
  mkdir -p "$work/corpus/$target" "$work/findings/$target" "$work/logs"
  local log=$work/logs/$target.log
  local seeds=("$root/tests/fuzz/corpus/$target")
  [ -d "$root/tests/fuzz/regressions/$target" ] && seeds+=("$root/tests/fuzz/regressions/$target")
  local options=()
  [ -n "${FUZZ_SEED:-}" ] && options+=(-seed="$FUZZ_SEED")
  # The views need a display of some kind; the offscreen one draws nowhere.
  if QT_QPA_PLATFORM=offscreen \
     ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
     LSAN_OPTIONS=suppressions=$root/tests/lsan.supp \
     UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
     nice "$build/bin/fuzz_$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=65536 \
       -dict="$(dict_for "$target")" -artifact_prefix="$work/findings/$target/" -print_final_stats=1 \
       ${options[@]+"${options[@]}"} "$work/corpus/$target" "${seeds[@]}" >"$log" 2>&1; then
    local runs
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz_$target: ${runs:-?} inputs in ${seconds} s, no findings"
  else
    echo "fuzz_$target: FAILED, see $log; the input is in $work/findings/$target/"
    grep -m1 -E 'ERROR|runtime error|==[0-9]+==' "$log" || tail -5 "$log"
    return 1
  fi
}

# Two at a time: the machines have two cores.
status=0
pids=()
for target in "${targets[@]}"; do
  run_one "$target" & pids+=($!)
  if [ ${#pids[@]} -eq 2 ]; then
    for pid in "${pids[@]}"; do wait "$pid" || status=1; done
    pids=()
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
exit $status
