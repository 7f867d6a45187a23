#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, once: a second run installs nothing.
set -euo pipefail

packages=(
  cmake ninja-build make googletest
  clang-14 libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix
  wine wine64 fonts-wine xvfb xauth imagemagick
  locales fonts-wqy-microhei
  osslsigncode openssl
  shellcheck clang-format-14
  libz-mingw-w64-dev zlib1g-dev
)

# The locales that the name and path tests run again in: under Wine the ANSI code page follows the
# locale a program starts in (932, 936, 949, 950 double-byte; 1251 single-byte), and Wine only takes a
# locale that the system has generated. Made once; a second run finds them.
test_locales=(ja_JP zh_CN zh_TW ko_KR ru_RU)
generate_locales() {
  local name
  for name in "${test_locales[@]}"; do
    locale -a 2>/dev/null | grep -qix "$name.utf-\?8" && continue
    if [[ $(id -u) -ne 0 ]]; then
      echo "Missing locale $name.UTF-8; generate it as root: localedef -i $name -f UTF-8 $name.UTF-8" >&2
      return 1
    fi
    echo "Generating the locale $name.UTF-8"
    localedef -i "$name" -f UTF-8 "$name.UTF-8"
  done
}

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
if [[ ${#missing[@]} -eq 0 ]]; then
  generate_locales
  exit
fi

if [[ $(id -u) -ne 0 ]]; then
  echo "Missing packages; install them as root: apt-get install --no-install-recommends ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q >/dev/null
apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
generate_locales
