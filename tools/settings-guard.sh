#!/usr/bin/env bash
# The player's files must come through the tests byte for byte: no test or tool may write a "kesv.*" file
# (settings, progress, window, assist, ghosts) outside a scratch folder of its own. `record` notes each
# folder's player files and their checksums; `compare` fails, naming the file, when any of them changed,
# appeared or went. Screenshots (kesvN.png) are the player's too, so they count.
# usage: tools/settings-guard.sh record|compare <record file> <folder>...
set -euo pipefail
mode=$1
record=$2
shift 2

state() {
  local folder file
  for folder in "$@"; do
    local found=false
    for file in "$folder"/kesv.* "$folder"/kesv[0-9]*.png; do
      [ -e "$file" ] || [ -L "$file" ] || continue
      found=true
      if [ -f "$file" ]; then
        echo "$(sha256sum < "$file" | cut -d' ' -f1) $file"
      else
        echo "not-a-file $file"
      fi
    done
    $found || echo "none $folder/kesv.*"
  done
}

case $mode in
  record)
    state "$@" > "$record"
    ;;
  compare)
    if ! changes=$(diff "$record" <(state "$@")); then
      echo "settings guard: the tests changed the player's files:"
      # Each file that changed, appeared or went, once; a folder's "none" line is only a placeholder.
      echo "$changes" | sed -n 's/^[<>] [^ ]* /  /p' | grep -v '/kesv\.\*$' | sort -u
      exit 1
    fi
    ;;
  *)
    echo "usage: tools/settings-guard.sh record|compare <record file> <folder>..." >&2
    exit 2
    ;;
esac
