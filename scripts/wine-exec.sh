#!/usr/bin/env bash
# ctest's emulator for the Windows build: runs one .exe in the build tree's Wine prefix.
. "$(dirname "$0")/wine-env.sh"
exec wine "$@"
