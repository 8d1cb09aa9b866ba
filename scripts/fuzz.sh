#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded time, starting from
# the corpus of valid streams in fuzz/corpus. New inputs go to a scratch folder, so the
# repository stays unchanged; an input that fails is kept in build/fuzz-artifacts.
# Usage: scripts/fuzz.sh [seconds per target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-45}"

bash scripts/bootstrap.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

scratch="$(mktemp -d)"
artifacts="$PWD/build/fuzz-artifacts"
mkdir -p "$artifacts"
trap 'rm -rf "$scratch"' EXIT
for target in databunch any_extract; do
  echo "== fuzz_${target} for ${seconds}s"
  mkdir -p "$scratch/$target"
  (cd "$scratch" && "$OLDPWD/build/fuzz/fuzz/fuzz_${target}" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/${target}-" "$scratch/$target" "$OLDPWD/fuzz/corpus/$target")
done
