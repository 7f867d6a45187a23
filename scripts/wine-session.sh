# shellcheck shell=bash
# Sourced: starts and stops what the Windows programs need on a machine without a display:
# an Xvfb server, the build tree's Wine prefix (made once) and a persistent, warmed wineserver.
# Usage: . scripts/wine-session.sh; tess_session_start; ...; tess_session_stop
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
. "$(dirname "${BASH_SOURCE[0]}")/project-facts.sh"

tess_xvfb_pid=""
tess_wineserver_started=""

tess_session_start() {
  # make run on a machine with a display shows the tool there.
  if [[ -z "${TESS_KEEP_DISPLAY:-}" ]]; then
    tess_start_xvfb || return 1
  fi
  tess_prepare_prefix
}

tess_start_xvfb() {
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" </dev/null >/dev/null 2>&1 &
  tess_xvfb_pid=$!
  for _ in $(seq 1 100); do [[ -s "$fdfile" ]] && break; sleep 0.1; done
  if [[ ! -s "$fdfile" ]]; then
    echo "Xvfb did not start" >&2
    rm -f "$fdfile"
    return 1
  fi
  DISPLAY=":$(head -n1 "$fdfile")"
  export DISPLAY
  rm -f "$fdfile"
}

tess_prepare_prefix() {
  # Making a prefix takes seconds, and tests that race to make one fail: do it once, here.
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i </dev/null >/dev/null 2>&1
    wineserver -w
    # A crashing test must fail at once instead of waiting on Wine's crash dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      </dev/null >/dev/null 2>&1
    wineserver -w
  fi

  # Wine registers its own fonts (MS Sans Serif of the link labels, Marlett of the caption
  # buttons) under the prefix's Fonts folder but does not put the files there: bring Debian's.
  # TESS_PLAIN_FONTS leaves a prefix as a player's plain one is, with other faces standing in.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [[ -z "${TESS_PLAIN_FONTS:-}" && -d "$fonts" && ! -f "$fonts/sserife.fon" &&
    -d /usr/share/wine/fonts ]]; then
    cp /usr/share/wine/fonts/* "$fonts/"
  fi

  # A persistent server, its pipes away from ours, warmed once: otherwise the helper processes
  # that the first test starts inherit that test's pipes and ctest never sees it end.
  wineserver -p </dev/null >/dev/null 2>&1
  tess_wineserver_started=1
  # Without a window manager (Xvfb), Wine waits two seconds for one at every hide of a managed
  # window: leave the windows unmanaged there, and to the window manager of a real display.
  local managed=N
  [[ -n "${TESS_KEEP_DISPLAY:-}" ]] && managed=Y
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$managed" /f \
    </dev/null >/dev/null 2>&1
  wine wineboot </dev/null >/dev/null 2>&1
}

tess_session_stop() {
  if [[ -n "$tess_wineserver_started" ]]; then
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    tess_wineserver_started=""
  fi
  if [[ -n "$tess_xvfb_pid" ]]; then
    kill "$tess_xvfb_pid" 2>/dev/null
    wait "$tess_xvfb_pid" 2>/dev/null
    tess_xvfb_pid=""
  fi
}

# Points the prefix's game registration at a folder of this machine, where the game's 32-bit
# setup writes it: the registry's 32-bit view (Software\Wow6432Node in a 64-bit prefix).
tess_register_game() {
  local windowsPath
  windowsPath=$(winepath -w "$1" 2>/dev/null)
  wine reg add "HKLM\\$TESS_GAME_REGISTRY_KEY" /v "$TESS_GAME_FOLDER_VALUE" \
    /t REG_SZ /d "${windowsPath%\\}" /reg:32 /f </dev/null >/dev/null 2>&1
}
