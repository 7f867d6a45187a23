#!/usr/bin/env bash
# Checks the artwork and the resource script:
#   1. tools/make_art.py, run twice, gives byte for byte the files in ui/res/;
#   2. the frame tiles join without a seam in both windows (tools/check_frame.py);
#   3. ui/res/tessivane.rc compiles with windres;
#   4. a small executable linked with it loads every resource under Wine, and tessivane.exe carries
#      the project's version (tools/check_resources.cpp) and imports only DLLs of Windows
#      (tools/check_exe.sh); the same checks run in make test.
# Usage: tools/check_art.sh
# Wine runs in a prefix of its own (build/art-check/wine), apart from the test suite's.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work="$root/build/art-check"
mkdir -p "$work"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

echo "== generator is deterministic and matches ui/res"
python3 "$root/tools/make_art.py" --out "$tmp/a"
python3 "$root/tools/make_art.py" --out "$tmp/b"
status=0
for file in "$tmp"/a/*; do
  name=$(basename "$file")
  cmp -s "$file" "$tmp/b/$name" || { echo "FAIL $name differs between two runs"; status=1; }
  cmp -s "$file" "$root/ui/res/$name" || { echo "FAIL ui/res/$name is not what the generator makes"; status=1; }
done
[[ $status -eq 0 ]] && echo "ok   $(find "$tmp/a" -mindepth 1 -maxdepth 1 | wc -l) files"

echo "== frame joins"
python3 "$root/tools/check_frame.py" --res "$root/ui/res" || status=1

echo "== resource script"
# check_resources.exe and tessivane.exe of the windows preset, which link ui/res/tessivane.rc.
(cd "$root" && cmake --preset windows --log-level=WARNING >/dev/null &&
  cmake --build --preset windows --target check_resources >/dev/null)
echo "ok   windres and link"
checker="$root/build/windows/tools/check_resources.exe"
exe="$root/build/windows/app/tessivane.exe"

echo "== resources under Wine"
export TESS_WINEPREFIX="$work/wine"
# shellcheck source=../scripts/wine-session.sh
. "$root/scripts/wine-session.sh"
tess_session_start
trap 'tess_session_stop; rm -rf "$tmp"' EXIT
wine "$checker" "$exe" || status=1
bash "$root/tools/check_exe.sh" "$exe" || status=1
exit $status
