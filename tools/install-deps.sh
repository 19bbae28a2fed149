#!/usr/bin/env bash
# Installs the Debian packages the game needs, skipping those already present: `install-deps.sh` the
# play set (build and play), `install-deps.sh --test` the play set and the test set (`make test`, `make bench`).
# CONTRIBUTING.md lists which of them a fresh machine lacks.
set -euo pipefail

# Compiler, build tools, the SDL2 family, and the Ogg Vorbis encoder the sound tools use.
play_packages=(
  cmake make g++ pkg-config
  libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev
  libvorbis-dev libogg-dev
)

# Unit tests and benchmarks; real-window tests (virtual X server, key presses, X client library, software
# OpenGL, and the X core fonts SDL's error box draws its text with); clang for the fuzz targets and its
# sanitizer runtimes; clang-format for the format check; the desktop entry and AppStream validators and
# what CPack's Debian package needs to read the game's library dependencies.
test_packages=(
  libgtest-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils python3 python3-xlib libgl1-mesa-dri xfonts-base
  clang libclang-rt-14-dev clang-format
  desktop-file-utils appstream dpkg-dev file
)

packages=("${play_packages[@]}")
case "${1:-}" in
  "") ;;
  --test) packages+=("${test_packages[@]}") ;;
  *)
    echo "usage: $0 [--test]" >&2
    exit 2
    ;;
esac

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
