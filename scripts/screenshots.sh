# Sourced after wine-session.sh: takes screenshots of the real tessivane.exe, driven from outside
# by ui_driver.exe.

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
  local out="${*: -1}" left=100000 top=100000 right=0 bottom=0 l t r b
  for rect in "${@:1:$#-1}"; do
    read -r l t r b <<<"$rect"
    ((l < left)) && left=$l
    ((t < top)) && top=$t
    ((r > right)) && right=$r
    ((b > bottom)) && bottom=$b
  done
  import -window root -crop "$((right - left))x$((bottom - top))+${left}+${top}" +repage "$out"
}

# Starts the tool, photographs the splash, the main window and the open picker, then closes them.
tess_screenshot_tool() {
  local exe="$1" shots="$2" pid rect picker
  wine "$exe" </dev/null >/dev/null 2>&1 &
  pid=$!
  rect=$(tess_driver wait-label "https://tessivane.example" 30000)
  sleep 0.5
  tess_shoot "$rect" "$shots/splash.png"
  rect=$(tess_driver wait-button Add 30000)
  sleep 0.5
  tess_shoot "$rect" "$shots/main-window.png"
  tess_driver click Add
  picker=$(tess_driver wait-button OK 30000)
  sleep 0.5
  tess_shoot "$rect" "$picker" "$shots/picker.png"
  tess_driver click Cancel
  tess_driver close "Pelrith's Tessivane"
  wait "$pid"
}
