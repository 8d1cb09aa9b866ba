#!/usr/bin/env bash
# The demo session on both platforms: runs the Linux build's demo and the
# Windows build's under Wine, and fails when their transcripts differ, the
# local times in log stamps and Windows' line ends aside.
#
#   scripts/demo-compare.sh [linux build folder] [windows build folder]   (build/ci, build/windows)
set -euo pipefail
cd "$(dirname "$0")/.."
linux="${1:-build/ci}/demo/wyrdan_demo"
windows="${2:-build/windows}/bin/wyrdan_demo.exe"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A transcript as both platforms print it: "\r\n" as "\n", and each stamp
# "YYYY-MM-DD hh:mm:ss" as "<time>".
normalise() { tr -d '\r' | sed -E 's/[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}/<time>/g'; }
"$linux" 2>&1 | normalise >"$work/linux.txt"
cmake/windows/wine-run.sh "$windows" 2>&1 | normalise >"$work/windows.txt"
if ! diff -u "$work/linux.txt" "$work/windows.txt"; then
  echo "demo-compare.sh: the Windows transcript differs from the Linux one" >&2
  exit 1
fi
echo "demo-compare.sh: the transcripts agree ($(wc -l <"$work/linux.txt") lines)"
