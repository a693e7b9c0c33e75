#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build and test Vomurel, and
# prepares the Wine prefix the Windows tests run in. Safe to run again: it
# does nothing when everything is present.
set -euo pipefail
cd "$(dirname "$0")/.."

# wine32:i386 runs the shipped 32-bit program; the i686 and x86_64 -posix
# compilers build it and the 64-bit one; librsvg2-bin is ImageMagick's SVG
# reader (and rsvg-convert), which the demo's pictures need; git gives the
# release zip the commit's time.
packages=(
  cmake make g++ googletest libgtest-dev libbenchmark-dev libboost-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine64 wine32:i386
  xvfb xdotool x11-utils imagemagick librsvg2-bin fonts-ipafont-gothic
  clang clang-format clang-tidy
  zip unzip file git
  hyperfine
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup: run as root or install sudo" >&2; exit 1; }
  SUDO="sudo"
fi
apt() { $SUDO env DEBIAN_FRONTEND=noninteractive apt-get "$@"; }

missing_of() { # packages... -> those not installed
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

updated=0
install_packages() { # packages...
  if [ "$updated" -eq 0 ]; then
    # A mirror in the middle of a sync makes update fail for one index
    # (exit 100) while the others are fine: go on with what was fetched.
    apt update -qq || echo "setup: apt-get update failed; installing from the package lists there are" >&2
    updated=1
  fi
  echo "setup: installing $*"
  if apt install -y -qq --no-install-recommends "$@" >/dev/null; then return; fi
  # A half-synced mirror can offer amd64 and i386 builds of one package in
  # different versions, which multi-arch refuses ("held broken packages"):
  # take them all from the release's own suite instead.
  local codename
  codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
  [ -n "$codename" ] || { echo "setup: installing failed" >&2; exit 1; }
  echo "setup: retrying from the $codename suite" >&2
  apt install -y -qq --no-install-recommends -t "$codename" "$@" >/dev/null
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup: enabling the i386 architecture (for wine32)"
  $SUDO dpkg --add-architecture i386
fi
mapfile -t missing < <(missing_of "${packages[@]}")
if ((${#missing[@]})); then install_packages "${missing[@]}"; fi
# The sanitizer and fuzzer runtimes of the clang that is installed.
clang_major="$(clang -dumpversion | cut -d. -f1)"
mapfile -t missing < <(missing_of "libclang-rt-$clang_major-dev")
if ((${#missing[@]})); then install_packages "${missing[@]}"; fi

# Wine prefix for the Windows tests, under build/ and created once. A prefix
# made before wine32 was installed fails for every program ("could not load
# kernel32.dll"), so the stamp is only written once programs of the kind this
# machine can run start in it, and a prefix without that stamp is made again.
# A kernel without 32-bit support gets a 64-bit prefix: the 32-bit program is
# then built and packed but not run (scripts/test.sh says so).
unset WINEPREFIX
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
if runs_32bit; then
  bits=32 triple=i686-w64-mingw32
else
  bits=64 triple=x86_64-w64-mingw32
  echo "setup: this machine's kernel does not run 32-bit programs; Wine runs 64-bit programs only"
fi
ready="$WINEPREFIX/.vomurel-ready-${bits}bit"
if [ ! -f "$ready" ] || { [ "$bits" = 32 ] && [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ]; }; then
  if [ -e "$WINEPREFIX" ]; then
    echo "setup: making the Wine prefix again (it was not made for ${bits}-bit programs)"
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
  fi
  echo "setup: preparing the Wine prefix (first start takes a while)"
  mkdir -p "$WINEPREFIX"
  probe="$WINEPREFIX/probe${bits}.exe"
  printf 'int main(void) { return 0; }\n' | "$triple-gcc-posix" -x c - -o "$probe"
  if [ "$bits" = 32 ]; then
    boot=(wineboot -i)
  else
    # Without a 32-bit loader the prefix lacks syswow64's programs, which
    # wineboot reports as a failure: the probe below decides.
    boot=(env WINEARCH=win64 wine wineboot -i)
  fi
  if ! "${boot[@]}" >/dev/null 2>&1 && [ "$bits" = 32 ]; then
    echo "setup: wineboot failed; the prefix $WINEPREFIX is not ready" >&2
    exit 1
  fi
  wineserver -w || true
  if { [ "$bits" = 32 ] && [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ]; } ||
    ! wine "$probe" >/dev/null 2>&1; then
    echo "setup: ${bits}-bit programs do not start in $WINEPREFIX (is wine32:i386 installed?)" >&2
    exit 1
  fi
  touch "$ready"
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
