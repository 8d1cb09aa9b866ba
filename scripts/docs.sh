#!/usr/bin/env bash
# Builds the API reference (Doxygen) into build/default/docs/html. Fails on
# any Doxygen warning, an undocumented public member included.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh docs
cmake --preset default >/dev/null
cmake --build --preset default --target docs
echo "API reference: build/default/docs/html/index.html"
