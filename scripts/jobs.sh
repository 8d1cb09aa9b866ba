# Sourced by the scripts: how many jobs builds and test runs use. WYRDAN_JOBS
# sets it; otherwise CMAKE_BUILD_PARALLEL_LEVEL when set, else one job per
# processor.
jobs="${WYRDAN_JOBS:-${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}}"
if ! [[ "$jobs" =~ ^[1-9][0-9]*$ ]]; then
  echo "$(basename "$0"): the job count must be a positive number, not '$jobs'" >&2
  exit 2
fi
export CMAKE_BUILD_PARALLEL_LEVEL="$jobs" CTEST_PARALLEL_LEVEL="$jobs"
