#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every libFuzzer target of a fuzz build for SECONDS each, starting from the committed seeds in
# fuzz/corpus/<target> plus what earlier runs in this build found (kept in BUILD/corpus/<target>,
# never in the source tree). A crash leaves its input in BUILD/crashes/ and fails the run: make it a
# regression test by adding the input to fuzz/corpus/<target>.
# With a SEED the mutations follow that seed, so a short run in the tests tries the same inputs on
# every machine of the same speed (and a faster one only more of them); without one each run differs.
#   scripts/fuzz.sh BUILD SECONDS [SEED]
set -uo pipefail
build=${1:?fuzz build folder}
seconds=${2:?seconds per target}
seed=${3:-}
here=$(cd "$(dirname "$0")/.." && pwd)
targets=(fuzz_picture fuzz_jpeg fuzz_bmp fuzz_png fuzz_parameter_file fuzz_arguments fuzz_render)

mkdir -p "$build/crashes"
failed=()
printf '%-22s %10s %8s %8s\n' target executions corpus seconds
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  mkdir -p "$corpus"
  log="$build/$t.log"
  start=$(date +%s)
  # Every seed first, as a regression test of its own; then the fuzzing, bounded in time and memory.
  if ! ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      "$build/fuzz/$t" -max_total_time="$seconds" ${seed:+-seed="$seed"} -rss_limit_mb=2048 -malloc_limit_mb=2048 -timeout=25 \
      -print_final_stats=1 -artifact_prefix="$build/crashes/$t-" "$corpus" "$here/fuzz/corpus/$t" >"$log" 2>&1; then
    failed+=("$t")
    tail -n 40 "$log"
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  size=$(ls "$corpus" | wc -l)
  printf '%-22s %10s %8s %8s\n' "$t" "$runs" "$size" "$(( $(date +%s) - start ))"
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzzing found faults in: ${failed[*]} (inputs in $build/crashes/)"
  exit 1
fi
