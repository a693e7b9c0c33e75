#!/usr/bin/env bash
# The program as shipped in the zip: a Windows program of the build's
# machine type, without debug sections, importing system DLLs only, with the
# project's version in its version resource and in its manifest.
#   check-dist-exe.sh <zip> <version> <machine: i386|x86-64> <objdump> <windres>
set -euo pipefail
export LC_ALL=C
zip="$1" version="$2" machine="$3" objdump="$4" windres="$5"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

unzip -q "$zip" vomurel/vomurel.exe -d "$tmp"
exe="$tmp/vomurel/vomurel.exe"

case "$machine" in
  i386) want="PE32 executable (GUI) Intel 80386" ;;
  *) want="PE32+ executable (GUI) x86-64" ;;
esac
kind="$(file -b "$exe")"
[[ "$kind" == "$want"* ]] || fail "vomurel.exe is \"$kind\", expected \"$want\""

sections="$("$objdump" -h "$exe" | awk '$1 ~ /^[0-9]+$/ { print $2 }')"
if grep -qE '^(\.debug|/[0-9])' <<<"$sections"; then
  fail "vomurel.exe has debug sections: $(grep -E '^(\.debug|/[0-9])' <<<"$sections" | tr '\n' ' ')"
fi
# Load-time and delay-loaded imports alike.
dlls="$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort -u)"
[ -n "$dlls" ] || fail "no imports found in vomurel.exe"
others="$(grep -viE '^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|imm32|msvcrt|advapi32|ole32|uxtheme|shlwapi)\.dll$' <<<"$dlls" || true)"
[ -z "$others" ] || fail "vomurel.exe imports DLLs that Windows does not have: $others"
[ "$("$objdump" -p "$exe" | sed -n 's/^Time\/Date[[:space:]]*//p')" = "Thu Jan  1 00:00:00 1970" ] ||
  fail "vomurel.exe has a time stamp in its PE header"

IFS=. read -r major minor patch <<<"$version"
rc="$("$windres" -i "$exe" -O rc)"
grep -qF "FILEVERSION $major, $minor, $patch, 0" <<<"$rc" || fail "FILEVERSION is not $version"
grep -qF "PRODUCTVERSION $major, $minor, $patch, 0" <<<"$rc" || fail "PRODUCTVERSION is not $version"
for value in "\"FileVersion\", \"$version\"" "\"ProductVersion\", \"$version\"" \
  '"ProductName", "Vomurel"' '"OriginalFilename", "vomurel.exe"' '"LegalCopyright", "Copyright'; do
  grep -qF "VALUE $value" <<<"$rc" || fail "version resource lacks $value"
done
# FileDescription in Japanese: 面取り多重線 as windres writes it.
grep -qF 'VALUE "FileDescription", L"\x9762\x53d6\x308a\x591a\x91cd\x7dda' <<<"$rc" ||
  fail "FileDescription is not the Japanese one"
grep -qF "name=\"\"Vomurel\"\" version=\"\"$major.$minor.$patch.0\"\"" <<<"$rc" ||
  fail "the manifest's assemblyIdentity version is not $major.$minor.$patch.0"

if [ "$failures" -gt 0 ]; then
  echo "dist exe: $failures problems" >&2
  exit 1
fi
echo "dist exe: $kind, $(stat -c %s "$exe") bytes, version $version, imports $(tr '\n' ' ' <<<"$dlls")"
