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
targets=(fuzz_picture fuzz_jpeg fuzz_bmp fuzz_png fuzz_tiff fuzz_parameter_file fuzz_arguments fuzz_render)

# The picture readers' memory budget, at the fuzzers' limit of 4 megapixels: at most 8 bytes a pixel
# (32 MB) for the heaviest reader, so no single allocation above 64 MB is honest, and the process
# stays within what the fuzzer and the sanitizers hold besides (about 300 MB, with the allocator's
# quarantine of freed memory kept to 64 MB). A reader that takes more is a finding.
picture_limits=(-malloc_limit_mb=64 -rss_limit_mb=640)
picture_asan=quarantine_size_mb=64
other_limits=(-malloc_limit_mb=2048 -rss_limit_mb=2048)

mkdir -p "$build/crashes"
failed=()
printf '%-22s %10s %8s %8s\n' target executions corpus seconds
for t in "${targets[@]}"; do
  corpus="$build/corpus/$t"
  mkdir -p "$corpus"
  log="$build/$t.log"
  start=$(date +%s)
  limits=("${other_limits[@]}")
  asan=
  case $t in fuzz_picture | fuzz_jpeg | fuzz_bmp | fuzz_png | fuzz_tiff) limits=("${picture_limits[@]}") asan=":$picture_asan" ;; esac
  # Every seed first, as a regression test of its own; then the fuzzing, bounded in time and memory.
  if ! ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1$asan UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      "$build/fuzz/$t" -max_total_time="$seconds" ${seed:+-seed="$seed"} "${limits[@]}" -timeout=25 \
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
