#!/usr/bin/env bash
# Builds and runs the demo plug-in session on the simulated host.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh
cmake --preset default >/dev/null
cmake --build --preset default --target wyrdan_demo
./build/default/demo/wyrdan_demo
