#!/usr/bin/env bash
# Checks, in the .h and .cpp files of platform/, core/, game/ and ui/ (tracked or new), that
# - every #include "folder/..." points to the file's own floor or a lower one: ui/ builds on game/,
#   game/ on core/, core/ on platform/ (app/, tests/, fuzz/, bench/ and tools/ are not checked);
# - core/ and game/ include nothing of platform/window/, the window toolkit: only ui/ shows windows
#   and message boxes;
# - core/ and game/ include no Windows header and call no Win32 function (by name: the ...A, ...W
#   and ...ExA entry points and the calls of this program's kind without such an ending);
# - every header of core/ and game/ compiles on its own with the native compiler, which has no
#   Windows headers: none draws in <windows.h>, not even through a header of platform/.
# Prints each offending line with its file and fails when there is one.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

floor() {
  case "$1" in
    platform) echo 0 ;;
    core) echo 1 ;;
    game) echo 2 ;;
    ui) echo 3 ;;
    *) echo 9 ;;
  esac
}

# Windows headers, and Win32 calls: the ANSI and wide entry points (…A, …W, …ExA) and the calls of
# this program's kind that carry no such ending.
windows_header='#include <(windows|winreg|winuser|winbase|shlobj|shellapi|objbase|ole2|olectl|knownfolders|commctrl)\.h>'
win32_call='\b([A-Z][A-Za-z0-9]*[a-z0-9](A|W|ExA|ExW)|GetLastError|SetLastError|CloseHandle|FindClose|FlushFileBuffers|Sleep|LocalFree|GlobalAlloc|GlobalLock|GlobalUnlock|GlobalFree|CoInitializeEx|CoUninitialize|CoTaskMemFree|GetACP|RegCloseKey|ReadFile|WriteFile|WideCharToMultiByte|MultiByteToWideChar|SHGetKnownFolderPath|GetDesktopWindow|GetActiveWindow|EnableWindow|DestroyWindow|ShowWindow)\s*\('

failed=0
report() {
  echo "$1"
  failed=1
}

while IFS= read -r file; do
  own=$(floor "${file%%/*}")
  while IFS= read -r hit; do
    line=${hit%%:*}
    target=$(sed -E 's/^[0-9]+:\s*#include "([^/"]+)\/.*/\1/' <<<"$hit")
    if (( $(floor "$target") > own && own < 9 )); then
      report "$file:$line: ${hit#*:}   (${file%%/*}/ may not include $target/)"
    fi
  done < <(grep -nE '^\s*#include "[^"/]+/' "$file")
  case "$file" in
    core/* | game/*)
      while IFS= read -r hit; do
        report "$file:${hit%%:*}: ${hit#*:}   (only ui/ uses the window toolkit)"
      done < <(grep -nE '^\s*#include "platform/window/' "$file")
      while IFS= read -r hit; do
        report "$file:${hit%%:*}: ${hit#*:}   (Windows goes through platform/)"
      done < <(grep -nE "$windows_header" "$file"; sed -E 's://.*$::' "$file" | grep -nE "$win32_call")
      ;;
  esac
done < <(git ls-files --cached --others --exclude-standard -- 'platform/*' 'core/*' 'game/*' 'ui/*' | grep -E '\.(h|cpp)$')

while IFS= read -r header; do
  if ! errors=$(clang++-14 -std=c++20 -fsyntax-only -Wall -Wextra -Wshadow -Wconversion -Werror \
    -I. -x c++ - <<<"#include \"$header\"" 2>&1); then
    report "$header: does not compile on its own natively:"$'\n'"$errors"
  fi
done < <(git ls-files --cached --others --exclude-standard -- 'core/*.h' 'game/*.h')

if ((failed)); then
  echo "The floors are broken: see the lines above." >&2
  exit 1
fi
echo "Layers: each include on its floor or lower; core/, game/: no window toolkit, no Win32," \
  "each header compiles on its own."
