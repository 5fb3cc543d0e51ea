#!/usr/bin/env bash
# Installs what building and testing QUELT needs on Debian 12, as root.
# Quick and silent when everything is there already.
set -euo pipefail

# Every package the project needs, in one place.
PACKAGES=(
  cmake ninja-build g++ pkg-config python3
  googletest libgtest-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine64 wine32:i386
  libopenobex2-dev openobex-apps
  clang libclang-rt-14-dev
  zip imagemagick icoutils
)

missing=()
for package in "${PACKAGES[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null || true)
  [[ $status == ii* ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "setup: installing ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
  echo "setup: run as root (or install the packages above) first" >&2
  exit 1
fi
# wine32 is a 32-bit package: it needs the i386 architecture.
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q "${missing[@]}"
