#!/usr/bin/env bash
# Makes sure the Debian packages the build and tests need are present: installs
# missing ones when run as root, else names them and fails.
#   deps.sh          what the build needs
#   deps.sh --test   also the peers and tools the tests compare against or drive
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev libx11-dev)
if [ "${1:-}" = "--test" ]; then
  # Independent SZDD expanders and compressors; the Windows cross compiler, the
  # compatibility layer (32-bit) and an X server with input for the end-to-end runs.
  packages+=(mscompress libmspack-dev binutils-mingw-w64-i686 g++-mingw-w64-i686 wine wine32:i386 xvfb xdotool x11-apps)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
else
  echo "missing Debian packages: ${missing[*]}" >&2
  echo "install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
