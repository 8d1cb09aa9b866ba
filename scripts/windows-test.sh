#!/usr/bin/env bash
# The host's own platform: cross-builds the project for 64-bit Windows with
# Debian's mingw-w64 (posix threads), its dependencies first
# (scripts/windows-deps.sh, cached under build/windows-deps), and runs the
# whole test suite under Wine, ctest's summary line last.
#
#   scripts/windows-test.sh [ctest arguments]    e.g. -R EventHandler
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/jobs.sh

bash scripts/bootstrap.sh windows

bash scripts/windows-deps.sh

cmake --preset windows >/dev/null
cmake --build --preset windows
# A new Wine prefix takes seconds to make: made before the tests time anything.
cmake/windows/wine-run.sh wineboot --init
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
status=0
ctest --preset windows "$@" 2>&1 | tee "$log" || status=$?
grep -E '^[0-9]+% tests passed' "$log" | tail -n 1
exit "$status"
