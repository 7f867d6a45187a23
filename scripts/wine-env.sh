# shellcheck shell=bash
# Sourced by the scripts that run Windows programs: the Wine settings of one build tree's prefix.
# The prefix is the build tree's own, never the user's: TESS_WINEPREFIX chooses another one.
tess_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${TESS_WINEPREFIX:-$tess_root/build/windows/wine}"
export WINEARCH=win64
# No Mono or Gecko install prompts; no debug channel noise (unset WINEDEBUG to see why an .exe
# does not start: exit status 53 is a DLL that could not be found).
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${TESS_WINEDEBUG:--all}"
