#!/usr/bin/env bash
# A mutation run: measures how many plausible faults the test suite catches.
# Each fault of scripts/mutants.txt (a code fragment of the library or the
# simulated host, and what replaces it) is applied in turn to a scratch copy
# of the repository; the copy is built and the whole suite run; the fault is
# caught when the suite fails (a test over 120 s fails too). The file is
# restored before the next fault, also when the run is interrupted. Not run by
# CI: it builds and tests once per fault, about an hour in all.
#
# The scratch copy holds the work tree's tracked files, uncommitted changes
# included, in build/mutants (or $WYRDAN_MUTANTS_DIR). It and its Debug build
# (preset default) are kept between runs: a later run copies only the files
# that changed and builds incrementally.
#
# A fault whose copy does not build is reported UNBUILT, not caught: the count
# measures the tests, and the compiler is the same whatever they are, so such
# an entry is a mistake of the list, and the script exits 1 after the count.
# The suite stops at its first failing test: a fault caught once is caught.
#
#   scripts/mutants.sh            every fault of the list, the count last
#   scripts/mutants.sh 3 17       the faults numbered 3 and 17 only
#   scripts/mutants.sh --check    checks the list against the work tree only
#   scripts/mutants.sh --show 3   prints fault 3 (or every fault) as a diff
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/jobs.sh
repo="$PWD"
list="$repo/scripts/mutants.txt"
scratch="${WYRDAN_MUTANTS_DIR:-$repo/build/mutants}"
timeout=120

die() {
  echo "mutants.sh: $*" >&2
  exit 2
}

# The list: entries of a header line "@ <file> | <what the fault does>", then
# the fragment's lines, each "- " and the text, then its replacement's, each
# "+ " and the text (none to delete the fragment). "#" lines are comments.
files=() whats=() finds=() puts=() lines=()
none=$'\x01' # an entry's fragment or replacement before its first line
add_line() { # <variable> <text>: appends a line to the entry's fragment or replacement
  local -n field=$1
  if [[ "$field" == "$none" ]]; then field="$2"; else field+=$'\n'"$2"; fi
}
number=0 current=-1
while IFS= read -r line || [[ -n "$line" ]]; do
  number=$((number + 1))
  case "$line" in
    '' | '#'*) ;;
    '@ '*' | '*)
      current=${#files[@]}
      header="${line#@ }"
      files+=("${header%% | *}") whats+=("${header#* | }") finds+=("$none") puts+=("$none") lines+=("$number")
      ;;
    '-' | '- '* | '+' | '+ '*)
      ((current >= 0)) || die "$list:$number: a fragment line before the first '@' line"
      text="${line:2}"
      if [[ "${line:0:1}" == "-" ]]; then add_line "finds[$current]" "$text"; else add_line "puts[$current]" "$text"; fi
      ;;
    *) die "$list:$number: neither '@ file | what', '- text', '+ text' nor a comment: $line" ;;
  esac
done <"$list"
total=${#files[@]}
((total > 0)) || die "$list has no fault"
for ((i = 0; i < total; i++)); do
  [[ "${finds[i]}" != "$none" ]] || die "$list:${lines[i]}: the fault has no '- ' fragment"
  [[ "${puts[i]}" != "$none" ]] || puts[i]=""
  [[ "${finds[i]}" != "${puts[i]}" ]] || die "$list:${lines[i]}: the replacement is the fragment itself"
done

# The file an entry names, under the folder $1: its path when it is there,
# else the one file of its base name under Utilities/ or simhost/, so that an
# entry still finds a file that moved into a subfolder.
resolve() {
  local root="$1" path="$2" found
  if [[ -f "$root/$path" ]]; then
    echo "$path"
    return
  fi
  mapfile -t found < <(cd "$root" && find Utilities simhost -type f -name "$(basename "$path")")
  ((${#found[@]} == 1)) || die "$path: $(( ${#found[@]} )) files of that name under Utilities/ and simhost/, not one"
  echo "${found[0]}"
}
occurrences() { MUTANT_FIND="$2" perl -0777 -ne '$n = () = /\Q$ENV{MUTANT_FIND}\E/g; print $n + 0' "$1"; }
replace_once() { MUTANT_FIND="$2" MUTANT_PUT="$3" perl -0777 -i -pe 's/\Q$ENV{MUTANT_FIND}\E/$ENV{MUTANT_PUT}/' "$1"; }

# Every entry's fragment must occur exactly once in its file under $1.
check_list() {
  local root="$1" i file n
  for ((i = 0; i < total; i++)); do
    file="$(resolve "$root" "${files[i]}")"
    n="$(occurrences "$root/$file" "${finds[i]}")"
    ((n == 1)) || die "$list:${lines[i]}: the fragment occurs $n times in $file, not once"
  done
}

mode=run
case "${1:-}" in
  --check | --show) mode="${1#--}" && shift ;;
esac
if [[ "$mode" == check ]]; then
  check_list "$repo"
  echo "mutants.sh: $total faults, each fragment found once"
  exit 0
fi

chosen=()
if (($# == 0)); then
  for ((i = 1; i <= total; i++)); do chosen+=("$i"); done
else
  for arg in "$@"; do
    if ! [[ "$arg" =~ ^[1-9][0-9]*$ ]] || ((arg > total)); then die "no fault numbered '$arg' (1 to $total)"; fi
    chosen+=("$arg")
  done
fi

if [[ "$mode" == show ]]; then
  check_list "$repo"
  copy="$(mktemp)"
  trap 'rm -f "$copy"' EXIT
  for index in "${chosen[@]}"; do
    i=$((index - 1))
    file="$(resolve "$repo" "${files[i]}")"
    cp "$file" "$copy"
    replace_once "$copy" "${finds[i]}" "${puts[i]}"
    echo "== fault $index: ${whats[i]}"
    diff -u --label "a/$file" --label "b/$file" "$file" "$copy" || true
  done
  exit 0
fi

bash scripts/bootstrap.sh test

# The scratch copy: the tracked files that exist, copied over only where
# they differ (a fresh copy is newer than the build, and rebuilt), and the
# files no longer tracked removed; the build in src/build stays.
src="$scratch/src"
stage="$scratch/stage"
rm -rf "$stage"
mkdir -p "$src" "$stage" "$scratch/logs"
git ls-files -z | tar --null --ignore-failed-read -T - -cf - 2>/dev/null | tar -xf - -C "$stage"
(cd "$stage" && find . -type f -print0) | while IFS= read -r -d '' file; do
  if ! cmp -s "$stage/$file" "$src/$file"; then
    mkdir -p "$(dirname "$src/$file")"
    cp "$stage/$file" "$src/$file"
  fi
done
(cd "$src" && find . -path ./build -prune -o -type f -print0) | while IFS= read -r -d '' file; do
  [[ -e "$stage/$file" ]] || rm -f "$src/$file"
done
rm -rf "$stage"
check_list "$src"

# While a fault is applied, $applied names its file and $saved holds the
# original; restore puts it back with a new time, so the next build
# recompiles it.
saved="$scratch/original"
applied=""
restore() {
  if [[ -n "$applied" ]]; then
    cp "$saved" "$src/$applied"
    touch "$src/$applied"
    applied=""
  fi
}
trap restore EXIT
trap 'restore; exit 130' INT
trap 'restore; exit 143' TERM

cd "$src"
build() { cmake --build --preset default >>"$1" 2>&1; }
suite() { ctest --preset default -j"$jobs" --timeout "$timeout" --stop-on-failure >>"$1" 2>&1; }
# The first two tests a suite's log names as failed, for the report.
failed_tests() {
  sed -n '/The following tests FAILED:/,$p' "$1" | sed -nE 's/^[[:space:]]+[0-9]+ - (.*) \(([^)]*)\)$/\1 (\2)/p' |
    head -2 | paste -sd ',' - | sed 's/,/, /g'
}

echo "== building the scratch copy in $src/build/default"
log="$scratch/logs/clean.log"
: >"$log"
# The test programs load the libraries at run time: a fault in one relinks
# only that library, not every program that links it.
cmake --preset default -DCMAKE_LINK_DEPENDS_NO_SHARED=ON >>"$log" 2>&1 || die "configuring the scratch copy failed: $log"
build "$log" || die "the scratch copy does not build without a fault: $log"
suite "$log" || die "the suite fails without a fault, so it would catch every one: $log"
echo "== the suite passes without a fault; ${#chosen[@]} of $total faults to try"

caught=0 missed=() unbuilt=()
for index in "${chosen[@]}"; do
  i=$((index - 1))
  file="$(resolve "$src" "${files[i]}")"
  label="$(printf '%2d' "$index") $(basename "$file"): ${whats[i]}"
  log="$scratch/logs/$(printf '%02d' "$index").log"
  echo "fault $index: ${whats[i]} in $file" >"$log"
  start=$SECONDS
  cp "$src/$file" "$saved"
  applied="$file"
  replace_once "$src/$file" "${finds[i]}" "${puts[i]}"
  if ! build "$log"; then
    status="UNBUILT" detail=" (see $log)"
    unbuilt+=("$label")
  elif suite "$log"; then
    status="missed " detail=""
    missed+=("$label")
  else
    failed="$(failed_tests "$log")"
    status="caught " detail="${failed:+ [$failed]}"
    caught=$((caught + 1))
  fi
  restore
  echo "$status $label$detail ($((SECONDS - start)) s)"
done

if ((${#missed[@]} > 0)); then
  echo "== not caught:"
  printf '  %s\n' "${missed[@]}"
fi
if ((${#unbuilt[@]} > 0)); then
  echo "== did not build (a mistake of the list, counted as not caught):"
  printf '  %s\n' "${unbuilt[@]}"
fi
echo "caught $caught of ${#chosen[@]}"
((${#unbuilt[@]} == 0)) || exit 1
