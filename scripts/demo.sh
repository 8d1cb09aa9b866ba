#!/usr/bin/env bash
# Builds and runs the demo plug-in session on the simulated host.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/jobs.sh

bash scripts/bootstrap.sh demo
cmake --preset default >/dev/null
cmake --build --preset default --target wyrdan_demo
./build/default/demo/wyrdan_demo
