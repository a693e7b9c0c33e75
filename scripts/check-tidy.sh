#!/usr/bin/env bash
# Static analysis of the product code with the checks in .clang-tidy.
set -euo pipefail
cd "$(dirname "$0")/.."
db=build/native
[ -f "$db/compile_commands.json" ] || { echo "check-tidy: configure the native build first" >&2; exit 1; }
mapfile -t files < <(git ls-files 'common/*.cpp' 'exchange/*.cpp' 'settings/*.cpp' 'multiline/*.cpp' 'walls/*.cpp' 'preview/*.cpp' \
  'app/*.cpp' 'platform/headless/*.cpp' 'tools/*.cpp' | grep -v -e 'settings/Unit2.cpp' -e '_win\.cpp$')
printf '%s\n' "${files[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p "$db" --quiet --warnings-as-errors='*' 2>/dev/null
echo "clang-tidy: ${#files[@]} files clean"
