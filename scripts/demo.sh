#!/usr/bin/env bash
# The main job on the bundled examples: builds the Windows program and the
# distribution zip, builds jwhost (the host stand-in) natively, runs the real
# vomurel.exe under Wine on every example in examples/ as the host would,
# prints the commands it wrote back and draws them to build/demo/.
# Build folders can be moved with VOMUREL_NATIVE_BUILD and VOMUREL_WINDOWS_BUILD.
set -euo pipefail
cd "$(dirname "$0")/.."
native="${VOMUREL_NATIVE_BUILD:-build/native}"
windows="${VOMUREL_WINDOWS_BUILD:-build/windows}"
jobs="$(nproc)"

bash scripts/setup.sh
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh

echo "demo: building jwhost ($native) and vomurel.exe ($windows)"
cmake --preset native -B "$native" >/dev/null
cmake --build "$native" -j"$jobs" --target jwhost >/dev/null
cmake --preset windows -B "$windows" >/dev/null
cmake --build "$windows" -j"$jobs" --target vomurel dist >/dev/null
program="$windows/bin/vomurel.exe"
if ! runs_32bit; then
  # The same program built for 64-bit Windows: this kernel starts no 32-bit ones.
  windows64="${VOMUREL_WINDOWS64_BUILD:-build/windows-x64}"
  echo "demo: this machine runs no 32-bit programs; the examples run the 64-bit build ($windows64)"
  cmake --preset windows-x64 -B "$windows64" >/dev/null
  cmake --build "$windows64" -j"$jobs" --target vomurel >/dev/null
  program="$windows64/bin/vomurel.exe"
fi

# A PNG beside each SVG for viewers without SVG support: rsvg-convert, or
# ImageMagick when it can read SVG. A picture that cannot be converted is
# reported in one line and the demo goes on.
to_png() { # svg png
  if command -v rsvg-convert >/dev/null; then
    rsvg-convert -b white -o "$2" "$1" 2>/dev/null && return
  fi
  if command -v convert >/dev/null; then
    convert "$1" "$2" 2>/dev/null && return
  fi
  return 1
}

out=build/demo
rm -rf "$out"
mkdir -p "$out"
failures=0
for host in examples/*.host; do
  name="$(basename "$host" .host)"
  echo
  if ! "$native/bin/jwhost" run "$host" --presets "examples/$name.preset" \
    --exe "$program" --wine --svg "$out/$name.svg"; then
    echo "demo: $name: the run failed; going on with the next example" >&2
    failures=$((failures + 1))
    continue
  fi
  if ! to_png "$out/$name.svg" "$out/$name.png"; then
    rm -f "$out/$name.png"
    echo "demo: $name: no PNG (install librsvg2-bin for rsvg-convert); the SVG is there" >&2
  fi
done

echo
echo "demo: pictures in $out/:"
ls "$out"
echo "demo: the zip users install: $(ls "$windows"/vomurel-*.zip)"
[ "$failures" -eq 0 ]
