#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing the game need, skipping those already present.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev
  libvorbis-dev libogg-dev
  libgtest-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils python3 python3-xlib libgl1-mesa-dri
  clang libclang-rt-14-dev clang-format
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
