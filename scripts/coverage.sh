#!/usr/bin/env bash
# Runs the test suite on a coverage build and prints the line and branch
# coverage of every file of the library (Utilities/). Fails when the library's
# line coverage is below the floor (95% unless given): scripts/coverage.sh [floor]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/jobs.sh
floor="${1:-95}"

bash scripts/bootstrap.sh coverage
cmake --preset coverage >/dev/null
cmake --build --preset coverage
find build/coverage -name '*.gcda' -delete
# The fault sweeps run their scenarios in children that end without writing
# coverage: they would take minutes and count nothing.
ctest --preset coverage --label-exclude sweep

tracefile=build/coverage/coverage.json
gcovr --root . --filter 'Utilities/' --exclude-throw-branches --exclude-unreachable-branches \
  --json "$tracefile" build/coverage/Utilities
echo "== Lines of Utilities/"
gcovr --add-tracefile "$tracefile" --txt
echo "== Branches of Utilities/ (exception paths the compiler adds are left out)"
gcovr --add-tracefile "$tracefile" --txt --branches
gcovr --add-tracefile "$tracefile" --print-summary --fail-under-line "$floor" >/dev/null ||
  { echo "line coverage of Utilities/ is below ${floor}%"; exit 1; }
echo "line coverage of Utilities/ is at least ${floor}%"
