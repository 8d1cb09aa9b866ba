#!/usr/bin/env bash
# The whole suite, the demo session included, under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the concurrency tests under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/jobs.sh

bash scripts/bootstrap.sh sanitize
for preset in asan tsan; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
