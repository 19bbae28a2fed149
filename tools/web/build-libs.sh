#!/usr/bin/env bash
# Builds SDL2, SDL2_image and SDL2_mixer for the browser from Debian's own source packages, once, into a
# cache outside the clone keyed by their Debian versions and the emscripten version, and prints the
# folder they were installed into. Usage: build-libs.sh [cache folder]
# PNG comes from SDL2_image's bundled stb_image and Ogg from SDL2_mixer's bundled stb_vorbis: nothing but
# Debian's packages is fetched (emscripten's own "ports" would download SDL from elsewhere).
set -euo pipefail

cache_root="${1:-${KES_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kestrovane/web-libs}}"
jobs="${JOBS:-$(nproc)}"

# The source package and its version are those of the installed desktop libraries, so both builds use the
# same SDL. A binary-only rebuild gives the -dev package a version of its own, so its source's is asked for.
source_of() {
  dpkg-query -W -f '${source:Package} ${source:Version}' "$1"
}
read -r sdl_source sdl_version <<< "$(source_of libsdl2-dev)"
read -r image_source image_version <<< "$(source_of libsdl2-image-dev)"
read -r mixer_source mixer_version <<< "$(source_of libsdl2-mixer-dev)"
read -r _ emscripten_version <<< "$(source_of emscripten)"
key="emscripten-${emscripten_version}_sdl2-${sdl_version}_image-${image_version}_mixer-${mixer_version}"
prefix="$cache_root/$key"

if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

# Clones share the cache: a second build waits for the first, then finds its libraries, rather than
# deleting them halfway through.
mkdir -p "$cache_root"
exec 4>"$cache_root/.lock"
flock 4
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

# apt fetches the sources through a sources list and list cache of its own in the cache folder, derived from
# the system's Debian entries: nothing under /etc/apt or /var/lib/apt is written.
apt_dir="$cache_root/apt"
mkdir -p "$apt_dir/lists/partial"
python3 "$(dirname "$0")/deb_src_entries.py" "$apt_dir"
apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
  -o "Dir::State::Lists=$apt_dir/lists" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=
  -o "APT::Sandbox::User=$(id -un)")
cd "$work"
# apt-get source unpacks each package with Debian's patches applied, into <name>-<upstream version>/.
if ! { apt-get "${apt_options[@]}" update -qq && apt-get "${apt_options[@]}" source -qq \
  "$sdl_source=$sdl_version" "$image_source=$image_version" "$mixer_source=$mixer_version"; } \
  >"$work/apt-source.log" 2>&1; then
  cat "$work/apt-source.log"
  echo "fetching Debian's SDL sources failed (the sources list derived from /etc/apt is in $apt_dir)"
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

build "$sdl_source-${sdl_version%-*}" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
# PNG only, through the bundled stb_image (saving through the bundled miniz).
# shellcheck disable=SC2046
build "$image_source-${image_version%-*}" -DSDL2_DIR="$prefix/lib/cmake/SDL2" -DSDL2IMAGE_BACKEND_STB=ON \
  -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_PNG=ON -DSDL2IMAGE_PNG_SAVE=ON \
  $(off SDL2IMAGE AVIF BMP GIF JPG JXL LBM PCX PNM QOI SVG TGA TIF WEBP XCF XPM XV)
# WAVE for the effects and Ogg Vorbis through the bundled stb_vorbis for the music.
# shellcheck disable=SC2046
build "$mixer_source-${mixer_version%-*}" -DSDL2_DIR="$prefix/lib/cmake/SDL2" -DSDL2MIXER_VORBIS=STB \
  -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_WAVE=ON -DSDL2MIXER_CMD=OFF \
  $(off SDL2MIXER FLAC MOD MP3 MIDI OPUS)

touch "$prefix/.complete"
echo "$prefix" >&3
