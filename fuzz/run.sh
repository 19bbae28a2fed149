#!/usr/bin/env bash
# Runs every fuzz target (or the named ones) for a bounded time, two at a time, each on its seed corpus
# from fuzz/corpus/ plus the corpus it grew in earlier runs. Fails when any target finds a crash.
# usage: fuzz/run.sh <fuzz build dir> <seconds per target> [target names without "fuzz_"]
set -uo pipefail

build=$(cd "$1" && pwd)
seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for binary in "$build"/fuzz_*; do
    [ -x "$binary" ] && targets+=("$(basename "$binary" | sed 's/^fuzz_//')")
  done
fi

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
mkdir -p "$build/artifacts" "$build/logs"

run_one() {
  local name=$1
  local work="$build/corpus/$name"
  mkdir -p "$work"
  local seeds="$here/corpus/$name"
  if [ "$name" = layerimage ]; then
    seeds="$build/seeds/layerimage"
    python3 "$here/make_image_seeds.py" "$seeds"
  fi
  "$build/fuzz_$name" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=16384 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$name-" "$work" "$seeds" \
    > "$build/logs/$name.log" 2>&1
}

passed=0
failed=0
pids=()
names=()
finish() {
  local pid=$1 name=$2
  if wait "$pid"; then
    runs=$(grep -ao 'stat::number_of_executed_units: *[0-9]*' "$build/logs/$name.log" | grep -o '[0-9]*$')
    echo "fuzz $name: ${runs:-?} inputs in ${seconds} s, no failure"
    passed=$((passed + 1))
  else
    echo "fuzz $name: FAILED (log: $build/logs/$name.log)"
    grep -aE 'ERROR|property broken|SUMMARY|Test unit written' "$build/logs/$name.log" | head -5
    failed=$((failed + 1))
  fi
}

for name in "${targets[@]}"; do
  if [ ! -x "$build/fuzz_$name" ]; then
    echo "fuzz $name: no such target"
    failed=$((failed + 1))
    continue
  fi
  run_one "$name" &
  pids+=($!)
  names+=("$name")
  if [ ${#pids[@]} -eq 2 ]; then
    finish "${pids[0]}" "${names[0]}"
    finish "${pids[1]}" "${names[1]}"
    pids=()
    names=()
  fi
done
if [ ${#pids[@]} -eq 1 ]; then
  finish "${pids[0]}" "${names[0]}"
fi

echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
