#!/usr/bin/env bash
# The player's settings must come through the tests byte for byte: no test or tool may write "kesv.cfg"
# outside a scratch folder of its own. `record` notes each folder's kesv.cfg (its checksum, or that there
# is none); `compare` fails, naming the file, when any of them changed, appeared or went.
# usage: tools/settings-guard.sh record|compare <record file> <folder>...
set -euo pipefail
mode=$1
record=$2
shift 2

state() {
  for folder in "$@"; do
    if [ -e "$folder/kesv.cfg" ]; then
      echo "$(sha256sum < "$folder/kesv.cfg" | cut -d' ' -f1) $folder/kesv.cfg"
    else
      echo "none $folder/kesv.cfg"
    fi
  done
}

case $mode in
  record)
    state "$@" > "$record"
    ;;
  compare)
    if ! changes=$(diff "$record" <(state "$@")); then
      echo "settings guard: the tests changed the player's settings file:"
      echo "$changes" | grep '^>' | sed 's/^> [^ ]* /  /'
      exit 1
    fi
    ;;
  *)
    echo "usage: tools/settings-guard.sh record|compare <record file> <folder>..." >&2
    exit 2
    ;;
esac
