#!/usr/bin/env bash
# The benchmarks' deterministic check, for CI: builds the optimised
# instruction-count check (bench/check_main.cpp), counts with callgrind the
# instructions per entry of the bunch round trip (20 and 256 entries; at 20
# also beside msgpack-c's and Qt's), the cached service getter,
# EntConvert::toEntities, EventHandler::handleEvent (1 and 8 handlers, also
# beside libsigc++ and boost::signals2), a sort
# with EntityFastCompare, GenerativeHelper::bulkGenerateObjects, a filtered
# debug statement, unscoped and naming a short and a 24-character scope
# (filtered-debug-log, filtered-debug-scoped-short, filtered-debug-scoped-long,
# beside empty-loop and spdlog-filtered-debug), and LogHelper::logMessage
# (log-message-100, beside snprintf-100) beside their floors, and of
# BrowserHelper::updateNodes at 10,000 entities beside 100, and the heap
# allocations of the same runs, and fails when a ratio exceeds its ceiling,
# event delivery, the sort, a filtered statement or logMessage allocates at
# all. About two and a half minutes on two
# cores, a fresh build included.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/jobs.sh

bash scripts/bootstrap.sh bench-check
cmake --preset bench >/dev/null
cmake --build --preset bench --target wyrdan_bench_check

dumps="$(mktemp -d)"
trap 'rm -rf "$dumps"' EXIT
valgrind --tool=callgrind --instr-atstart=no --collect-atstart=no \
  --callgrind-out-file="$dumps/callgrind.out" --log-file="$dumps/valgrind.log" \
  ./build/bench/bench/wyrdan_bench_check || { cat "$dumps/valgrind.log" >&2; exit 1; }
./build/bench/bench/wyrdan_bench_check --judge "$dumps"/callgrind.out.*
