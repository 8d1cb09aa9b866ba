#!/usr/bin/env bash
# Builds everything and runs the whole test suite, through a workflow preset:
# dev (Debug, in build/default; the default), ci (as dev in build/ci, the
# tests in random order, with a JUnit report build/ci/junit.xml) or release
# (optimised, in build/release). WYRDAN_JOBS sets the job count.
# Usage: scripts/test.sh [dev|ci|release]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/jobs.sh

bash scripts/bootstrap.sh test
cmake --workflow --preset "${1:-dev}"
