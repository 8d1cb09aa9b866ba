#!/usr/bin/env bash
# Checks that every C++ file of the repository follows .clang-format, and
# names the files that do not; with --fix, formats them instead. One
# clang-format run covers every file.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh format
mapfile -t files < <(git ls-files '*.h' '*.cpp')
if [[ "${1:-}" == "--fix" ]]; then
  clang-format -i "${files[@]}"
  exit 0
fi
# --dry-run reports each file that would change as "<file>:<line>:<col>: warning: ...".
report="$(clang-format --dry-run "${files[@]}" 2>&1 || true)"
mapfile -t unformatted < <(sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning: code should be clang-formatted.*$/\1/p' <<<"$report" | sort -u)
if ((${#unformatted[@]} > 0)); then
  printf 'not formatted as .clang-format says (scripts/format.sh --fix):\n' >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
if grep -q "error" <<<"$report"; then
  printf '%s\n' "$report" >&2
  exit 1
fi
echo "clang-format: ${#files[@]} files formatted as .clang-format says"
