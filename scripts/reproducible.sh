#!/usr/bin/env bash
# Part of make test: builds tessivane.exe a second time, from a copy of the source tree in another
# folder into a build folder of its own, and compares it byte for byte with the one in
# build/windows. Two builds of one commit must give the same exe wherever they are made, so that
# anyone can check a download against the tagged source (README.md, "Checking a download").
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
first="$root/build/windows/app/tessivane.exe"
work="$root/build/reproducible"
copy="$work/source"

# The working tree as it stands, uncommitted changes too, without build folders and Git's data.
# tar keeps the files' times, so the second build folder stays up to date between runs.
rm -rf "$copy"
mkdir -p "$copy"
tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$copy" -xf - || exit 1
echo "Building tessivane.exe a second time, in $work"
if ! (cd "$copy" && cmake --preset windows -B "$work/build" --log-level=WARNING &&
      cmake --build "$work/build" --target tessivane) >"$work/build.log" 2>&1; then
  tail -n 40 "$work/build.log"
  echo "FAIL the second build of tessivane.exe failed" >&2
  exit 1
fi
second="$work/build/app/tessivane.exe"

sha256_of() { sha256sum "$1" | cut -d' ' -f1; }
if [[ "$(sha256_of "$first")" == "$(sha256_of "$second")" ]]; then
  echo "ok   tessivane.exe is the same from both builds: SHA-256 $(sha256_of "$first")"
  exit 0
fi
echo "FAIL tessivane.exe differs between two builds of the same source:"
echo "  $(sha256_of "$first")  $first"
echo "  $(sha256_of "$second")  $second"
exit 1
