#!/usr/bin/env bash
# The benchmark report. Builds release binaries (native-release, windows and
# windows-x64 presets), measures, prints a table and writes it to
# docs/benchmarks.md:
#   - reading the exchange file: ReadExchangeFile on a generated 100 MB file
#     (MB/s, peak memory beside the element store), and `wc -l` on the same file;
#   - BuildMultiLines for 99 points and ten enabled rows (Google Benchmark);
#   - the model of one preview redraw, ten rows along both sample paths and
#     along a picked path of 99 points;
#   - whole unattended runs on a bundled example: natively beside /bin/true,
#     and under a warm Wine, the shipped 32-bit program and the 64-bit one,
#     each beside a Windows program of its own kind that does nothing;
#   - whole native select runs along a generated plan of 10,000 and 100,000
#     selected centre lines with a two-row wall preset, and their peak
#     resident memory.
# Times are medians of several runs (hyperfine). The machine may be shared:
# the load average at the start goes into the report.
#
#   scripts/bench.sh
#
# BENCH_BUILD_DIR sets the prefix of the build folders (default build/bench:
# build/bench-native, build/bench-windows, build/bench-windows-x64).
# BENCH_ONLY=select builds only the native programs, measures only the
# select runs and prints their rows without writing the report.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"

bash scripts/setup.sh
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"

prefix="${BENCH_BUILD_DIR:-build/bench}"
native="$root/$prefix-native"
windows="$root/$prefix-windows"
windows64="$root/$prefix-windows-x64"
example=zigzag
jobs="$(nproc)"
load_at_start="$(cut -d' ' -f1-3 /proc/loadavg)"

step() { printf '\n==== %s\n' "$*" >&2; }

only="${BENCH_ONLY:-}"

step "native release build"
cmake --preset native-release -B "$native" >/dev/null
if [ "$only" = select ]; then
  cmake --build "$native" -j "$jobs" --target generate_exchange vomurel jwhost >/dev/null
else
  cmake --build "$native" -j "$jobs" --target bench_read_exchange bench_build_multilines \
    bench_preview generate_exchange vomurel jwhost >/dev/null
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Field of the first JSON object after the line that holds key: "value...".
# Google Benchmark and hyperfine both write one key per line.
json_field() { # file key value-prefix field
  awk -v start="\"$2\": \"$3" -v want="\"$4\":" '
    index($0, start) { found = 1 }
    found && index($0, want) { sub(/^[^:]*: */, ""); sub(/,$/, ""); print; exit }' "$1"
}
calc() { awk "BEGIN { printf \"$1\", $2 }"; }
# Mean user + system time of a hyperfine command, in ms: less sensitive than
# wall time to other work on a shared machine.
cpu_ms() { # file command-prefix
  calc '%.1f' "($(json_field "$1" command "$2" user) + $(json_field "$1" command "$2" system)) * 1000"
}
verdict() { awk "BEGIN { print ($1) ? \"yes\" : \"**no**\" }"; }

# The select run along a generated plan, read to write: the host's file is
# restored before each run. Peak memory is the largest resident size
# (GNU time's %M, in KiB) of three runs.
select_ms=()
select_cpu=()
select_peak=()
select_runs() {
  local n run
  for n in 10000 100000; do
    step "whole select run, native, plan of $n lines"
    run="$work/select-$n"
    mkdir -p "$run"
    cp "$native/bin/vomurel" "$run/"
    "$native/bin/generate_exchange" --plan "$n" "$run/host.txt" >/dev/null
    "$native/bin/jwhost" preset tests/bench/walls.preset "$run/vomurel.dat" >/dev/null
    cp "$run/host.txt" "$run/JWC_TEMP.TXT"
    "$run/vomurel" select && check_drawn "$run"
    hyperfine -N --warmup 2 --runs 15 --prepare "cp $run/host.txt $run/JWC_TEMP.TXT" \
      --export-json "$work/select-$n.json" "$run/vomurel select" >&2
    select_ms+=("$(calc '%.0f' "$(json_field "$work/select-$n.json" command "$run/vomurel" median) * 1000")")
    select_cpu+=("$(cpu_ms "$work/select-$n.json" "$run/vomurel")")
    local kib=0 k
    for _ in 1 2 3; do
      cp "$run/host.txt" "$run/JWC_TEMP.TXT"
      k="$(/usr/bin/time -f %M "$run/vomurel" select 2>&1 >/dev/null | tail -1)"
      if [ "$k" -gt "$kib" ]; then kib="$k"; fi
    done
    select_peak+=("$(calc '%.1f' "$kib / 1024")")
  done
}
# The run must have drawn: line records (four numbers) in the file.
check_drawn() {
  if ! grep -qE '^-?[0-9.E-]+ -?[0-9.E-]+ -?[0-9.E-]+ -?[0-9.E-]+' "$1/JWC_TEMP.TXT"; then
    echo "bench: the run in $1 drew nothing" >&2
    exit 1
  fi
}
select_rows() {
  local ratio
  ratio="$(calc '%.1f' "${select_ms[1]} / ${select_ms[0]}")"
  echo "| Whole select run, native, plan of 10,000 lines, two rows | ${select_ms[0]} ms (CPU ${select_cpu[0]} ms) | peak resident ${select_peak[0]} MiB | | |"
  echo "| Whole select run, native, plan of 100,000 lines, two rows | ${select_ms[1]} ms (CPU ${select_cpu[1]} ms) | peak resident ${select_peak[1]} MiB | < 1 s | $(verdict "${select_ms[1]} < 1000") |"
  echo "| Select run, 100,000 lines against 10,000 | $ratio × | | < 15 × | $(verdict "$ratio < 15") |"
  echo "| Peak resident memory, select run of 100,000 lines | ${select_peak[1]} MiB | | < 200 MB | $(verdict "${select_peak[1]} * 1048576 < 200e6") |"
}

if [ "$only" = select ]; then
  select_runs
  printf '\nLoad average at the start: %s\n' "$load_at_start"
  select_rows
  exit 0
fi

step "windows builds"
cmake --preset windows -B "$windows" >/dev/null
cmake --build "$windows" -j "$jobs" --target vomurel >/dev/null
cmake --preset windows-x64 -B "$windows64" >/dev/null
cmake --build "$windows64" -j "$jobs" --target vomurel >/dev/null
# The baselines are linked like the product: static, Windows subsystem,
# stripped, and the 32-bit one with the same SSE2 arithmetic.
mkdir -p "$windows/bench" "$windows64/bench"
i686-w64-mingw32-g++-posix -O2 -msse2 -mfpmath=sse -static -s -mwindows tests/bench/trivial.cpp \
  -o "$windows/bench/trivial.exe"
x86_64-w64-mingw32-g++-posix -O2 -static -s -mwindows tests/bench/trivial.cpp \
  -o "$windows64/bench/trivial.exe"

step "reading a 100 MB exchange file"
sample="$work/JWC_TEMP.TXT"
"$native/bin/generate_exchange" "$sample" 100 >/dev/null
bytes="$(stat -c %s "$sample")"
"$native/bin/bench_read_exchange" --benchmark_out="$work/read.json" \
  --benchmark_out_format=json >&2
first_mbs="$(calc '%.0f' "$(json_field "$work/read.json" name ReadExchangeFile/FirstInProcess bytes_per_second) / 1e6")"
rep_mbs="$(calc '%.0f' "$(json_field "$work/read.json" name ReadExchangeFile/Repeated bytes_per_second) / 1e6")"
peak="$(calc '%.1f' "$(json_field "$work/read.json" name ReadExchangeFile/FirstInProcess peak_MiB)")"
store="$(calc '%.1f' "$(json_field "$work/read.json" name ReadExchangeFile/FirstInProcess store_MiB)")"
limit="$(calc '%.1f' "$(json_field "$work/read.json" name ReadExchangeFile/FirstInProcess peak_limit_MiB)")"
hyperfine -N --warmup 2 --runs 10 --export-json "$work/wc.json" "wc -l $sample" >&2
wc_s="$(json_field "$work/wc.json" command "wc -l" median)"
wc_mbs="$(calc '%.0f' "$bytes / $wc_s / 1e6")"
wc_peak="$(calc '%.1f' "$(/usr/bin/time -f %M wc -l "$sample" 2>&1 >/dev/null | tail -1) / 1024")"
rm -f "$sample"

step "BuildMultiLines, 99 points and ten rows"
"$native/bin/bench_build_multilines" --benchmark_repetitions=7 \
  --benchmark_report_aggregates_only=true --benchmark_out="$work/build.json" \
  --benchmark_out_format=json >&2
median() { # benchmark name prefix, field
  json_field "$work/build.json" name "$1_median" "$2"
}
build_new="$(calc '%.0f' "$(median BuildMultiLines/99points10rows/NewMemory/0 cpu_time)")"
build_kept="$(calc '%.0f' "$(median BuildMultiLines/99points10rows/MemoryKept/1 cpu_time)")"
build_lines="$(calc '%.0f' "$(median BuildMultiLines/99points10rows/MemoryKept/1 lines)")"
emit_kept="$(calc '%.0f' "$(median EmitLine/sameRecords/MemoryKept/1 cpu_time)")"

step "preview redraw, ten rows along both sample paths and along 99 picked points"
"$native/bin/bench_preview" --benchmark_repetitions=7 --benchmark_report_aggregates_only=true \
  --benchmark_out="$work/preview.json" --benchmark_out_format=json >&2
preview_us="$(calc '%.1f' "$(json_field "$work/preview.json" name PreviewRedraw/10rows2paths_median cpu_time)")"
preview_strokes="$(calc '%.0f' "$(json_field "$work/preview.json" name PreviewRedraw/10rows2paths_median strokes)")"
picked_us="$(calc '%.1f' "$(json_field "$work/preview.json" name PreviewRedraw/10rows99picked_median cpu_time)")"
picked_strokes="$(calc '%.0f' "$(json_field "$work/preview.json" name PreviewRedraw/10rows99picked_median strokes)")"

# One folder per program: the tool reads JWC_TEMP.TXT beside itself and
# rewrites it, so every timed run starts from a fresh copy of the host's file.
prepare_run() { # folder program...
  local dir="$1"
  shift
  mkdir -p "$dir"
  cp "$@" "$dir/"
  "$native/bin/jwhost" exchange "examples/$example.host" "$dir/host.txt" >/dev/null
  "$native/bin/jwhost" preset "examples/$example.preset" "$dir/vomurel.dat" >/dev/null
  cp "$dir/host.txt" "$dir/JWC_TEMP.TXT"
}
step "whole unattended run, native"
run="$work/native"
prepare_run "$run" "$native/bin/vomurel"
"$run/vomurel" 2 && check_drawn "$run"
hyperfine -N --warmup 5 --runs 50 --prepare "cp $run/host.txt $run/JWC_TEMP.TXT" \
  --export-json "$work/native.json" "$run/vomurel 2" "/bin/true" >&2
native_ms="$(calc '%.2f' "$(json_field "$work/native.json" command "$run/vomurel" median) * 1000")"
true_ms="$(calc '%.2f' "$(json_field "$work/native.json" command /bin/true median) * 1000")"
native_cpu="$(cpu_ms "$work/native.json" "$run/vomurel")"
true_cpu="$(cpu_ms "$work/native.json" /bin/true)"
native_extra="$(calc '%.2f' "$native_ms - $true_ms")"

# One table row: the program's whole run under a warm Wine beside the
# trivial program built for the same machine.
wine_row() { # folder name, label, build folder
  local run="$work/$1" label="$2" build="$3"
  step "whole unattended run, warm Wine, $label"
  prepare_run "$run" "$build/bin/vomurel.exe" "$build/bench/trivial.exe"
  wine "$run/vomurel.exe" 2 && check_drawn "$run"
  hyperfine -N --warmup 5 --runs 30 --prepare "cp $run/host.txt $run/JWC_TEMP.TXT" \
    --export-json "$work/wine.json" "wine $run/vomurel.exe 2" "wine $run/trivial.exe" >&2
  local wine_ms trivial_ms wine_cpu trivial_cpu ratio
  wine_ms="$(calc '%.0f' "$(json_field "$work/wine.json" command "wine $run/vomurel.exe" median) * 1000")"
  trivial_ms="$(calc '%.0f' "$(json_field "$work/wine.json" command "wine $run/trivial.exe" median) * 1000")"
  wine_cpu="$(cpu_ms "$work/wine.json" "wine $run/vomurel.exe")"
  trivial_cpu="$(cpu_ms "$work/wine.json" "wine $run/trivial.exe")"
  ratio="$(calc '%.2f' "$wine_ms / $trivial_ms")"
  echo "| Whole unattended run, warm Wine, $label (example \`$example\`) | $wine_ms ms (CPU $wine_cpu ms) | trivial.exe ($label): $trivial_ms ms (CPU $trivial_cpu ms) | ≤ 1.2 × ($ratio ×) | $(verdict "$ratio <= 1.2") |"
}
select_runs
wine32_row="$(wine_row wine32 "32-bit, shipped" "$windows")"
wine64_row="$(wine_row wine64 64-bit "$windows64")"
size32="$(stat -c %s "$windows/bin/vomurel.exe")"
size64="$(stat -c %s "$windows64/bin/vomurel.exe")"

cpu="$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
report="$(
  cat <<EOF
# Benchmarks

Written by \`scripts/bench.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC'). Machine: $(nproc) cores,
${cpu:-unknown CPU}, $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo) memory,
Linux $(uname -r); load average at the start: $load_at_start (the machine may be shared,
so times can be high). Release builds: native-release (GCC), windows (32-bit) and windows-x64
(mingw-w64, stripped: $(calc '%.2f' "$size32 / 1048576") MiB and $(calc '%.2f' "$size64 / 1048576") MiB; under
Wine $(wine --version 2>/dev/null | sed 's/^wine-//')).

| Measure | Vomurel | Beside it | Target | Met |
|---|---|---|---|---|
| Reading a $(calc '%.0f' "$bytes / 1048576") MiB exchange file, first read in a process | $first_mbs MB/s | \`wc -l\`: $wc_mbs MB/s | ≥ 300 MB/s | $(verdict "$first_mbs >= 300") |
| Reading it again, memory kept | $rep_mbs MB/s | | ≥ 300 MB/s | $(verdict "$rep_mbs >= 300") |
| Peak memory of the read | $peak MiB (store $store MiB) | \`wc -l\`: $wc_peak MiB | ≤ 1.5 × store + 32 MiB = $limit MiB | $(verdict "$peak <= $limit") |
| \`BuildMultiLines\`, 99 points × 10 rows ($build_lines lines) | $build_kept µs CPU | of which writing the records: $emit_kept µs; with new memory, as in a run: $build_new µs | < 50 µs | $(verdict "$build_kept < 50") |
| Preview redraw model, 10 rows along both sample paths ($preview_strokes lines) | $preview_us µs CPU | | < 5 ms | $(verdict "$preview_us < 5000") |
| Preview redraw model, 10 rows along 99 picked points ($picked_strokes lines) | $picked_us µs CPU | | < 5 ms | $(verdict "$picked_us < 5000") |
| Whole unattended run, native (example \`$example\`) | $native_ms ms (CPU $native_cpu ms) | \`/bin/true\`: $true_ms ms (CPU $true_cpu ms) | < 2 ms more (+$native_extra ms) | $(verdict "$native_extra < 2") |
$wine32_row
$wine64_row
$(select_rows)

MB is 10^6 bytes. Reading: \`tests/bench/ReadExchangeBench.cpp\` on the file of
\`tests/bench/GenerateExchange.cpp\`; peak memory is the process's peak resident size during
the first read, counted from just before it. Builder: \`tests/bench/BuilderBenchmark.cpp\`,
median CPU time of 7 repetitions, writing the line records into an empty output buffer as a
run does; its memory is kept in the process between repetitions, and a run's first touch of
new memory is shown beside it. Preview: \`tests/bench/PreviewBenchmark.cpp\`, the model
of one redraw (build, fit, pixels), median of 7 repetitions. Whole runs: medians of hyperfine runs without a shell, the
exchange file restored before each run; CPU is the mean user + system time. Select runs:
\`vomurel select\` on the plan of \`generate_exchange --plan\` (\`tests/bench/GenerateExchange.cpp\`:
rooms on a grid, T and X junctions, walls split and whole, a few rooms traced again as
polylines) with the preset \`tests/bench/walls.preset\` (two rows 120 apart, chamfers, caps);
peak resident memory is GNU time's maximum resident set size, the largest of three runs.
EOF
)"
mkdir -p docs
printf '%s\n' "$report" >docs/benchmarks.md
printf '\n%s\n' "$report"
