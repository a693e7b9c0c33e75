#!/usr/bin/env bash
# The shipped program, unpacked from the zip as a user would, run under Wine
# the way the host runs it: an exchange file written beside it, the program
# called as the batch file calls it, and the commands read back. The
# settings file and the exchange file are written here byte by byte, not by
# the project's own code, so that they check its formats too.
#   dist-wine-run.sh <vomurel-x.y.z.zip> <wine-run.sh>
set -euo pipefail
export LC_ALL=C # byte order for sort, byte matching for grep
zip="$(realpath "$1")" wine_run="$(realpath "$2")"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
unzip -q "$zip" -d "$tmp"
cd "$tmp/vomurel"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Settings: preset 1 current, its row 1 drawn at interval 10 with a chamfer
# of 3, colour list position 2, line type position 1, the host's width.
{
  printf '100\r\n100\r\n1\r\n'
  for p in $(seq 1 20); do
    printf '\r\n' # comment
    for r in $(seq 1 10); do
      if [ "$p" -eq 1 ] && [ "$r" -eq 1 ]; then
        printf '1\r\n10\r\n3\r\n0\r\n2\r\n1\r\n-1\r\n'
      else
        printf '0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n-1\r\n'
      fi
    done
  done
} >vomurel.dat
[ "$(wc -l <vomurel.dat)" -eq 1423 ] || fail "the test's settings file is not 1423 lines"
settings_sum="$(md5sum <vomurel.dat)"

# An L-shaped path: (0, 0), (100, 0), (100, 100), picked unless other
# records are given.
host_file() {
  printf 'hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nlg0\r\nly0\r\nlc1\r\nlt1\r\nlw0\r\n'
  printf '%b' "${1:-hp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\n}"
}

# The program call of a batch file: its one line that is no REM line.
call_of() { tr -d '\r' <"$1" | grep -v '^REM' | grep -v '^$'; }

run_batch() { # batch file, expected exchange file after the run[, records]
  local bat="$1" expected="$2" call
  call="$(call_of "$bat")"
  host_file "${3:-}" >JWC_TEMP.TXT
  # shellcheck disable=SC2086 # the call is "vomurel.exe <argument>"
  timeout 120 "$wine_run" ./$call || fail "$bat: \"$call\" ended with $?"
  if cmp -s JWC_TEMP.TXT <(printf '%b' "$expected"); then
    echo "ok: $bat ($call) drew the expected records"
  else
    fail "$bat ($call) wrote:"
    cat -A JWC_TEMP.TXT | head -20 >&2
    echo "expected:" >&2
    printf '%b' "$expected" | cat -A >&2
  fi
}

# Continuous picking: both segments shifted to the left by 10, mitred at
# (90, 10) and chamfered by 3 on each side of the corner.
run_batch vomurel_path.bat \
  'lg0\r\nly0\r\nlc2\r\nlt1\r\nlw0\r\n0 10 87 10\r\n87 10 90 13\r\n90 13 90 100\r\n'
# Two-point picking: the first segment only, without a corner.
run_batch vomurel_2pt.bat 'lg0\r\nly0\r\nlc2\r\nlt1\r\nlw0\r\n0 10 100 10\r\n'
# The same L selected as two lines: one chain, drawn as the picked path is.
run_batch vomurel_select.bat \
  'lg0\r\nly0\r\nlc2\r\nlt1\r\nlw0\r\n0 10 87 10\r\n87 10 90 13\r\n90 13 90 100\r\n' \
  ' 0 0 100 0\r\n 100 0 100 100\r\n'

[ "$(md5sum <vomurel.dat)" = "$settings_sum" ] || fail "an unattended run changed vomurel.dat"
[ "$(find . -mindepth 1 -printf '%f\n' | sort | tr '\n' ' ')" = "JWC_TEMP.TXT readme.txt vomurel.dat vomurel.exe vomurel_2pt.bat vomurel_choose.bat vomurel_path.bat vomurel_select.bat vomurel_settings.bat " ] ||
  fail "the run left other files: $(ls)"

if [ "$failures" -gt 0 ]; then
  echo "dist wine run: $failures problems" >&2
  exit 1
fi
