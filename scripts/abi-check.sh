#!/usr/bin/env bash
# The ABI promise, for CI: builds the runtime libraries as installed (preset
# abi: optimised, with debugging information), describes each with abidw
# (its public headers' types only) and compares the description with the
# baseline committed in abi/ with abidiff. Fails when abidiff reports any
# change: an incompatible one needs a new version and a new baseline, a
# compatible one (an addition) a new baseline. Also fails when the commit
# that last changed the baseline changed it incompatibly without changing
# the version: baselines are named after the SONAME, which carries the
# interface's version (major and minor before 1.0), so a new version makes
# new files.
#
#   scripts/abi-check.sh            check
#   scripts/abi-check.sh --update   write the baseline from this build
#
# The baseline is xz-compressed abidw XML, one file per library, named after
# its SONAME. WYRDAN_JOBS sets the job count.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/jobs.sh

update=0
case "${1:-}" in
  "") ;;
  --update) update=1 ;;
  *)
    echo "usage: scripts/abi-check.sh [--update]" >&2
    exit 2
    ;;
esac

bash scripts/bootstrap.sh abi

build=build/abi
stage="$build/stage"
cmake --preset abi >/dev/null
cmake --build --preset abi --target WyrdanPluginUtilities zolkernel
rm -rf "$stage"
cmake --install "$build" --prefix "$stage" --component runtime >/dev/null
cmake --install "$build" --prefix "$stage" --component dev >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The options that keep a description to the public interface and free of
# the build's paths, so that any machine writes the same.
describe() {
  abidw --headers-dir "$stage/include/WyrdanPluginUtilities" --headers-dir "$stage/include/WyrdanZolKernel" \
    --drop-private-types --drop-undefined-syms --no-show-locs --no-comp-dir-path --no-corpus-path \
    --type-id-style hash --out-file "$2" "$1"
}

# abidiff's exit status is a bit set: 1 an error, 2 a usage error, 4 an ABI
# change, 8 an incompatible one.
compare() {
  local status=0
  abidiff --no-show-locs "$1" "$2" >"$3" || status=$?
  if ((status & 3)); then
    cat "$3" >&2
    echo "abi-check.sh: abidiff failed on $1 and $2" >&2
    exit 1
  fi
  return "$status"
}

mkdir -p abi
failed=0
for library in WyrdanPluginUtilities WyrdanZolKernel; do
  soname="$(readelf -d "$stage/lib/lib$library.so" | sed -n 's/.*Library soname: \[\(.*\)\]/\1/p')"
  baseline="abi/$soname.abi.xz"
  describe "$stage/lib/$soname" "$work/$soname.abi"
  if ((update)); then
    rm -f "abi/lib$library.so."*.abi.xz
    xz -9 -c "$work/$soname.abi" >"$baseline"
    echo "abi-check.sh: wrote $baseline"
    continue
  fi
  if [[ ! -f "$baseline" ]]; then
    echo "abi-check.sh: no baseline $baseline for $soname: a new version's? write it with --update" >&2
    failed=1
    continue
  fi
  xz -dc "$baseline" >"$work/$soname.baseline.abi"
  status=0
  compare "$work/$soname.baseline.abi" "$work/$soname.abi" "$work/$soname.diff" || status=$?
  if ((status & 8)); then
    cat "$work/$soname.diff"
    echo "abi-check.sh: $soname changed incompatibly from $baseline: raise the version" \
      "(a new SONAME) and write the baseline anew (--update) in the same commit" >&2
    failed=1
  elif ((status & 4)); then
    cat "$work/$soname.diff"
    echo "abi-check.sh: $soname changed compatibly from $baseline: write the baseline anew (--update)" >&2
    failed=1
  else
    echo "abi-check.sh: $soname keeps the interface of $baseline"
  fi
done
((update)) && exit 0

# The commit that last changed the baseline: a baseline is named after its
# SONAME, which carries the interface's version, so one that changed
# incompatibly under the same name kept its version.
last="$(git log -1 --format=%H -- abi)"
if [[ -n "$last" ]] && git rev-parse -q --verify "$last^" >/dev/null; then
  while read -r status path; do
    [[ "$status" == M ]] || continue
    git show "$last^:$path" | xz -dc >"$work/old.abi"
    git show "$last:$path" | xz -dc >"$work/new.abi"
    change=0
    compare "$work/old.abi" "$work/new.abi" "$work/commit.diff" || change=$?
    if ((change & 8)); then
      cat "$work/commit.diff"
      echo "abi-check.sh: commit ${last:0:12} changed $path incompatibly without a new version" >&2
      failed=1
    fi
  done < <(git diff --name-status "$last^" "$last" -- abi)
elif [[ -n "$last" ]]; then
  echo "abi-check.sh: the history before ${last:0:12} is not here (a shallow clone): its version rule is not checked"
fi
exit "$failed"
