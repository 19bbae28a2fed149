#!/usr/bin/env bash
# Builds SDL2, SDL2_image and SDL2_mixer for the browser from Debian's own source packages, once, into a
# cache outside the clone keyed by their Debian versions and the emscripten version, and prints the
# folder they were installed into. Usage: build-libs.sh [cache folder]
# PNG comes from SDL2_image's bundled stb_image and Ogg from SDL2_mixer's bundled stb_vorbis: nothing but
# Debian's packages is fetched (emscripten's own "ports" would download SDL from elsewhere).
set -euo pipefail

cache_root="${1:-${KES_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kestrovane/web-libs}}"
jobs="${JOBS:-$(nproc)}"

# The source version is the one of the installed desktop libraries, so both builds use the same SDL.
source_version() {
  dpkg-query -W -f '${Version}' "$1"
}
sdl_version=$(source_version libsdl2-dev)
image_version=$(source_version libsdl2-image-dev)
mixer_version=$(source_version libsdl2-mixer-dev)
emscripten_version=$(source_version emscripten)
key="emscripten-${emscripten_version}_sdl2-${sdl_version}_image-${image_version}_mixer-${mixer_version}"
prefix="$cache_root/$key"

if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

# Every message goes to standard error: standard output carries only the folder.
exec 3>&1 1>&2
echo "Building the web libraries into $prefix (once for these versions)"
work=$(mktemp -d "${TMPDIR:-/tmp}/kestrovane-web-libs.XXXXXX")
trap 'rm -rf "$work"' EXIT
rm -rf "$prefix"
mkdir -p "$prefix"

cd "$work"
# apt-get source unpacks each package with Debian's patches applied, into <name>-<upstream version>/.
if ! apt-get source -qq "libsdl2=$sdl_version" "libsdl2-image=$image_version" "libsdl2-mixer=$mixer_version" \
  >"$work/apt-source.log" 2>&1; then
  cat "$work/apt-source.log"
  echo "apt-get source failed: 'tools/install-deps.sh --web' adds the entries for Debian's source packages"
  exit 1
fi

# NODE_PATH: emcc's JavaScript optimiser needs acorn, which Debian installs where node does not look.
export NODE_PATH=/usr/share/nodejs
build() {
  local source="$work/$1" log="$work/$1.log"
  shift
  if ! { emcmake cmake -S "$source" -B "$source/build-web" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF "$@" &&
    cmake --build "$source/build-web" -j "$jobs" && cmake --install "$source/build-web"; } >"$log" 2>&1; then
    tail -40 "$log"
    echo "building $(basename "$source") for the web failed (log above)"
    exit 1
  fi
}
off() {
  printf -- "-D$1_%s=OFF " "${@:2}"
}

build "libsdl2-${sdl_version%-*}" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
# PNG only, through the bundled stb_image (saving through the bundled miniz).
# shellcheck disable=SC2046
build "libsdl2-image-${image_version%-*}" -DSDL2_DIR="$prefix/lib/cmake/SDL2" -DSDL2IMAGE_BACKEND_STB=ON \
  -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_PNG=ON -DSDL2IMAGE_PNG_SAVE=ON \
  $(off SDL2IMAGE AVIF BMP GIF JPG JXL LBM PCX PNM QOI SVG TGA TIF WEBP XCF XPM XV)
# WAVE for the effects and Ogg Vorbis through the bundled stb_vorbis for the music.
# shellcheck disable=SC2046
build "libsdl2-mixer-${mixer_version%-*}" -DSDL2_DIR="$prefix/lib/cmake/SDL2" -DSDL2MIXER_VORBIS=STB \
  -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_WAVE=ON -DSDL2MIXER_CMD=OFF \
  $(off SDL2MIXER FLAC MOD MP3 MIDI OPUS)

touch "$prefix/.complete"
echo "$prefix" >&3
