#!/usr/bin/env bash
# Runs every benchmark and measurement of the game from its build folder and prints one table of the
# medians against the budgets. `make bench` runs it as: cd build && bash ../bench/run.sh
# Optional: KES_BENCH_REPETITIONS (default 5), KES_BENCH_FILTER (a benchmark name pattern),
# KES_BENCH_RUNS (runs of the real program, default 5 for start-up and 3 for the idle menu).
set -euo pipefail

build_dir="$(pwd)"
bench_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
results="$build_dir/bench-results"
mkdir -p "$results"

repetitions="${KES_BENCH_REPETITIONS:-5}"
filter="${KES_BENCH_FILTER:-.}"

echo "== benchmarks ($repetitions repetitions, medians) =="
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$build_dir/bench/kes_bench" \
  --benchmark_filter="$filter" \
  --benchmark_repetitions="$repetitions" \
  --benchmark_report_aggregates_only=true \
  --benchmark_out="$results/kes_bench.json" --benchmark_out_format=json

echo
echo "== start-up and memory of the real game =="
# A failed measurement of the real program leaves its rows out of the table instead of ending the run.
rm -f "$results/startup.json" "$results/cpu_idle.json"
python3 "$bench_dir/startup.py" "$build_dir" --runs "${KES_BENCH_RUNS:-5}" --json "$results/startup.json" ||
  echo "start-up measurement failed"

echo
echo "== idle main menu beside the bare present loop =="
python3 "$bench_dir/cpu_idle.py" "$build_dir" --runs "${KES_BENCH_RUNS:-3}" --json "$results/cpu_idle.json" ||
  echo "idle measurement failed"

echo
python3 "$bench_dir/report.py" "$results/kes_bench.json" "$results/startup.json" "$results/cpu_idle.json"
