#!/usr/bin/env bash
# Installs the Debian packages a make target uses, skipping those already present. With no option, the play
# set (build and play, `make run`); each option adds sets, and options combine:
#   --format    clang-format alone (the format stage), without the play set
#   --check     the play set and what the unit and scenario tests need (`make check`)
#   --test      the play set and every test tool but the browser's (`make test`, `make bench`)
#   --web       the play set and Debian's emscripten (`make web`)
#   --web-test  --web with Chromium and npm (the browser tests, `make bench`'s page figures)
# CONTRIBUTING.md lists which of them a fresh machine lacks. Nothing of apt's configuration is changed.
set -euo pipefail

# Compiler, build tools, the SDL2 family, and the Ogg Vorbis encoder the sound tools use.
play_packages=(
  cmake make g++ pkg-config
  libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev
  libvorbis-dev libogg-dev
  gettext
)

# The unit and scenario tests, and the tools' own tests (Python).
check_packages=(libgtest-dev python3)

# Benchmarks; real-window tests (virtual X server, key presses, X client library, software OpenGL, and the
# X core fonts SDL's error box draws its text with, and a small window manager, without which a fullscreen
# window does not take a wide screen); clang for the fuzz targets and its sanitizer runtimes;
# clang-format for the format check; the desktop entry and AppStream validators, what CPack's Debian package
# needs to read the game's library dependencies, and Debian's package checker; ccache, which the build
# uses when present, so the second build of the same code (the sanitizer build, a fresh clone) is quick.
test_packages=(
  "${check_packages[@]}" libbenchmark-dev ccache
  xvfb xauth xdotool x11-utils python3-xlib libgl1-mesa-dri xfonts-base openbox
  clang libclang-rt-14-dev clang-format
  desktop-file-utils appstream dpkg-dev file lintian
)

# The browser build: Debian's emscripten, the acorn parser its optimiser needs, dpkg-source to unpack
# Debian's SDL source packages and python3 to derive their sources list (tools/web/build-libs.sh). The
# browser tests add Debian's Chromium.
web_packages=(emscripten node-acorn dpkg-dev python3)
web_test_packages=(chromium)

packages=()
play=false
npm=false
if [ $# -eq 0 ]; then
  play=true
fi
for option; do
  case $option in
    --format) packages+=(clang-format) ;;
    --check) play=true packages+=("${check_packages[@]}") ;;
    --test) play=true packages+=("${test_packages[@]}") ;;
    --web) play=true packages+=("${web_packages[@]}") ;;
    --web-test) play=true npm=true packages+=("${web_packages[@]}" "${web_test_packages[@]}") ;;
    *)
      echo "usage: $0 [--format] [--check] [--test] [--web] [--web-test]" >&2
      exit 2
      ;;
  esac
done
if $play; then
  packages+=("${play_packages[@]}")
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

# Earlier versions of this script added a deb-src file to apt's configuration; the web build now keeps its
# sources list in its own cache. Only that file is removed: its name and its opening comment both match.
old_sources=/etc/apt/sources.list.d/kestrovane-deb-src.sources
old_comment="# Debian's source packages for the web build of Kestrovane (tools/install-deps.sh --web)."
if [ -f "$old_sources" ] && [ "$(head -n 1 "$old_sources")" = "$old_comment" ]; then
  echo "Removing $old_sources, which an earlier version of this script added (no longer needed)"
  "${sudo_cmd[@]}" rm -f "$old_sources"
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    case " ${missing[*]} " in *" $package "*) ;; *) missing+=("$package") ;; esac
  fi
done

# The browser tests install their driver with npm; Node.js may come with its own npm, not Debian's.
if $npm && ! command -v npm >/dev/null; then
  missing+=(npm)
fi

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
