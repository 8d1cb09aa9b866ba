#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for a bounded time, starting from
# the corpus of valid streams in fuzz/corpus. New inputs go to a scratch folder, so the
# repository stays unchanged; an input that fails is kept in build/fuzz-artifacts,
# beside each target's log. Each run ends with a one-line summary; the script
# fails when a target failed.
# Usage: scripts/fuzz.sh [seconds per target]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/jobs.sh
seconds="${1:-45}"

bash scripts/bootstrap.sh fuzz
targets=(databunch any_extract bunch_values)
cmake --preset fuzz >/dev/null
# Only the targets (and the library they link): nothing else of the project
# is fuzzed.
cmake --build --preset fuzz --target "${targets[@]/#/fuzz_}"

scratch="$(mktemp -d)"
artifacts="$PWD/build/fuzz-artifacts"
mkdir -p "$artifacts"
trap 'rm -rf "$scratch"' EXIT

# The value of libFuzzer's final statistic $2 in the log $1, or "?".
final_stat() { sed -n "s/^stat::$2: *//p" "$1" | tail -1 | grep . || echo "?"; }

failed=0
for target in "${targets[@]}"; do
  echo "== fuzz_${target} for ${seconds}s"
  mkdir -p "$scratch/$target"
  log="$artifacts/${target}.log"
  status=0
  (cd "$scratch" && "$OLDPWD/build/fuzz/fuzz/fuzz_${target}" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/${target}-" \
    "$scratch/$target" "$OLDPWD/fuzz/corpus/$target") >"$log" 2>&1 || status=$?
  summary="$(final_stat "$log" number_of_executed_units) runs ($(final_stat "$log" average_exec_per_sec)/s),"
  summary+=" $(final_stat "$log" new_units_added) new inputs, peak $(final_stat "$log" peak_rss_mb) MB"
  if ((status == 0)); then
    echo "fuzz_${target}: passed: $summary"
  else
    failed=$((failed + 1))
    tail -n 40 "$log"
    input="$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -1)"
    echo "fuzz_${target}: FAILED (exit ${status}): $summary; input ${input:-not written}; log $log"
  fi
done
if ((failed > 0)); then
  echo "fuzz: ${failed} of ${#targets[@]} targets failed"
  exit 1
fi
