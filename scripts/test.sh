#!/usr/bin/env bash
# Builds Vomurel and passes every check: formatting, static analysis, the
# native unit and end-to-end tests, the same tests under ASan/UBSan, the
# 32-bit Windows program's tests under Wine (unit, end-to-end, dialog GUI),
# the 64-bit one's unit and end-to-end tests, the same bytes from all three
# builds, a zip built twice, and short fuzzing runs. Ends with one summary
# line over all test runs.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"

bash scripts/setup.sh
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh

step() { printf '\n==== %s\n' "$*"; }
total=0
failed=0
run_ctest() {  # build dir, extra ctest args...
  local dir="$1"; shift
  run_counted ctest --test-dir "$dir" --output-on-failure "$@"
}
run_counted() {  # a command that ends with CTest's summary line
  local log
  log="$(mktemp)"
  if "$@" 2>&1 | tee "$log"; then :; fi
  local line
  line="$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)"
  rm -f "$log"
  if [ -z "$line" ]; then
    echo "test: no result from $*" >&2
    failed=$((failed + 1)); total=$((total + 1)); return
  fi
  local f n
  f="$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")"
  n="$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")"
  failed=$((failed + f)); total=$((total + n))
}

step "format"
bash scripts/check-format.sh

step "native build"
cmake --preset native >/dev/null
cmake --build build/native -j"$jobs"

step "static analysis"
bash scripts/check-tidy.sh

step "native tests"
run_ctest build/native -j"$jobs"

# A check that is one script: counted as one test.
run_step() { # command...
  total=$((total + 1))
  if "$@"; then :; else failed=$((failed + 1)); fi
}

step "windows build (32-bit, the shipped program)"
cmake --preset windows >/dev/null
cmake --build build/windows -j"$jobs"

# Every Windows test case is a process of its own. One wineserver kept for
# the non-GUI runs keeps a case from meeting a server that is just shutting
# down ("recvmsg: Connection reset by peer"). It and Wine's services start
# here, away from CTest's output pipes: CTest waits for every process that
# holds them.
wine_up() {
  wine_down
  wineserver -p </dev/null >/dev/null 2>&1
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}
# The GUI tests start their own display: they get a server of their own.
wine_down() {
  wineserver -k </dev/null >/dev/null 2>&1 || true
  wineserver -w </dev/null >/dev/null 2>&1 || true
}

if runs_32bit; then
  step "windows tests under Wine (32-bit: unit, end-to-end, the shipped zip, dialog GUI)"
  wine_up
  run_ctest build/windows -j"$jobs" -LE gui
  wine_down
  # The GUI tests drive real windows under Xvfb: only they get a retry for a
  # timing hiccup.
  run_ctest build/windows -L gui --repeat until-pass:2
else
  # A kernel without 32-bit support cannot start the shipped program: its
  # zip is still built and checked without running it, and every test that
  # runs a Windows program runs the 64-bit one (same sources, same bytes).
  step "the shipped 32-bit zip, checked without running it (this kernel runs no 32-bit programs)"
  cmake --build build/windows -j"$jobs" --target dist >/dev/null
  zip32="$(ls build/windows/vomurel-*.zip)"
  run_step bash tests/tools/check-dist-texts.sh --zip "$zip32"
  version="$(sed -nE 's/^project\(vomurel VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)"
  run_step bash tests/tools/check-dist-exe.sh "$zip32" "$version" i386 \
    i686-w64-mingw32-objdump i686-w64-mingw32-windres
fi

step "windows build (64-bit)"
cmake --preset windows-x64 >/dev/null
cmake --build build/windows-x64 -j"$jobs"

step "windows tests under Wine (64-bit: unit and end-to-end)"
wine_up
run_ctest build/windows-x64 -j"$jobs" -L 'unit|endtoend'

step "the same bytes from the native, 32-bit and 64-bit programs"
if runs_32bit; then
  run_step bash scripts/compare-builds.sh build/native build/windows build/windows-x64
else
  echo "compare-builds: the 32-bit program cannot run here; comparing the native and 64-bit ones"
  run_step bash scripts/compare-builds.sh build/native build/windows-x64
fi
wine_down

if ! runs_32bit; then
  step "dialog GUI tests under Wine and Xvfb (the 64-bit program)"
  run_ctest build/windows-x64 -L gui --repeat until-pass:2
fi

step "reproducible zip: built again in another folder"
repro_zip() {
  cmake --preset windows -B build/windows-again >/dev/null &&
    cmake --build build/windows-again -j"$jobs" --target dist >/dev/null &&
    cmp build/windows/vomurel-*.zip build/windows-again/vomurel-*.zip &&
    echo "reproducible: $(basename build/windows/vomurel-*.zip) is the same byte for byte from build/windows and build/windows-again"
}
run_step repro_zip

if [ -f scripts/sanitize.sh ]; then
  step "native tests under ASan and UBSan"
  run_counted bash scripts/sanitize.sh
fi

if [ -f scripts/fuzz.sh ]; then
  step "fuzzing"
  run_step bash scripts/fuzz.sh "${FUZZ_SECONDS:-60}"
fi

passed=$((total - failed))
pct=0
[ "$total" -gt 0 ] && pct=$((100 * passed / total))
echo
echo "${pct}% tests passed, ${failed} tests failed out of ${total}"
[ "$failed" -eq 0 ]
