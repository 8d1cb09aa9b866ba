#!/usr/bin/env bash
# Builds the optimised benchmarks and runs them; each cost is printed beside
# its floor from the same run (medians of seven repetitions, interleaved so
# that cost and floor share the machine's drift). Extra arguments go
# to Google Benchmark, e.g. --benchmark_filter=BunchRoundTrip.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh
cmake --preset bench >/dev/null
cmake --build --preset bench
./build/bench/bench/wyrdan_bench --benchmark_repetitions=7 --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true "$@"
