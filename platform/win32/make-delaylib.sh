#!/usr/bin/env bash
# Makes a delay-import library for a system DLL from its import library:
# every function it exports, bound on first call instead of at start-up.
# usage: make-delaylib.sh <nm> <dlltool> <import-lib> <dll-name> <out.a> [i386]
# On i386 the import library's symbols carry the C prefix "_" and stdcall's
# "@<bytes>": the .def names drop the prefix (dlltool adds it back), and
# --kill-at binds them to the DLL's undecorated export names.
set -euo pipefail
nm="$1" dlltool="$2" implib="$3" dll="$4" out="$5" arch="${6:-}"
def="${out%.a}.def"
strip_prefix='' kill_at=()
if [ "$arch" = i386 ]; then
  strip_prefix='s/^_//'
  kill_at=(--kill-at)
fi
{
  echo "LIBRARY $dll"
  echo "EXPORTS"
  "$nm" -g --defined-only "$implib" 2>/dev/null | awk '$2 == "T" { print $3 }' | grep -v '^\.' |
    sed -e "$strip_prefix" | sort -u
} >"$def"
"$dlltool" --input-def "$def" --output-delaylib "$out" --dllname "$dll" "${kill_at[@]}"
