#!/usr/bin/env bash
# Checks that every C++ file of the repository follows .clang-format, and
# names the files that do not; with --fix, formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/bootstrap.sh format
mapfile -t files < <(git ls-files '*.h' '*.cpp')
if [[ "${1:-}" == "--fix" ]]; then
  clang-format -i "${files[@]}"
  exit 0
fi
unformatted=()
for file in "${files[@]}"; do
  clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
if ((${#unformatted[@]} > 0)); then
  printf 'not formatted as .clang-format says (scripts/format.sh --fix):\n' >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
echo "clang-format: ${#files[@]} files formatted as .clang-format says"
