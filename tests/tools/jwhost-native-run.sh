#!/usr/bin/env bash
# jwhost with the native program on every bundled example: the tool runs in
# a folder of its own with the settings written from the preset
# description, its commands come back, and each run gives a picture.
#   jwhost-native-run.sh <jwhost> <vomurel> <examples-dir>
set -euo pipefail
jwhost="$1" vomurel="$2" examples="$3"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

expect_records() { # example, then records that its output must hold
  local name="$1" out="$tmp/$1.out"
  shift
  for record in "$@"; do
    grep -qxF "  $record" "$out" || fail "$name: no record \"$record\""
  done
}

for host in "$examples"/*.host; do
  name="$(basename "$host" .host)"
  if ! "$jwhost" run "$host" --presets "$examples/$name.preset" --exe "$vomurel" \
    --svg "$tmp/$name.svg" >"$tmp/$name.out" 2>"$tmp/$name.err"; then
    fail "$name: jwhost failed: $(cat "$tmp/$name.err")"
    continue
  fi
  records="$(grep -cE '^  -?[0-9.E-]+ -?[0-9.E-]+ -?[0-9.E-]+ -?[0-9.E-]+$' "$tmp/$name.out" || true)"
  [ "$records" -gt 0 ] || fail "$name: no line records"
  lines="$(grep -c '<line ' "$tmp/$name.svg" || true)"
  [ "$lines" -ge "$records" ] || fail "$name: $records records but $lines lines in the picture"
  if grep -qx 'mode select' "$host"; then
    grep -q '<line class="selected"' "$tmp/$name.svg" || fail "$name: no selected lines in the picture"
  else
    grep -q '<polyline class="picked"' "$tmp/$name.svg" || fail "$name: no picked path in the picture"
  fi
done

# Corners mitred and chamfered on both sides of the path.
expect_records l-path lg0 ly0 lc2 lt1 lw0 "87 10 90 13" "90 13 90 100" "107 -10 110 -7" \
  "110 -7 110 100" lc8 lt5 "0 0 100 0" "100 0 100 100"
# A closed path: eight records per row, the closing corner chamfered too.
expect_records rectangle lc6 "12 8 108 8" "108 8 112 12" "112 12 112 68" "112 68 108 72" \
  "108 72 12 72" "12 72 8 68" "8 68 8 12" "8 12 12 8" lc3 "122 -8 128 -2" "-8 -2 -2 -8"
# The short middle segment leaves the second corner a plain mitre.
expect_records zigzag "37.9289321881345 5 55 12.0710678118655" \
  "55 12.0710678118655 57.9289321881345 15" "57.9289321881345 15 120 15"
# Paper millimetres times the scale 100 of layer group 2.
expect_records paper-units lg2 ly5 lw3 "530 50 550 70" "550 70 550 430" "550 430 570 450" \
  "630 -50 650 -30" lc101 lt35 lw1
# Caps across both ends of the open wall, 5 beyond its faces, in the cap's pen.
expect_records wall-door "13 10 20 10" "-7 -10 20 -10" "110 -15 110 15" "20 -15 20 15"
# Round corners: one arc per row, all about one centre, and each in the picture.
expect_records kerb-return "0 500 0 150" "ci 150 150 150 180 270 1 0" "150 0 700 0" \
  "ci 150 150 135 180 270 1 0" "ci 150 150 180 180 270 1 0"
# The plan, run on its selected lines: each T opens the through wall's near
# face, the partition's cap inside the wall it starts from is gone, the X
# opens both ways, and free ends get their caps.
expect_records plan "2100 100 3900 100" "1900 100 1900 1800" "2100 1800 1900 1800" \
  "7100 -100 7100 1400" "7100 1600 8400 1600" "8600 1600 10000 1600" "10000 1400 10000 1600" \
  "8600 500 8400 500" "8500 4400 8500 4600"
grep -qE "^  (1900 0 2100 0|2100 0 1900 0)$" "$tmp/plan.out" && fail "plan: a cap inside a wall"
arcs="$(grep -c '<path class="arc"' "$tmp/kerb-return.svg" || true)"
[ "$arcs" -eq 3 ] || fail "kerb-return: $arcs arcs in the picture"

# The settings file is the tool's own: 1423 lines, the comment in Shift-JIS.
"$jwhost" preset "$examples/l-path.preset" "$tmp/l-path.dat"
[ "$(wc -l <"$tmp/l-path.dat")" -eq 1423 ] || fail "preset: not 1423 lines"
[ "$(sed -n 4p "$tmp/l-path.dat" | iconv -f CP932 -t UTF-8)" = $'壁 厚20 面取3\r' ] ||
  fail "preset: comment line is $(sed -n 4p "$tmp/l-path.dat" | od -c)"
[ "$(sed -n 5,11p "$tmp/l-path.dat" | tr -d '\r' | tr '\n' ' ')" = "1 10 3 0 2 1 -1 " ] ||
  fail "preset: row 1 of preset 1 is $(sed -n 5,11p "$tmp/l-path.dat" | tr -d '\r' | tr '\n' ' ')"
# Options go to the options file beside it, and only when a preset has some.
[ ! -e "$tmp/l-path.ini" ] || fail "preset: an options file without options"
"$jwhost" preset "$examples/wall-door.preset" "$tmp/wall-door.dat"
[ "$(sed -n 1,4p "$tmp/wall-door.ini" | tr -d '\r' | tr '\n' ' ')" = "[1] StartCap=1 EndCap=1 CapOverhang=5 " ] ||
  fail "preset: options file begins $(head -4 "$tmp/wall-door.ini" | od -c | head -3)"

# The exchange file as the host writes it.
"$jwhost" exchange "$examples/paper-units.host" "$tmp/JWC_TEMP.TXT"
printf 'hs 1 1 100 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nlg2\r\nly5\r\nlc2\r\nlt1\r\nlw1\r\nhp1 0 0\r\nhp2 600 0\r\nhp3 600 400\r\nhp4 1200 400\r\n' |
  cmp -s - "$tmp/JWC_TEMP.TXT" || fail "exchange: $(cat -A "$tmp/JWC_TEMP.TXT")"

# A broken description is refused with its line number, before anything runs.
printf 'point 0 0\npoint 1\n' >"$tmp/bad.host"
if "$jwhost" run "$tmp/bad.host" --exe "$vomurel" 2>"$tmp/bad.err"; then
  fail "a broken description was accepted"
fi
grep -q 'bad.host: line 2: expected "point <x> <y>"' "$tmp/bad.err" || fail "message: $(cat "$tmp/bad.err")"

if [ "$failures" -gt 0 ]; then
  echo "jwhost native run: $failures problems" >&2
  exit 1
fi
echo "jwhost native run: every example drew its lines and pictures"
