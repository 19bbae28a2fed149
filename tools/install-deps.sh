#!/usr/bin/env bash
# Installs the Debian packages the game needs, skipping those already present: `install-deps.sh` the
# play set (build and play), `--web` adds the web set (`make web`), `--test` adds the web set and the test set
# (`make test`, `make bench`). CONTRIBUTING.md lists which of them a fresh machine lacks.
set -euo pipefail

# Compiler, build tools, the SDL2 family, and the Ogg Vorbis encoder the sound tools use.
play_packages=(
  cmake make g++ pkg-config
  libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev
  libvorbis-dev libogg-dev
)

# Unit tests and benchmarks; real-window tests (virtual X server, key presses, X client library, software
# OpenGL, the X core fonts SDL's error box draws its text with, and a small window manager, without which a
# fullscreen window does not take a wide screen); clang for the fuzz targets and its
# sanitizer runtimes; clang-format for the format check; the desktop entry and AppStream validators and
# what CPack's Debian package needs to read the game's library dependencies.
test_packages=(
  libgtest-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils python3 python3-xlib libgl1-mesa-dri xfonts-base openbox
  clang libclang-rt-14-dev clang-format
  desktop-file-utils appstream dpkg-dev file
)

# The browser build: Debian's emscripten, the acorn parser its optimiser needs, and dpkg-source to unpack
# Debian's SDL source packages (tools/web/build-libs.sh). The browser tests add Debian's Chromium.
web_packages=(emscripten node-acorn dpkg-dev python3)
web_test_packages=(chromium)

packages=("${play_packages[@]}")
web=false
case "${1:-}" in
  "") ;;
  --web)
    packages+=("${web_packages[@]}")
    web=true
    ;;
  --test)
    packages+=("${web_packages[@]}" "${test_packages[@]}" "${web_test_packages[@]}")
    web=true
    ;;
  *)
    echo "usage: $0 [--web | --test]" >&2
    exit 2
    ;;
esac

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

# The browser tests install their driver with npm; Node.js may come with its own npm, not Debian's.
if [ "${1:-}" = --test ] && ! command -v npm >/dev/null; then
  missing+=(npm)
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
updated=false

# The web build compiles SDL from Debian's source packages, which apt fetches only with a deb-src entry. It
# gets a file of its own, with the same archives, releases and components as the system's deb entries;
# nothing else of apt's configuration is touched.
deb_src_file=/etc/apt/sources.list.d/kestrovane-deb-src.sources
if $web && [ ! -f "$deb_src_file" ]; then
  entries=$(python3 "$(dirname "$0")/web/deb-src-entries.py")
  echo "Adding Debian's source package entries to $deb_src_file (for the web build's SDL)"
  printf '%s\n' "$entries" | "${sudo_cmd[@]}" tee "$deb_src_file" >/dev/null
  "${sudo_cmd[@]}" apt-get update -qq
  updated=true
fi

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
$updated || "${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
