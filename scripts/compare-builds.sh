#!/usr/bin/env bash
# The native, 32-bit and 64-bit Windows programs write the same bytes: the
# exchange file, the settings file and the options file of every end-to-end
# case, the bundled examples and a few thousand random paths and presets
# (reals near a tie in their 15th digit; a third of them with drawing
# options: caps and round corners), and a fifth as many select runs on random
# plans (T, X, splits, duplicates, near misses, polylines; half with
# options). Cases are batched, one Wine start per build and kind:
#   - all cases through the run driver and the dialog's OK in one process
#     (tests/crossbuild/CrossCheck.cpp);
#   - the examples and the first random cases through the real programs;
#   - the end-to-end tests, which run the real programs, keeping their files.
#   compare-builds.sh <native-build> <windows-build>... (COMPARE_COUNT: random cases, 3000)
set -euo pipefail
cd "$(dirname "$0")/.."
native="$(realpath "$1")"
shift
windows=()
for dir in "$@"; do windows+=("$(realpath "$dir")"); done
count="${COMPARE_COUNT:-3000}"
wine_run="$PWD/scripts/wine-run.sh"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

cases="$tmp/cases"
"$native/bin/crosscheck" generate "$cases" "$count" 20261209
for host in examples/*.host; do
  name="$(basename "$host" .host)"
  mkdir -p "$cases/example-$name"
  "$native/bin/jwhost" exchange "$host" "$cases/example-$name/JWC_TEMP.TXT" >/dev/null
  "$native/bin/jwhost" preset "examples/$name.preset" "$cases/example-$name/vomurel.dat" >/dev/null
  mode="$(sed -n 's/^mode \(1\|2\|select\)\b.*/\1/p' "$host")"
  printf '%s' "${mode:-2}" >"$cases/example-$name/args"
done
# The real programs on the examples, the first 100 random paths and the
# first 30 random plans.
programs="$tmp/program-cases"
mkdir -p "$programs"
for c in "$cases"/example-* $(find "$cases" -maxdepth 1 -name 'r*' | sort | head -100) \
  $(find "$cases" -maxdepth 1 -name 's*' | sort | head -30); do
  ln -s "$c" "$programs/$(basename "$c")"
done

# A Windows build is named by its folder's base name (windows, windows-x64).
for dir in "$native" "${windows[@]}"; do
  build="$(basename "$dir")"
  [ "$dir" = "$native" ] && build=native
  out="$tmp/out-$build"
  echo "compare-builds: $build" >&2
  if [ "$build" = native ]; then
    "$dir/bin/crosscheck" run "$cases" "$out/driver"
    "$dir/bin/crosscheck" spawn "$dir/bin/vomurel" "$programs" "$out/program"
    VOMUREL_E2E_KEEP="$out/e2e" "$dir/bin/test_endtoend" --gtest_filter=-*Native* >/dev/null
  else
    "$wine_run" "$dir/bin/crosscheck.exe" run "Z:$cases" "Z:$out/driver"
    "$wine_run" "$dir/bin/crosscheck.exe" spawn "Z:$dir/bin/vomurel.exe" "Z:$programs" "Z:$out/program"
    VOMUREL_E2E_KEEP="Z:$out/e2e" "$wine_run" "$dir/bin/test_endtoend.exe" >/dev/null
  fi
done

failures=0
files="$(find "$tmp/out-native" -type f | wc -l)"
names=()
for dir in "${windows[@]}"; do
  build="$(basename "$dir")"
  names+=("$build")
  if ! diff -r -q "$tmp/out-native" "$tmp/out-$build" >"$tmp/diff-$build"; then
    failures=$((failures + 1))
    echo "FAIL: the $build build writes other bytes than the native one:" >&2
    head -5 "$tmp/diff-$build" >&2
    first="$(sed -n '1s/^Files \(.*\) and \(.*\) differ$/\1 \2/p' "$tmp/diff-$build")"
    # shellcheck disable=SC2086 # two paths without blanks
    [ -n "$first" ] && diff $first | head -10 >&2
  fi
done
[ "$files" -gt "$count" ] || { echo "FAIL: only $files files were written" >&2; failures=$((failures + 1)); }
if [ "$failures" -gt 0 ]; then exit 1; fi
echo "compare-builds: the native program and ${names[*]} wrote the same bytes in all $files files" \
  "($count random cases and $(find "$cases" -maxdepth 1 -name 's*' | wc -l) random select runs," \
  "$(find "$cases" -maxdepth 2 -name vomurel.ini | wc -l) with options," \
  "$(find "$cases" -maxdepth 1 -name 'example-*' | wc -l) examples," \
  "$(find "$tmp/out-native/e2e" -mindepth 1 -maxdepth 1 | wc -l) end-to-end runs)"
