#!/usr/bin/env bash
# ctest's emulator for the Windows build: runs one .exe in the build tree's Wine prefix.
# A program that Wine could not start, or that died before it printed a line, would leave ctest
# nothing to show: Wine's own errors are shown (its other messages stay off), and a run that ends
# abnormally or silently is said here, with Wine's exit status.
. "$(dirname "$0")/wine-env.sh"
export WINEDEBUG="${TESS_WINEDEBUG:--all,err+all}"
program=$(basename "${1:-}")

if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  echo "wine-exec.sh: cannot start $program: there is no Wine prefix at $WINEPREFIX yet;" \
    "run the tests inside scripts/wine-session.sh's session (make test does)" >&2
  exit 1
fi

printed=$(mktemp)
trap 'rm -f "$printed"' EXIT
# Runs the program; its output goes to ctest and is kept in $printed. Sets status and seconds.
run() {
  local start=$SECONDS
  wine "$@" 2>&1 | tee "$printed"
  status=${PIPESTATUS[0]}
  seconds=$((SECONDS - start))
}

run "$@"
# Not a line, not even Wine's, and over at once: the program never ran (on a loaded machine Wine
# now and then fails to start a process). Once more, and said; a program that fails so again is
# reported below.
if ((status != 0 && seconds <= 1)) && [[ ! -s "$printed" ]]; then
  echo "wine-exec.sh: $program ended at once with exit status $status and printed nothing:" \
    "Wine did not start it; starting it again" >&2
  run "$@"
fi
# 0 and 1 are GoogleTest's own (passed, failed), said in its output. Under Wine the others are
# the low byte of a Windows status: 53 (0xC0000135) a DLL not found, 5 (0xC0000005) an access
# violation, 3 abort(); and statuses of Wine's loader that never started the program.
if ((status > 1)) || [[ ! -s "$printed" && $status -ne 0 ]]; then
  echo "wine-exec.sh: $program ended with exit status $status under Wine" \
    "$([[ -s "$printed" ]] && echo "(see its output above)" || echo "without printing a line:" \
      "it did not start, or died before its first line")" >&2
fi
exit "$status"
