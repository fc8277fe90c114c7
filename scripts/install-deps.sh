#!/usr/bin/env bash
# Installs the Debian 12 packages the game and its tests need, where missing.
# Runs apt-get as root, or through sudo for another user.
set -euo pipefail

packages=(
  # toolchain
  g++ cmake ninja-build pkg-config clang libclang-rt-14-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # libraries of the game
  libboost-dev libtinyxml-dev
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev libvorbis-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev libpng-dev
  fonts-dejavu-core fonts-liberation2
  # the window test and screenshots; xdpyinfo tells when a display is up
  xvfb xauth xdotool x11-utils
  # the test scripts (damaged scenarios, the walks' checks)
  python3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "error: need root or sudo to install ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
