#!/usr/bin/env bash
# make run: builds tessivane.exe and starts it under Wine on a private demo prefix whose registry
# points at a fresh copy of examples/demo-game. With a display the tool opens there; without one
# it runs under Xvfb, and screenshots of the splash, the main window and the open picker are
# written instead (to TESS_SCREENSHOTS when set). With TESS_SCREENSHOT_SETS (make screenshots)
# they are taken at 96, 120, 144 and 192 DPI and in a dark and a high-contrast scheme, into
# build/screenshots, and the README's pictures are copied to docs/screenshots. With
# TESS_PLAIN_FONTS=1 (make screenshots-plain-fonts) they are taken in a prefix of their own without
# the bitmap fonts that the test session copies in, as in a player's plain Wine prefix, into
# build/screenshots/plain-fonts.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh
cmake --preset windows --log-level=WARNING >/dev/null
cmake --build --preset windows --target tessivane ui_driver high_contrast_preview

demo="$root/build/demo"
rm -rf "$demo/game"
mkdir -p "$demo"
cp -r examples/demo-game "$demo/game"
show_on_display=""
[[ -n "${DISPLAY:-}" && -z "${CI:-}" && -z "${TESS_SCREENSHOTS:-}" &&
  -z "${TESS_SCREENSHOT_SETS:-}" ]] && show_on_display=1
# The screenshots need a Wine desktop window; a real display must not get one: two prefixes.
if [[ -n "$show_on_display" ]]; then
  export TESS_WINEPREFIX="$demo/wine"
elif [[ -n "${TESS_PLAIN_FONTS:-}" ]]; then
  export TESS_WINEPREFIX="$demo/wine-plain-fonts"
  TESS_SCREENSHOTS="${TESS_SCREENSHOTS:-$root/build/screenshots/plain-fonts}"
else
  export TESS_WINEPREFIX="$demo/wine-headless"
fi

. scripts/wine-session.sh
. scripts/screenshots.sh
trap tess_session_stop EXIT
TESS_KEEP_DISPLAY="$show_on_display" tess_session_start
tess_register_game "$demo/game"

exe="$root/build/windows/app/tessivane.exe"
if [[ -n "$show_on_display" ]]; then
  echo "Starting Pelrith's Tessivane on $DISPLAY (the demo game folder is $demo/game)"
  wine "$exe"
  exit 0
fi

# Two downloads for the drop screenshots: a scenario of a name the demo game has, with other
# bytes, and a zip archive with a scenario and a read-me in a folder.
tess_demo_downloads() {
  rm -rf "$demo/downloads"
  mkdir -p "$demo/downloads"
  printf 'a newer harbour\r\n' >"$demo/downloads/Harbour At Dusk.scn"
  python3 - "$demo/downloads/Fjord Pack.zip" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as pack:
    pack.writestr("Fjord Pack/Northern Lights.scn", b"northern lights " * 64)
    pack.writestr("Fjord Pack/readme.txt", b"One map for the menu.\r\n")
PY
}

tess_desktop_on
shots="${TESS_SCREENSHOTS:-$root/build/screenshots}"
mkdir -p "$shots"
if [[ -n "${TESS_SCREENSHOT_SETS:-}" ]]; then
  # TESS_SCREENSHOT_SETS=1: every set; else the sets it names ("144dpi dark").
  sets=""
  [[ "$TESS_SCREENSHOT_SETS" != 1 ]] && sets="$TESS_SCREENSHOT_SETS"
  tess_screenshot_sets "$exe" "$root/build/windows/tools/high_contrast_preview.exe" "$shots" "$sets"
  tess_demo_downloads
  tess_screenshot_drop "$exe" "$shots" "$demo/downloads"
  echo "No display: screenshots written to $shots"
  # The README's pictures only from a run of every set.
  if [[ -z "$sets" ]]; then
    for shot in splash main-window picker main-window-144dpi drop-question drop-rows menu \
      menu-144dpi; do
      cp "$shots/$shot.png" "$root/docs/screenshots/"
    done
    echo "  and the README's copied to docs/screenshots"
  elif [[ -n "${TESS_PLAIN_FONTS:-}" ]]; then
    for shot in splash main-window; do
      cp "$shots/$shot.png" "$root/docs/screenshots/$shot-plain-fonts.png"
    done
    echo "  and the README's copied to docs/screenshots"
  fi
  exit 0
fi
tess_screenshot_tool "$exe" "$shots"

# The picker once more as a Chinese player sees it: started in Simplified Chinese (code page 936,
# which holds Japanese kana as well), on the demo game with scenarios named in Japanese and
# Chinese; 乗 is 81 5C there, its second byte that of "\".
cjk="$demo/game-cjk"
rm -rf "$cjk" "$demo/shots-cjk"
cp -r "$demo/game" "$cjk"
for name in 富士山の朝 乗鞍高原 长城日落 黄河渡口; do : >"$cjk/scenario/$name.scn"; done
mkdir -p "$demo/shots-cjk"
tess_register_game "$cjk"
LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 tess_screenshot_tool "$exe" "$demo/shots-cjk"
cp "$demo/shots-cjk/picker.png" "$shots/picker-cjk.png"

# A drop as the player makes it on the program in Explorer: two downloads on its command line.
tess_register_game "$demo/game"
tess_demo_downloads
tess_screenshot_drop "$exe" "$shots" "$demo/downloads"

echo "No display: screenshots written to"
echo "  $shots/splash.png"
echo "  $shots/main-window.png"
echo "  $shots/picker.png"
echo "  $shots/picker-cjk.png"
echo "  $shots/drop-question.png"
echo "  $shots/drop-rows.png"
