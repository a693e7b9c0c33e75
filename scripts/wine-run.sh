#!/usr/bin/env bash
# Runs a Windows executable under the project's Wine prefix (CTest emulator).
here="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}" WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# Every test case is a process of its own: a wineserver that outlives its last
# client by a minute keeps the next case from connecting to a server that is
# just shutting down ("recvmsg: Connection reset by peer"). When one runs
# already, this call leaves it alone.
wineserver -p60 >/dev/null 2>&1 || true
exec wine "$@"
