#!/usr/bin/env bash
# Removes what `make install` put under a prefix (DESTDIR honoured): the build installs itself into a scratch
# folder with the same prefix, and each file found there is removed from the real place, so the list of files
# is always the install rules' own. Folders are removed only when they are the game's and left empty.
# usage: packaging/uninstall.sh <build folder> <prefix>
set -euo pipefail
build=$1
prefix=$2
root="${DESTDIR:-}"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/kestrovane-uninstall.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
DESTDIR="$scratch" cmake --install "$build" --prefix "$prefix" >/dev/null

removed=0
while IFS= read -r -d '' file; do
  target="$root/${file#"$scratch"/}"
  if [ -e "$target" ] || [ -L "$target" ]; then
    rm -f "$target"
    removed=$((removed + 1))
  fi
done < <(find "$scratch" ! -type d -print0)

# Deepest first, so a folder emptied by removing its own folders goes too.
while IFS= read -r -d '' folder; do
  target="$root/${folder#"$scratch"/}"
  case "$target" in
    */kestrovane | */kestrovane/*) [ -d "$target" ] && rmdir --ignore-fail-on-non-empty "$target" ;;
  esac
done < <(find "$scratch" -mindepth 1 -type d -print0 | sort -rz)

echo "Removed $removed files of Kestrovane from ${root}${prefix}"
