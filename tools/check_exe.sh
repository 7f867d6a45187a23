#!/usr/bin/env bash
# The built tessivane.exe as a player gets it, from the headers that objdump reads out of it: a
# 64-bit Windows GUI program that imports only DLLs every Windows 10 has, asks for ASLR (high
# entropy too), NX and terminal-server awareness, carries base relocations, checks stack canaries,
# and is no larger than a download should be. Prints one line per check ("ok" or "FAIL") and exits
# with 1 on any failure.
# Usage: tools/check_exe.sh TESSIVANE_EXE
# Without -e: each check runs its test and passes the status to check.
set -uo pipefail

exe="${1:?usage: check_exe.sh TESSIVANE_EXE}"
objdump="${OBJDUMP:-x86_64-w64-mingw32-objdump}"
failures=0

check() {
  if [[ "$1" == 0 ]]; then
    echo "ok   $2"
  else
    echo "FAIL $2"
    failures=$((failures + 1))
  fi
}

# What a player downloads: the 8-bit background, the code optimised for size and stripped. About
# 110 KiB of it is the C++ library's own exception support (its demangling terminate handler, the
# printf that needs, the strings of its exception classes) and about 90 KiB the bringing in of
# downloaded scenarios (zlib, the zip reader, the drop target).
size_limit=$((640 * 1024))

# The DLLs that every Windows 10 has and that tessivane.exe may import. Anything else
# (libstdc++-6.dll, libwinpthread-1.dll, a DLL of our own) would have to ship beside it.
system_dlls=" advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll user32.dll "

headers=$("$objdump" -p "$exe" 2>&1) || {
  check 1 "tessivane.exe is read by $objdump: $headers"
  exit 1
}
field() { awk -v name="$1" '$1 == name { print $2; exit }' <<<"$headers"; }

[[ "$headers" == *"file format pei-x86-64"* && "$(field Magic)" == 020b &&
  "$(field Subsystem)" == 00000002 ]]
check $? "tessivane.exe is a 64-bit Windows GUI program (magic $(field Magic), subsystem $(field Subsystem))"

# mingw's linker leaves the delay-import directory empty: the import table names every DLL.
mapfile -t dlls < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
foreign=""
for dll in "${dlls[@]}"; do
  [[ "$system_dlls" == *" ${dll,,} "* ]] || foreign+=" $dll"
done
[[ ${#dlls[@]} -gt 0 && -z "$foreign" ]]
check $? "tessivane.exe imports only DLLs of Windows itself (${dlls[*]})${foreign:+; not part of Windows:$foreign}"

# objdump names each bit of DllCharacteristics on a line of its own below the value.
flags=$(sed -n '/^DllCharacteristics/,/^[^[:space:]]/p' <<<"$headers")
for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT TERMINAL_SERVICE_AWARE; do
  grep -qw "$flag" <<<"$flags"
  check $? "tessivane.exe: DllCharacteristics has $flag (they are $(field DllCharacteristics))"
done

# Without base relocations Windows cannot move the image, whatever DYNAMIC_BASE says. The data
# directory's line: "Entry 5 <address> <size> Base Relocation Directory".
relocations=$(awk '$1 == "Entry" && $2 == 5 { print $4; exit }' <<<"$headers")
[[ -n "$relocations" && $((16#$relocations)) -gt 0 ]]
check $? "tessivane.exe carries base relocations, so it can be moved (0x${relocations:-0} bytes)"

# The handler that a smashed stack canary calls is linked in only when compiled code checks a
# canary; its message is the one trace of it left in a stripped exe.
grep -qaF "stack smashing detected" "$exe"
check $? "tessivane.exe checks stack canaries (the stack protector's handler is linked in)"

size=$(stat -c %s "$exe")
[[ $size -le $size_limit ]]
check $? "tessivane.exe is at most $((size_limit / 1024)) KiB (it is $size bytes)"

if [[ $failures -eq 0 ]]; then
  echo "all checks of tessivane.exe passed"
else
  echo "checks of tessivane.exe failed"
fi
[[ $failures -eq 0 ]]
