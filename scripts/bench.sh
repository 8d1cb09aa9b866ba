#!/usr/bin/env bash
# Builds the optimised benchmarks and runs them in rounds (seven by default):
# in each round every cost runs back to back with its references (its floor,
# the peer library a user would pick instead: Qt and msgpack-c for the
# parameter bunch, boost::signals2 for event delivery), so each round gives one ratio per
# reference. The table prints, per cost, reference and size, the median of
# those ratios and their range beside the aim, and the heap allocations per
# entry of cost and reference; costs with an allocation limit (event
# delivery, sorting entities: none) are held to it, and costs with a scaling
# limit (BrowserHelper::updateNodes) to the most their time per entry may grow
# from a small size to a large one. Progress (round, cost) goes to stderr.
# Arguments go to the benchmark executable, e.g. --benchmark_filter=HandleEvent,
# --benchmark_repetitions=N (the number of rounds) or --check (exit status 1
# when a median ratio misses its aim, a cost allocates above its limit or
# grows past its scaling limit).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/jobs.sh

bash scripts/bootstrap.sh bench
cmake --preset bench >/dev/null
cmake --build --preset bench
./build/bench/bench/wyrdan_bench "$@"
