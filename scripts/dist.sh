#!/usr/bin/env bash
# make dist: builds the windows preset in a build folder of its own (build/release) and writes the
# release into build/dist: tessivane-VERSION-windows-x64.zip with tessivane.exe, README.txt,
# LICENSE.txt and CHANGELOG.txt, and SHA256SUMS for the archive and the exe. VERSION is the one of
# project() in CMakeLists.txt. The archive depends only on the commit: its entries come in a fixed
# order, each dated at the time of the last commit (SOURCE_DATE_EPOCH, when set, instead), so a
# second build of the commit, anywhere, gives the same bytes.
#
# With a code-signing certificate (SIGN_CERT=cert.pem SIGN_KEY=key.pem make dist, and optionally
# SIGN_TIMESTAMP, SIGN_PASS_FILE, SIGN_CA: see scripts/sign.sh), the archive holds the signed
# exe, and SHA256SUMS also gives the SHA-256 of the unsigned exe as tessivane-unsigned.exe: what
# a rebuild of the commit gives, and what the signed exe gives with its signature removed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [[ -z "${SOURCE_DATE_EPOCH:-}" ]]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct) ||
    { echo "not a Git checkout: set SOURCE_DATE_EPOCH to the release's time" >&2; exit 1; }
fi
export SOURCE_DATE_EPOCH
if [[ -n "$(git status --porcelain --untracked-files=no 2>/dev/null)" ]]; then
  echo "warning: uncommitted changes go into this archive; a release is made from a clean commit" >&2
fi

bash scripts/install-deps.sh
build="$root/build/release"
cmake --preset windows -B "$build" --log-level=WARNING >/dev/null
cmake --build "$build" --target tessivane
export TESS_FACTS_FILE="$build/project-facts.sh"
. scripts/project-facts.sh
version=$TESS_VERSION

name="tessivane-$version-windows-x64"
stage="$build/package"
dist="$root/build/dist"
rm -rf "$stage" "$dist"
mkdir -p "$stage" "$dist"
unsigned="$build/tessivane-unsigned.exe"
rm -f "$unsigned"
if [[ -n "${SIGN_CERT:-}${SIGN_KEY:-}" ]]; then
  [[ -n "${SIGN_CERT:-}" && -n "${SIGN_KEY:-}" ]] ||
    { echo "signing needs both SIGN_CERT and SIGN_KEY" >&2; exit 1; }
  cp "$build/app/tessivane.exe" "$unsigned"
  bash scripts/sign.sh "$unsigned" "$stage/tessivane.exe"
else
  cp "$build/app/tessivane.exe" "$stage/"
fi
# The texts with CR LF line ends, as Notepad shows them.
text() { sed -e "s/@VERSION@/$version/g" -e 's/\r$//' -e 's/$/\r/' "$1" >"$stage/$2"; }
text docs/README.txt README.txt
text LICENSE LICENSE.txt
text CHANGELOG.md CHANGELOG.txt

files=(tessivane.exe README.txt LICENSE.txt CHANGELOG.txt)
archive="$dist/$name.zip"
bash scripts/zip.sh "$archive" "$stage" "${files[@]}"

# Read back by another zip reader (CMake's libarchive), every file must come out as it went in.
unpacked="$build/unpacked"
rm -rf "$unpacked"
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$archive")
for file in "${files[@]}"; do
  cmp -s "$stage/$file" "$unpacked/$file" || { echo "FAIL $file does not unpack from $archive" >&2; exit 1; }
done
[[ $(find "$unpacked" -mindepth 1 -maxdepth 1 | wc -l) -eq ${#files[@]} ]] || { echo "FAIL $archive holds other files" >&2; exit 1; }
rm -rf "$unpacked"

(cd "$dist" && sha256sum "$name.zip" && cd "$stage" && sha256sum tessivane.exe) >"$dist/SHA256SUMS"
if [[ -f "$unsigned" ]]; then
  (cd "$build" && sha256sum tessivane-unsigned.exe) >>"$dist/SHA256SUMS"
fi

echo
for file in "${files[@]}"; do
  printf '  %-15s %9d bytes\n' "$file" "$(stat -c %s "$stage/$file")"
done
printf '%s (%d bytes)\n' "$archive" "$(stat -c %s "$archive")"
echo "SHA-256 $(sha256sum "$archive" | cut -d' ' -f1)"
if [[ -f "$unsigned" ]]; then
  echo "signed; the unsigned tessivane.exe has SHA-256 $(sha256sum "$unsigned" | cut -d' ' -f1)"
fi
