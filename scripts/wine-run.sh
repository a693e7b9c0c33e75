#!/usr/bin/env bash
# Runs a Windows executable under the project's Wine prefix (CTest emulator).
# shellcheck source=scripts/wine-env.sh
source "$(dirname "$0")/wine-env.sh"
exec wine "$@"
