#!/usr/bin/env bash
# GUI tests of the settings dialog. Runs the real vomurel.exe under Wine in a
# virtual desktop of its own, acts on it through guidriver.exe (keys, clicks,
# reading controls back), then checks the settings file byte for byte.
#
#   gui-test.sh CASE        (CASE: one of the functions named case_*)
#
# CTest sets VOMUREL_EXE and GUIDRIVER (Unix paths of the built programs) and
# SCREENSHOT_DIR. Without DISPLAY the script starts an Xvfb of its own.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
: "${VOMUREL_EXE:?VOMUREL_EXE must name vomurel.exe}" "${GUIDRIVER:?GUIDRIVER must name guidriver.exe}"
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"

work="$(mktemp -d /tmp/vomurel-gui.XXXXXX)"
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$work/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  [ -s "$work/display" ] || { echo "gui: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(cat "$work/display")"
fi

app_dir="$work/app"
mkdir -p "$app_dir"
exe="$app_dir/vomurel.exe"
dat="$app_dir/vomurel.dat"
cp "$VOMUREL_EXE" "$exe"
desktop="vomurelgui$$"

winpath() { printf 'Z:%s' "${1//\//\\}"; }
fail() { echo "FAIL: $*" >&2; exit 1; }
ok() { echo "ok: $*"; }

# Every character as \uXXXX, for the driver's command line.
esc() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16BE | od -An -tx1 -v | tr -d ' \n' | sed 's/\(....\)/\\u\1/g'; }
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932; }

# Runs the driver against the program (arguments: driver commands). A
# "screenshot" command is answered by taking the picture here.
drive() {
  local log="$work/driver.log" flag="$work/screenshot.flag"
  rm -f "$log" "$flag"
  timeout 150 wine explorer "/desktop=$desktop,1024x768" "$(winpath "$GUIDRIVER")" \
    "$(winpath "$log")" "$(esc "$(winpath "$exe")")" "$@" >"${GUI_WINE_LOG:-/dev/null}" 2>&1 &
  local pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    if [ -s "$flag" ]; then take_screenshot "$(cat "$flag")"; rm -f "$flag"; fi
    sleep 0.1
  done
  wait "$pid" || true
  [ -f "$log" ] && cat "$log"
  grep -q '^PASS$' "$log" 2>/dev/null || fail "driver run failed"
}

take_screenshot() {  # geometry WxH+X+Y of the dialog on the Wine desktop; $shot names the file
  local window out="${SCREENSHOT_DIR:-$root/build/screenshots}/${shot:-dialog}.png"
  mkdir -p "$(dirname "$out")"
  window="$(xdotool search --name "^$desktop - Wine desktop\$" | head -1)"
  [ -n "$window" ] || fail "Wine desktop window not found"
  import -window "$window" -crop "$1" +repage "$out"
  ok "screenshot $out"
}

# ---- the settings file

line_of_comment() { echo $((4 + 71 * ($1 - 1))); }
line_of_field() {  # preset row field(1..7: Enabled Interval Chamfer PaperUnit Color LineType LineWidth)
  echo $((5 + 71 * ($1 - 1) + 7 * ($2 - 1) + $3 - 1))
}

# Default settings as an array (index = line number), changed by the case,
# then written with CR LF.
declare -a lines
default_lines() {
  lines=()
  lines[1]=100 lines[2]=100 lines[3]=1
  local p r n=4
  for p in $(seq 20); do
    lines[n]="" && n=$((n + 1))
    for r in $(seq 10); do
      lines[n]=0 lines[n + 1]=0 lines[n + 2]=0 lines[n + 3]=0 lines[n + 4]=0 lines[n + 5]=0
      lines[n + 6]=-1
      n=$((n + 7))
    done
  done
}
write_lines() {  # file
  local i
  : >"$1"
  for i in $(seq 1423); do printf '%s\r\n' "${lines[i]}" >>"$1"; done
}
set_field() { lines[$(line_of_field "$1" "$2" "$3")]="$4"; }
set_comment() { lines[$(line_of_comment "$1")]="$(sjis "$2")"; }

dat_line() { sed -n "${1}p" "$dat" | tr -d '\r'; }
preset_lines() { sed -n "$(line_of_comment "$1"),$(($(line_of_comment "$1") + 70))p" "$dat"; }
expect_line() {  # line expected what
  local actual
  actual="$(dat_line "$1")"
  [ "$actual" = "$2" ] || fail "$3: line $1 is '$actual', expected '$2'"
  ok "$3 = $2"
}
expect_field() { expect_line "$(line_of_field "$1" "$2" "$3")" "$4" "preset $1 row $2 field $3"; }
expect_comment_bytes() {  # preset utf8-text
  local n
  n="$(line_of_comment "$1")"
  sjis "$2" >"$work/expected-comment"
  sed -n "${n}p" "$dat" | tr -d '\r\n' >"$work/actual-comment"
  cmp -s "$work/expected-comment" "$work/actual-comment" ||
    fail "comment of preset $1: $(od -An -tx1 "$work/actual-comment")"
  ok "comment of preset $1 in Shift-JIS"
}
expect_well_formed() {  # 1423 lines, every one ended by CR LF
  [ -f "$dat" ] || fail "no settings file"
  local n crlf
  n="$(wc -l <"$dat")"
  crlf="$(grep -c $'\r$' "$dat" || true)"
  [ "$n" -eq 1423 ] && [ "$crlf" -eq 1423 ] || fail "settings file has $n lines, $crlf with CR LF"
  [ "$(tail -c 2 "$dat" | od -An -tx1 | tr -d ' ')" = "0d0a" ] || fail "last line not ended"
  ok "1423 lines with CR LF"
}
expect_unchanged() {  # copy
  cmp -s "$1" "$dat" || fail "settings file changed"
  ok "settings file byte-identical"
}

# ---- cases

case_first_start() {
  drive launch expect-window expect-tabs expect-tab 1 expect-position 100 100 \
    expect-text EditC "(empty)" \
    expect-check CH1 1 0 expect-text Edit1 1 0 expect-text Edit2 1 0 expect-check CH2 1 0 \
    expect-selected CB1 1 0 expect-selected CB2 1 0 expect-text CB3 1 -1 \
    expect-check CH1 10 0 expect-text Edit1 10 0 expect-text Edit2 10 0 expect-check CH2 10 0 \
    expect-selected CB1 10 0 expect-selected CB2 10 0 expect-text CB3 10 -1 \
    expect-count CB1 10 266 expect-count CB2 10 51 expect-count CB3 10 26 \
    expect-item CB1 1 0 "$(esc 現在線色)" expect-item CB1 1 18 "$(esc S/濃紫色)" \
    expect-item CB1 1 265 SXF-256 expect-item CB2 1 34 "$(esc '(予約)')" \
    expect-item CB2 1 0 "$(esc 現在線種)" expect-item CB3 1 25 200 \
    expect-text-start Memo1 "$(esc '◆項目の最初のチェックは')\\r\\n$(esc '　作図するか否かを指定')" \
    expect-field-height CB1 1 21 expect-field-height CB3 1 21 expect-ink-height Label1 9 13 \
    expect-focus-cycle \
    key enter expect-exit
  default_lines
  write_lines "$work/defaults.dat"
  expect_well_formed
  expect_unchanged "$work/defaults.dat"
}

case_open_on_preset_7() {
  default_lines
  lines[1]=150 lines[2]=120 lines[3]=7
  set_comment 7 "外壁　三重線"
  set_field 7 3 1 1
  set_field 7 3 2 12.5
  set_field 7 3 3 2
  set_field 7 3 4 1
  set_field 7 3 5 5
  set_field 7 3 6 7
  set_field 7 3 7 50
  write_lines "$dat"
  cp "$dat" "$work/before.dat"
  drive launch expect-tab 7 expect-position 150 120 expect-text EditC "$(esc 外壁　三重線)" \
    expect-check CH1 3 1 expect-text Edit1 3 12.5 expect-text Edit2 3 2 expect-check CH2 3 1 \
    expect-selected CB1 3 5 expect-selected CB2 3 7 expect-text CB3 3 50 \
    expect-check CH1 2 0 expect-text Edit1 2 0 \
    key esc expect-exit
  expect_unchanged "$work/before.dat"
}

case_malformed_reals() {
  drive launch set Edit1 1 1,5 set Edit2 1 2.50 set Edit1 2 abc set Edit2 2 1e-5 \
    tab 2 expect-text Edit1 1 0 expect-text Edit2 1 0 \
    tab 1 expect-text Edit1 1 0 expect-text Edit2 1 2.5 expect-text Edit1 2 0 \
    expect-text Edit2 2 1E-5 \
    click Button1 expect-exit
  expect_well_formed
  expect_field 1 1 2 0
  expect_field 1 1 3 2.5
  expect_field 1 2 2 0
  expect_field 1 2 3 1E-5
}

case_widths() {
  drive launch set CB3 1 40000 set CB3 2 -5 set CB3 3 12 set CB3 4 30000 set CB3 5 x \
    key alt+y expect-exit
  expect_well_formed
  expect_field 1 1 7 -1
  expect_field 1 2 7 -1
  expect_field 1 3 7 12
  expect_field 1 4 7 30000
  expect_field 1 5 7 0
  expect_field 1 6 7 -1
}

case_colour_outside_list() {
  default_lines
  set_field 1 1 5 300
  set_field 1 2 6 51
  set_field 1 3 5 265
  write_lines "$dat"
  drive launch expect-selected CB1 1 -1 expect-selected CB2 2 -1 expect-selected CB1 3 265 \
    expect-text CB1 1 "(empty)" \
    key enter expect-exit
  expect_well_formed
  expect_field 1 1 5 -1
  expect_field 1 2 6 -1
  expect_field 1 3 5 265
}

case_two_tabs_ok() {
  drive launch click-tab 2 expect-tab 2 set EditC "$(esc 三重線～①)" toggle CH1 1 set Edit1 1 5 \
    choose CB1 1 2 choose CB2 1 1 \
    tab 5 expect-text EditC "(empty)" expect-check CH1 1 0 set EditC five toggle CH1 3 set CB3 3 25 \
    tab 2 expect-text EditC "$(esc 三重線～①)" expect-check CH1 1 1 expect-selected CB1 1 2 \
    tab 5 key enter expect-exit
  expect_well_formed
  expect_line 3 5 "current preset"
  expect_comment_bytes 2 "三重線～①"
  expect_field 2 1 1 1
  expect_field 2 1 2 5
  expect_field 2 1 5 2
  expect_field 2 1 6 1
  expect_comment_bytes 5 five
  expect_field 5 3 1 1
  expect_field 5 3 7 25
  expect_comment_bytes 1 ""
  expect_field 1 1 1 0
}

case_copy_paste_clear() {  # a tab's menu by mouse and access keys: ③ onto ⑤, ④ cleared
  default_lines
  set_comment 3 "外壁　三重線"
  set_comment 4 x
  local f
  for f in 1 2 3 4 5 6 7; do set_field 3 1 "$f" "$f" && set_field 3 10 "$f" "$((f * 3))"; done
  write_lines "$dat"
  drive launch right-click-tab 3 menu-key c right-click-tab 4 menu-key d expect-text EditC "(empty)" \
    right-click-tab 5 menu-key v expect-text Edit1 10 6 key enter expect-exit
  expect_line 3 5 "current preset"
  cmp -s <(preset_lines 3) <(preset_lines 5) || fail "preset 5 differs from preset 3"
  ok "preset 5 equals preset 3"
}

# Edits, tab changes and a moved window, then one way of cancelling.
cancel_case() {  # driver commands that cancel
  default_lines
  lines[3]=3
  set_comment 3 "そのまま"
  set_field 3 1 1 1
  write_lines "$dat"
  cp "$dat" "$work/before.dat"
  drive launch expect-tab 3 set EditC changed toggle CH1 1 tab 9 set Edit1 2 77 drag 40 30 "$@" \
    expect-exit
  expect_unchanged "$work/before.dat"
  drive launch expect-tab 3 expect-position 100 100 expect-text EditC "$(esc そのまま)" \
    expect-check CH1 1 1 key esc expect-exit
  expect_unchanged "$work/before.dat"
}
case_cancel_button() { cancel_case click Button2; }
case_cancel_esc() { cancel_case key esc; }
case_cancel_close_box() { cancel_case closebox; }
# Dragged under where the preview was: the preview follows, Cancel is clickable.
case_cancel_after_move() { cancel_case drag 260 70 expect-buttons-clear click Button2; }
case_cancel_system_menu() { cancel_case key alt+space key c; } # C is Close alone there

case_cancel_first_start() {
  drive launch toggle CH1 1 key alt+n expect-exit
  [ ! -e "$dat" ] || fail "Cancel created a settings file"
  ok "no settings file"
}

case_position_saved_by_ok() {
  drive launch drag 60 40 expect-position 160 140 key enter expect-exit
  expect_line 1 160 "window left"
  expect_line 2 140 "window top"
  cp "$dat" "$work/after-ok.dat"
  drive launch expect-position 160 140 drag 30 30 key esc expect-exit
  expect_unchanged "$work/after-ok.dat"
}

case_japanese_comments() {
  # Second bytes 0x5C (ソ, 表), half-width kana, an ideographic space and
  # blanks at both ends must all come back unchanged.
  default_lines
  set_comment 1 " ソフト表示　ｶﾅ "
  set_comment 20 "能力№①～⑳"
  write_lines "$dat"
  cp "$dat" "$work/before.dat"
  drive launch expect-text EditC "$(esc " ソフト表示　ｶﾅ ")" tab 20 \
    expect-text EditC "$(esc "能力№①～⑳")" tab 1 key enter expect-exit
  expect_unchanged "$work/before.dat"
  drive launch tab 4 set EditC "$(esc "間隔 面取量")" key enter expect-exit
  expect_comment_bytes 4 "間隔 面取量"
  expect_comment_bytes 1 " ソフト表示　ｶﾅ "
}

case_pasted_line_breaks() {
  # Tab 1 by the clipboard (Wine keeps the first line only); tab 2 with the
  # breaks inside the box, as a Windows paste can leave them.
  drive launch clipboard "$(esc $'一行目\r\n二行目\r\n三行目')" focus EditC key ctrl+v \
    tab 2 put-text EditC "$(esc $'一行目\r\n二行目')" tab 1 tab 2 \
    expect-text EditC "$(esc $'一行目\r\n二行目')" key enter expect-exit
  expect_well_formed
  local comment
  comment="$(dat_line 4 | iconv -f CP932 -t UTF-8)"
  case "$comment" in
    一行目*) ok "pasted comment kept on one line: '$comment'" ;;
    *) fail "pasted comment is '$comment'" ;;
  esac
  expect_line 5 0 "the line after the comment"
  expect_comment_bytes 2 "一行目  二行目"
  expect_line "$(line_of_field 2 1 1)" 0 "the line after the second comment"
}

case_japanese_folder() {
  local folder="$work/設定 フォルダ"
  mkdir -p "$folder"
  mv "$exe" "$folder/vomurel.exe"
  exe="$folder/vomurel.exe"
  dat="$folder/vomurel.dat"
  drive launch set EditC x key enter expect-exit
  expect_well_formed
  expect_comment_bytes 1 x
}

case_screenshot() {  # the README's picture: the dialog and its preview
  default_lines
  set_comment 1 "外壁 三重線（一点鎖線＋実線）"
  local rows=("-150 50 2 5 -1" "0 0 1 1 -1" "150 75 10 19 35")
  local r interval chamfer colour type width
  for r in 1 2 3; do
    read -r interval chamfer colour type width <<<"${rows[r - 1]}"
    set_field 1 "$r" 1 1
    set_field 1 "$r" 2 "$interval"
    set_field 1 "$r" 3 "$chamfer"
    set_field 1 "$r" 5 "$colour"
    set_field 1 "$r" 6 "$type"
    set_field 1 "$r" 7 "$width"
  done
  set_field 1 3 4 1
  write_lines "$dat"
  drive launch expect-text Edit1 3 150 screenshot "$(winpath "$work/screenshot.flag")" \
    key esc expect-exit
}

# ---- the preview window and failures

case_preview_live() {
  # Every kind of edit redraws the preview; the dialog keeps the keyboard.
  # The host's layer group 0 at 1:50 makes the paper-unit tick count; the
  # dialog only reads that file.
  printf 'hs 50 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\n' >"$app_dir/JWC_TEMP.TXT"
  cp "$app_dir/JWC_TEMP.TXT" "$work/exchange-before"
  drive launch expect-preview snap-preview \
    toggle CH1 1 expect-preview-changed \
    set Edit1 1 30 expect-preview-changed \
    set Edit2 1 8 expect-preview-changed \
    toggle CH2 1 expect-preview-changed \
    choose CB1 1 8 expect-preview-changed \
    choose CB2 1 2 expect-preview-changed \
    set CB3 1 200 expect-preview-changed \
    key f6 key tab key tab key space expect-check RoundCorners 1 expect-preview-changed key f6 \
    set Edit1 1 abc expect-preview-changed \
    tab 2 expect-preview-changed \
    close-preview expect-preview-hidden show-preview expect-preview \
    minimise-restore expect-preview \
    key esc expect-exit
  [ ! -e "$dat" ] || fail "Esc wrote a settings file"
  cmp -s "$work/exchange-before" "$app_dir/JWC_TEMP.TXT" || fail "the exchange file changed"
  ok "no settings file after Esc, exchange file untouched"
}

case_preview_picked_path() {
  # Started with picked points (vomurel_choose.bat), the preview draws along
  # them instead of the sample paths; the dialog keeps the keyboard.
  drive launch expect-preview log-picture key esc expect-exit
  local samples
  samples="$(grep '^picture ' "$work/driver.log")"
  printf 'hp1 0 0\r\nhp2 2400 0\r\nhp3 2400 1600\r\n' >"$app_dir/JWC_TEMP.TXT"
  drive launch expect-preview log-picture key esc expect-exit
  [ "$(grep '^picture ' "$work/driver.log")" != "$samples" ] || fail "the preview ignores the path"
}

case_screenshot_picked() {  # the README's picture of the preview along a picked L-shaped path
  printf 'hp1 0 0\r\nhp2 2400 0\r\nhp3 2400 1600\r\n' >"$app_dir/JWC_TEMP.TXT"
  # with both caps and round corners
  printf '[1]\r\nStartCap=1\r\nEndCap=1\r\nCapOverhang=100\r\nRoundCorners=1\r\n' \
    >"$app_dir/vomurel.ini"
  shot=dialog-picked case_screenshot
}

case_preview_ok() {
  drive launch expect-preview toggle CH1 1 set Edit1 1 12.5 key enter expect-exit
  expect_well_formed
  expect_field 1 1 1 1
  expect_field 1 1 2 12.5
}

case_failed_save() {
  # A folder where the settings file should be: OK cannot replace it.
  mkdir -p "$dat"
  echo keep >"$dat/inside.txt"
  drive launch set EditC kept toggle CH1 2 key enter \
    expect-message "$(esc 設定を保存できませんでした)" "$(esc "$(winpath "$dat")")" \
    expect-running expect-text EditC kept expect-check CH1 2 1 \
    key enter expect-message "$(esc 設定を保存できませんでした)" "$(esc "$(winpath "$dat")")" \
    expect-running key esc expect-exit
  [ -d "$dat" ] && [ "$(cat "$dat/inside.txt")" = keep ] || fail "the folder was changed"
  [ "$(ls -A "$app_dir" | tr '\n' ' ')" = "vomurel.dat vomurel.exe " ] ||
    fail "files left beside the program: $(ls -A "$app_dir")"
  ok "nothing on disk changed"
}

case_dpi_144() {
  # Wine's screen DPI for this test only; the value before is put back.
  dpi_key='HKCU\Control Panel\Desktop'
  dpi_before="$({ wine reg query "$dpi_key" /v LogPixels 2>/dev/null || true; } | tr -d '\r' |
    awk '/LogPixels/ { print $3 }')"
  restore_dpi() {
    if [ -n "$dpi_before" ]; then
      wine reg add "$dpi_key" /v LogPixels /t REG_DWORD /d "$((dpi_before))" /f >/dev/null 2>&1 ||
        true
    else
      wine reg delete "$dpi_key" /v LogPixels /f >/dev/null 2>&1 || true
    fi
  }
  trap 'restore_dpi; cleanup' EXIT
  wine reg add "$dpi_key" /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
  # 589 x 314 at 1.5 times, rounded as MulDiv does; the label's text drawn
  # with the 20-pixel font (13 pixels at 96 DPI give at most 13 rows of ink).
  drive launch expect-client 884 471 expect-ink-height Label1 15 20 key esc expect-exit
  # No room beside it on this screen: the preview may overlap, but not the buttons.
  drive launch expect-buttons-clear drag -60 -60 expect-buttons-clear click Button2 expect-exit
}

# ---- the drawing options' strip on the preview window

ini="$app_dir/vomurel.ini"
# The options file's lines of a preset, as "Key=Value Key=Value ...".
ini_section() {
  tr -d '\r' <"$ini" | awk -v s="[$1]" '$0 ~ /^\[/ { on = ($0 == s); next } on' | paste -sd' '
}
expect_ini_section() {  # preset expected
  local actual
  actual="$(ini_section "$1")"
  [ "$actual" = "$2" ] || fail "options of preset $1: '$actual', expected '$2'"
  ok "options of preset $1"
}
expect_ini_well_formed() {  # 20 sections of 8 keys, CR LF
  [ -f "$ini" ] || fail "no options file"
  local n crlf
  n="$(wc -l <"$ini")"
  crlf="$(grep -c $'\r$' "$ini" || true)"
  [ "$n" -eq 180 ] && [ "$crlf" -eq 180 ] || fail "options file has $n lines, $crlf with CR LF"
  ok "180 lines with CR LF"
}
defaults_but() {  # key=value..., the other keys at their defaults
  local out="" key value
  for pair in StartCap=0 EndCap=0 CapOverhang=0 CapPaperUnit=0 CapColor=0 CapLineType=0 \
    CapLineWidth=-1 RoundCorners=0; do
    key="${pair%%=*}" value="${pair#*=}"
    for set in "$@"; do [ "${set%%=*}" = "$key" ] && value="${set#*=}"; done
    out+="${out:+ }$key=$value"
  done
  printf '%s' "$out"
}

case_strip_keyboard_ok() {
  # F6 into the strip, Space ticks its first box, F6 back, Enter is OK.
  drive launch expect-preview expect-check StartCap 0 key f6 key space expect-check StartCap 1 \
    key f6 key enter expect-exit
  expect_well_formed
  expect_ini_well_formed
  expect_ini_section 1 "$(defaults_but StartCap=1)"
  expect_ini_section 2 "$(defaults_but)"
}

case_strip_cancel() {
  drive launch key f6 key space expect-check StartCap 1 key f6 key esc expect-exit
  [ ! -e "$dat" ] && [ ! -e "$ini" ] || fail "Cancel wrote a file"
  ok "nothing written"
}

# Ticked with the mouse: Esc in the strip cancels, Enter is OK, except in an open list.
case_strip_click_enter_esc() {
  drive launch click StartCap expect-check StartCap 1 key esc expect-exit
  [ ! -e "$dat" ] && [ ! -e "$ini" ] || fail "Esc in the strip wrote a file"
  drive launch expect-preview click StartCap key tab key tab key tab key tab key tab key tab \
    key f4 key down key enter expect-running key enter expect-exit
  expect_ini_section 1 "$(defaults_but StartCap=1 CapColor=1)"
}

case_strip_follows_tabs() {
  # Each preset keeps its own options; OK saves both and the visible tab's.
  drive launch key f6 key space key f6 tab 2 expect-check StartCap 0 \
    key f6 key tab key space expect-check EndCap 1 key f6 \
    tab 1 expect-check StartCap 1 expect-check EndCap 0 \
    tab 2 expect-check EndCap 1 key enter expect-exit
  expect_line 3 2 "current preset"
  expect_ini_section 1 "$(defaults_but StartCap=1)"
  expect_ini_section 2 "$(defaults_but EndCap=1)"
}

"case_$1"
echo "PASS: $1"
