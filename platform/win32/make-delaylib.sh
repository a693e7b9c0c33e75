#!/usr/bin/env bash
# Makes a delay-import library for a system DLL from its import library:
# every function it exports, bound on first call instead of at start-up.
# usage: make-delaylib.sh <nm> <dlltool> <import-lib> <dll-name> <out.a>
set -euo pipefail
nm="$1" dlltool="$2" implib="$3" dll="$4" out="$5"
def="${out%.a}.def"
{
  echo "LIBRARY $dll"
  echo "EXPORTS"
  "$nm" -g --defined-only "$implib" 2>/dev/null | awk '$2 == "T" { print $3 }' | grep -v '^\.' | sort -u
} >"$def"
"$dlltool" --input-def "$def" --output-delaylib "$out" --dllname "$dll"
