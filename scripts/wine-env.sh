# Sourced by the scripts that run Windows programs: the project's Wine prefix
# under build/, and on a kernel that cannot run 32-bit programs (Wine's usual
# loader is one) the 64-bit loader in its place. Defines runs_32bit.
vomurel_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$vomurel_root/build/wineprefix}" WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# True when this kernel starts 32-bit x86 programs: some virtual machines'
# kernels have no 32-bit support, and there Wine's 32-bit loader fails with
# "Exec format error".
runs_32bit() {
  [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

if ! runs_32bit && [ -x /usr/lib/wine/wine64 ]; then
  vomurel_wine_bin="$vomurel_root/build/wine-bin"
  if [ ! -x "$vomurel_wine_bin/wine" ]; then
    mkdir -p "$vomurel_wine_bin"
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$vomurel_wine_bin/wine.new"
    chmod +x "$vomurel_wine_bin/wine.new"
    mv "$vomurel_wine_bin/wine.new" "$vomurel_wine_bin/wine"
  fi
  export WINELOADER=/usr/lib/wine/wine64
  case ":$PATH:" in
    *":$vomurel_wine_bin:"*) ;;
    *) export PATH="$vomurel_wine_bin:$PATH" ;;
  esac
fi
