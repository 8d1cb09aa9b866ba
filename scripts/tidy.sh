#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over the library's sources
# (Utilities/, and the library headers they include) with the compile
# commands of the clang build, one source per job (scripts/jobs.sh); fails on any finding.
# Only configures the clang build: nothing is compiled.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/jobs.sh

bash scripts/bootstrap.sh tidy
cmake --preset clang >/dev/null

# Each source's findings are printed together; the compiler's count of the
# warnings it left out (other libraries' headers) is not.
tidy_one='
  out="$(clang-tidy --quiet --warnings-as-errors="*" -p build/clang "$1" 2>&1)" && status=0 || status=$?
  printf "%s\n" "$out" | grep -Ev "^[0-9]+ (warning|error)s? (and [0-9]+ (warning|error)s? )?generated\.$|^$" || true
  exit "$status"'
if find Utilities -name '*.cpp' -print0 | sort -z |
  xargs -0 -n 1 -P "$jobs" bash -c "$tidy_one" tidy; then
  echo "clang-tidy: no finding in Utilities/"
else
  echo "clang-tidy: findings in Utilities/ (above)" >&2
  exit 1
fi
