#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz preset, clang) and runs them one after
# the other, each for the given number of seconds (default 60), starting from
# the committed seeds in fuzz/corpus/<target>. Prints executions per second
# and coverage per target; crashing inputs land in <build>/findings/<target>.
#
#   scripts/fuzz.sh [seconds] [target...]
#
# FUZZ_BUILD_DIR overrides the build folder (default build/fuzz). New inputs
# go to <build>/corpus/<target>, so the committed seeds stay as they are and
# a later run goes on from where the last one stopped.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
shift || true
build="${FUZZ_BUILD_DIR:-build/fuzz}"
targets=(fuzz_exchange_reader fuzz_settings fuzz_options fuzz_conversions fuzz_builder fuzz_select)
if (($#)); then targets=("$@"); fi

cmake --preset fuzz -B "$build" >/dev/null
# Only the fuzz targets: the rest of the tree needs GCC (the dialog sources).
cmake --build "$build" --target "${targets[@]}" -j "$(nproc)" >/dev/null

declare -A dict=([fuzz_exchange_reader]=fuzz/dict/exchange.dict [fuzz_options]=fuzz/dict/options.dict)

failed=0
printf '%-22s %10s %8s %8s %8s  %s\n' target seconds exec/s cov ft result
for t in "${targets[@]}"; do
  work="$build/corpus/$t"
  findings="$build/findings/$t"
  log="$build/logs/$t.log"
  mkdir -p "$work" "$findings" "$(dirname "$log")"
  args=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048
    -artifact_prefix="$findings/")
  if [[ -n "${dict[$t]:-}" ]]; then args+=(-dict="${dict[$t]}"); fi
  result=ok
  if ! "$build/bin/$t" "${args[@]}" "$work" "fuzz/corpus/$t" >"$log" 2>&1; then
    result="FAILED (see $log)"
    failed=1
  fi
  execs=$(sed -n 's/^stat::average_exec_per_sec:[[:space:]]*//p' "$log" | tail -1)
  cov=$(grep -o ' cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || true)
  ft=$(grep -o ' ft: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || true)
  printf '%-22s %10s %8s %8s %8s  %s\n' "$t" "$seconds" "${execs:--}" "${cov:--}" "${ft:--}" "$result"
done
exit "$failed"
