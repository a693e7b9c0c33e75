#!/usr/bin/env bash
# The texts shipped in the distribution: Shift-JIS that survives a round
# trip, CR LF line ends only, and batch files whose title, directives and
# program call are what the host expects.
#   check-dist-texts.sh --zip <vomurel-x.y.z.zip>   checks the zip as shipped
#   check-dist-texts.sh --sources <dist-dir>         converts the sources first
set -euo pipefail
export LC_ALL=C # byte order for sort, byte matching for grep
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

case "${1:-}" in
  --zip)
    unzip -q "$2" -d "$tmp"
    folder="$tmp/vomurel"
    expected="readme.txt vomurel.exe vomurel_2pt.bat vomurel_choose.bat vomurel_path.bat vomurel_select.bat vomurel_settings.bat"
    actual="$(find "$folder" -mindepth 1 -printf '%f\n' | sort | tr '\n' ' ' | sed 's/ $//')"
    [ "$actual" = "$expected" ] || fail "zip holds [$actual], expected [$expected]"
    [ "$(head -c 2 "$folder/vomurel.exe")" = "MZ" ] || fail "vomurel.exe is no Windows program"
    ;;
  --sources)
    bash "$2/package.sh" "$2" 0.0.0 "$tmp" >/dev/null
    folder="$tmp/vomurel"
    ;;
  *)
    echo "usage: $0 --zip <zip> | --sources <dist-dir>" >&2
    exit 2
    ;;
esac

check_text() { # file
  local f="$1" name
  name="$(basename "$f")"
  [ -s "$f" ] || { fail "$name is missing or empty"; return; }
  if ! iconv -f CP932 -t UTF-8 <"$f" >"$tmp/utf8"; then
    fail "$name is not valid Shift-JIS"
    return
  fi
  iconv -f UTF-8 -t CP932 <"$tmp/utf8" | cmp -s - "$f" ||
    fail "$name does not survive a Shift-JIS round trip"
  # Every LF has a CR before it, every CR an LF after it, and the file ends
  # with CR LF.
  local lf crlf cr
  lf="$(tr -cd '\n' <"$f" | wc -c)"
  cr="$(tr -cd '\r' <"$f" | wc -c)"
  crlf="$(grep -c $'\r$' "$f" || true)"
  if [ "$lf" -ne "$crlf" ] || [ "$cr" -ne "$crlf" ]; then
    fail "$name: $lf LF, $cr CR, $crlf CR LF line ends"
  fi
  [ "$(tail -c 2 "$f" | od -An -tx1 | tr -d ' \n')" = "0d0a" ] || fail "$name does not end with CR LF"
}

# file, program call, then the directives it must have and those it must not.
check_batch() {
  local f="$folder/$1" call="$2" want="$3" unwanted="$4" name="$1"
  check_text "$f"
  [ -s "$f" ] || return
  local lines
  mapfile -t lines < <(iconv -f CP932 -t UTF-8 <"$f" | tr -d '\r')
  [[ "${lines[0]}" =~ ^REM\ [^#\ ].+ ]] || fail "$name: first line is not \"REM <title>\": ${lines[0]}"
  local d directives=() calls=() ended=0
  for ((i = 1; i < ${#lines[@]}; i++)); do
    local l="${lines[i]}"
    if [[ "$l" == REM* ]]; then
      # A directive's "#" must stand within the first 10 bytes of the line.
      local hash="${l%%#*}"
      if [[ "$l" == *"#"* ]] && [ "${#hash}" -lt 10 ]; then
        d="${l#"$hash"}"
        d="${d%% *}"
        [ "$ended" -eq 0 ] || fail "$name: directive $d after #e"
        directives+=("$d")
        [ "$d" = "#e" ] && ended=1
      fi
    elif [ -n "$l" ]; then
      [ "$ended" -eq 1 ] || fail "$name: \"$l\" stands before #e"
      calls+=("$l")
    fi
  done
  if [ "${#calls[@]}" -ne 1 ] || [ "${calls[0]}" != "$call" ]; then
    fail "$name: program call is [${calls[*]}], expected [$call]"
  fi
  local found
  found="$(printf '%s\n' "${directives[@]}")"
  for d in $want; do
    grep -qxF -- "$d" <<<"$found" || fail "$name lacks $d"
  done
  for d in $unwanted; do
    grep -qxF -- "$d" <<<"$found" && fail "$name must not have $d"
  done
  return 0
}

check_batch vomurel_2pt.bat "vomurel.exe 1" "#jww #cd #zw #1- #2 #hr #e" "#99# #1-%d"
check_batch vomurel_path.bat "vomurel.exe 2" "#jww #cd #zw #1-%d #99# #hr #e" "#1- #2"
check_batch vomurel_settings.bat "vomurel.exe" "#jww #cd #e" "#zw #1- #2 #99# #hr"
# A range selection whose lines stay in the drawing: no picked points.
check_batch vomurel_select.bat "vomurel.exe select" "#jww #cd #zw #h1 #hc #hr #e" "#1- #1-%d #2 #99#"
select_prompt="$(iconv -f CP932 -t UTF-8 <"$folder/vomurel_select.bat" | tr -d '\r' | sed -n 's/^REM #hc //p')"
prompt_bytes="$(printf '%s' "$select_prompt" | iconv -f UTF-8 -t CP932 | wc -c)"
[ "$prompt_bytes" -gt 0 ] && [ "$prompt_bytes" -le 40 ] ||
  fail "vomurel_select.bat: prompt \"$select_prompt\" is empty or longer than 40 bytes"

# The continuous pick as the host's published batch files write it: a
# numbered prompt with a rubber band, then "#99#" alone on the next line.
path_lines="$(iconv -f CP932 -t UTF-8 <"$folder/vomurel_path.bat" | tr -d '\r')"
grep -A1 '^REM #1-%d ' <<<"$path_lines" | sed -n 2p | grep -qx 'REM #99#' ||
  fail "vomurel_path.bat: \"REM #1-%d <prompt>\" is not followed by \"REM #99#\" alone"
prompt="$(sed -n 's/^REM #1-%d //p' <<<"$path_lines")"
# The host's status bar is narrow: at most 40 bytes, 20 full-width characters.
prompt_bytes="$(printf '%s' "$prompt" | iconv -f UTF-8 -t CP932 | wc -c)"
[ "$prompt_bytes" -gt 0 ] && [ "$prompt_bytes" -le 40 ] ||
  fail "vomurel_path.bat: prompt \"$prompt\" is empty or longer than 40 bytes"

# Pick as vomurel_path.bat does, then the dialog, then the continuous run.
check_text "$folder/vomurel_choose.bat"
expected="$(printf '%s\n' 'REM 面取り多重線（選んで作図）' 'REM #jww' 'REM #cd' 'REM #zw' \
  "$(grep -A1 '^REM #1-%d ' <<<"$path_lines")" 'REM #hr' 'REM #e' vomurel.exe 'vomurel.exe 2')"
actual="$(iconv -f CP932 -t UTF-8 <"$folder/vomurel_choose.bat" | tr -d '\r' || true)"
[ "$actual" = "$expected" ] || fail "vomurel_choose.bat holds [$actual], expected [$expected]"

check_text "$folder/readme.txt"
readme="$(iconv -f CP932 -t UTF-8 <"$folder/readme.txt" || true)"
for word in 外部変形 プリセット vomurel_2pt.bat vomurel_path.bat vomurel_settings.bat vomurel_choose.bat \
  vomurel_select.bat 中心線 点指示終了 vomurel.dat vomurel.ini 留線 F6; do
  grep -qF "$word" <<<"$readme" || fail "readme.txt does not mention $word"
done
grep -q '@VERSION@' <<<"$readme" && fail "readme.txt still holds the version placeholder"

if [ "$failures" -gt 0 ]; then
  echo "dist texts: $failures problems" >&2
  exit 1
fi
echo "dist texts: batch files and read-me are Shift-JIS with CR LF and call the program as they should"
