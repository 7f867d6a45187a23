# shellcheck shell=bash
# Sourced after wine-session.sh: takes screenshots of the real tessivane.exe, driven from outside
# by ui_driver.exe.

: "${tess_root:?screenshots.sh is sourced after wine-session.sh}"
tess_driver() { wine "$tess_root/build/windows/tools/ui_driver.exe" "$@" | tr -d '\r'; }

# Runs the prefix's programs in a Wine desktop window of the screen's size, so that Wine draws
# the windows' title bars and borders itself, as Windows would, without a window manager.
tess_desktop_on() {
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f \
    </dev/null >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f \
    </dev/null >/dev/null 2>&1
  # The desktop is chosen when Wine's explorer starts: start Wine again.
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  wineserver -p </dev/null >/dev/null 2>&1
  wine wineboot </dev/null >/dev/null 2>&1
}

# Writes the screen area that the windows cover (each given as "left top right bottom", as
# ui_driver prints it) to a PNG file: the last argument.
tess_shoot() {
  local out="${*: -1}" left=100000 top=100000 right=0 bottom=0 l t r b area
  for area in "${@:1:$#-1}"; do
    read -r l t r b <<<"$area"
    ((l < left)) && left=$l
    ((t < top)) && top=$t
    ((r > right)) && right=$r
    ((b > bottom)) && bottom=$b
  done
  import -window root -crop "$((right - left))x$((bottom - top))+${left}+${top}" +repage "$out"
}

# Starts the tool, photographs the splash, the main window, its menu on a row and the open picker,
# then closes them.
tess_screenshot_tool() {
  local exe="$1" shots="$2" pid rect picker menu
  wine "$exe" </dev/null >/dev/null 2>&1 &
  pid=$!
  rect=$(tess_driver wait-label "$TESS_HOME_PAGE" 30000)
  sleep 0.5
  tess_shoot "$rect" "$shots/splash.png"
  rect=$(tess_driver wait-button Add 30000)
  sleep 0.5
  tess_shoot "$rect" "$shots/main-window.png"
  menu=$(tess_driver menu "$TESS_CAPTION" 1)
  sleep 0.5
  tess_shoot "$rect" "$menu" "$shots/menu.png"
  tess_driver escape -
  tess_driver click Add
  picker=$(tess_driver wait-button OK 30000)
  sleep 0.5
  tess_shoot "$rect" "$picker" "$shots/picker.png"
  tess_driver click Cancel
  tess_driver close "$TESS_CAPTION"
  wait "$pid"
}

# Starts the tool with two downloads on its command line, as Explorer does for files dropped on
# it: a scenario of a name the game folder already has, with other bytes, and a zip archive. The
# question about the first is photographed, answered No (keep both), then the rows after it.
tess_screenshot_drop() {
  local exe="$1" shots="$2" downloads="$3" pid rect box
  wine "$exe" "$(winepath -w "$downloads/Harbour At Dusk.scn" 2>/dev/null)" \
    "$(winepath -w "$downloads/Fjord Pack.zip" 2>/dev/null)" </dev/null >/dev/null 2>&1 &
  pid=$!
  rect=$(tess_driver wait-button Add 30000)
  box=$(tess_driver wait-button "&No" 30000)
  sleep 0.5
  tess_shoot "$rect" "$box" "$shots/drop-question.png"
  tess_driver click "&No"
  tess_driver wait-gone "Replace scenario?" 30000
  sleep 0.5
  rect=$(tess_driver wait-button Add 30000)
  tess_shoot "$rect" "$shots/drop-rows.png"
  tess_driver close "$TESS_CAPTION"
  wait "$pid"
}

# Colour schemes as Windows keeps them (HKCU\Control Panel\Colors, "R G B"): a dark one and
# High Contrast Black.
tess_dark_colors=(
  "ButtonFace=45 45 48" "ButtonText=255 255 255" "ButtonShadow=28 28 30" "ButtonHilight=80 80 84"
  "ButtonLight=64 64 68" "ButtonDkShadow=10 10 10" "Window=30 30 30" "WindowText=255 255 255"
  "WindowFrame=90 90 90" "Hilight=0 120 215" "HilightText=255 255 255" "GrayText=150 150 150"
  "ActiveTitle=32 32 32" "GradientActiveTitle=32 32 32" "TitleText=255 255 255"
  "InactiveTitle=43 43 43" "GradientInactiveTitle=43 43 43" "InactiveTitleText=170 170 170"
  "Background=0 0 0" "Menu=43 43 43" "MenuText=255 255 255" "Scrollbar=62 62 66"
)
tess_high_contrast_colors=(
  "ButtonFace=0 0 0" "ButtonText=255 255 255" "ButtonShadow=128 128 128"
  "ButtonHilight=192 192 192" "ButtonLight=255 255 255" "ButtonDkShadow=255 255 255"
  "Window=0 0 0" "WindowText=255 255 255" "WindowFrame=255 255 255" "Hilight=26 235 255"
  "HilightText=0 0 0" "GrayText=63 242 63" "HotTrackingColor=255 255 0" "ActiveTitle=0 0 0"
  "GradientActiveTitle=0 0 0" "TitleText=255 255 255" "InactiveTitle=0 0 0"
  "GradientInactiveTitle=0 0 0" "InactiveTitleText=0 255 0" "Background=0 0 0" "Menu=0 0 0"
  "MenuText=255 255 255" "Scrollbar=0 0 0"
)

# The display of the prefix for the next start of Wine: its DPI and its colours, each given as
# "Name=R G B", over the prefix's own colours as tess_screenshot_sets found them (in
# $tess_own_colors). tess_desktop_on starts Wine again, which reads them.
tess_display() {
  local dpi="$1" pair regFile
  shift
  regFile=$(mktemp --suffix=.reg)
  {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n'
    printf '"LogPixels"=dword:%08x\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Colors]\r\n' "$dpi"
    printf '%s\r\n' "${tess_own_colors[@]}"
    for pair in "$@"; do
      printf '"%s"="%s"\r\n' "${pair%%=*}" "${pair#*=}"
    done
  } >"$regFile"
  wine regedit /S "$(winepath -w "$regFile" 2>/dev/null)" </dev/null >/dev/null 2>&1
  rm -f "$regFile"
  tess_desktop_on
}

# Every set of screenshots: at 96, 120, 144 and 192 DPI, in a dark scheme and in high contrast
# (NAME-120dpi.png, NAME-dark.png, ...; the 96-DPI ones without a suffix), or only the sets
# named in the fourth argument. The prefix is left at 96 DPI with its own colours.
tess_screenshot_sets() {
  local exe="$1" highContrastExe="$2" shots="$3" sets="${4:-96dpi 120dpi 144dpi 192dpi dark high-contrast}"
  local set dir ownFile
  # The prefix's colours as they are, to come back to: every value line of the key.
  ownFile=$(mktemp --suffix=.reg)
  wine regedit /E "$(winepath -w "$ownFile" 2>/dev/null)" 'HKEY_CURRENT_USER\Control Panel\Colors' \
    </dev/null >/dev/null 2>&1
  mapfile -t tess_own_colors < <(iconv -f UTF-16LE -t UTF-8 "$ownFile" 2>/dev/null | tr -d '\r\357\273\277' | grep '^"')
  rm -f "$ownFile"
  for set in $sets; do
    case "$set" in
      *dpi) tess_display "${set%dpi}" ;;
      dark) tess_display 96 "${tess_dark_colors[@]}" ;;
      high-contrast) tess_display 96 "${tess_high_contrast_colors[@]}" ;;
    esac
    dir=$(mktemp -d)
    if [[ "$set" == high-contrast ]]; then
      tess_screenshot_tool "$highContrastExe" "$dir"
    else
      tess_screenshot_tool "$exe" "$dir"
    fi
    for shot in splash main-window menu picker; do
      if [[ "$set" == 96dpi ]]; then
        mv "$dir/$shot.png" "$shots/$shot.png"
      else
        mv "$dir/$shot.png" "$shots/$shot-$set.png"
      fi
    done
    rmdir "$dir"
  done
  tess_display 96
}
