#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, once: a second run installs nothing.
set -euo pipefail

packages=(
  cmake ninja-build make googletest
  clang-14 libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix
  wine wine64 fonts-wine xvfb xauth imagemagick
  osslsigncode openssl
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
  echo "Missing packages; install them as root: apt-get install --no-install-recommends ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q >/dev/null
apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
