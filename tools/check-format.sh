#!/usr/bin/env bash
# Fails, naming each file, when a C++ source of the tree differs from what clang-format makes of it with
# the root .clang-format. Run from anywhere; checks the files git tracks (or all of them outside git).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
formatter=${CLANG_FORMAT:-clang-format}
if ! command -v "$formatter" > /dev/null; then
  echo "format: $formatter not found (tools/install-deps.sh installs it)"
  exit 1
fi

if git rev-parse --is-inside-work-tree > /dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
  mapfile -t files < <(find src tests tools bench fuzz -name '*.cpp' -o -name '*.h' | sort)
fi

present=()
for file in "${files[@]}"; do
  [ -f "$file" ] && present+=("$file")
done
# One run over every file; each difference is reported as "file:line:column: error: ...".
status=0
report=$("$formatter" --dry-run --Werror "${present[@]}" 2>&1) || status=$?
mapfile -t differing < <(sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: .*/\1/p' <<< "$report" | sort -u)
if [ "$status" -ne 0 ] && [ ${#differing[@]} -eq 0 ]; then
  # It failed without naming a file: a broken .clang-format, say.
  echo "$report"
  exit 1
fi

if [ ${#differing[@]} -gt 0 ]; then
  echo "format: ${#differing[@]} of ${#present[@]} files differ from .clang-format ($("$formatter" --version)):"
  printf '  %s\n' "${differing[@]}"
  echo "format: run clang-format -i on them"
  exit 1
fi
echo "format: ${#present[@]} files match .clang-format"
