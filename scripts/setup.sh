#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test Vomurel, and
# prepares the Wine prefix the Windows tests run in. Safe to run again: it
# does nothing when everything is present.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake make g++ googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-x86-64 wine wine64
  xvfb xdotool x11-utils imagemagick fonts-ipafont-gothic
  clang libclang-rt-14-dev clang-format clang-tidy
  zip unzip
  hyperfine
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine prefix for the Windows tests, under build/ and created once.
export WINEPREFIX="$PWD/build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.vomurel-ready" ]; then
  echo "setup: preparing the Wine prefix (first start takes a while)"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
  touch "$WINEPREFIX/.vomurel-ready"
fi

# Fonts, applied again when this list changes (a new stamp name). The dialog's
# font is "MS Gothic" (in Japanese): map it to the IPA font. Window captions
# use Tahoma, whose Japanese fallback is "MS UI Gothic". Caption buttons are
# drawn with Marlett, which this Wine does not find in its own data folder.
if [ ! -f "$WINEPREFIX/.vomurel-fonts-2" ]; then
  regfile="$WINEPREFIX/vomurel-fonts.reg"
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"ＭＳ ゴシック"="IPAGothic"\r\n"MS Gothic"="IPAGothic"\r\n"ＭＳ Ｐゴシック"="IPAPGothic"\r\n"MS UI Gothic"="IPAGothic"\r\n' |
    iconv -f UTF-8 -t UTF-16 >"$regfile"
  wine regedit /S "$regfile" >/dev/null 2>&1 || true
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  wineserver -w || true
  touch "$WINEPREFIX/.vomurel-fonts-2"
fi
