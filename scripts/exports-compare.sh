#!/usr/bin/env bash
# One export rule on both platforms: compares, class by class, what the
# library exports on Linux (the shared object's dynamic symbols) and on
# Windows (the DLL's export table). Fails when a class of the library's
# namespace is exported on one platform and not on the other; prints the
# number of exported symbols on each.
#
#   scripts/exports-compare.sh build/ci/Utilities/libWyrdanPluginUtilities.so \
#                              build/windows/bin/libWyrdanPluginUtilities.dll
set -euo pipefail
if (($# != 2)); then
  echo "usage: scripts/exports-compare.sh <library.so> <library.dll>" >&2
  exit 2
fi
linux="$1"
windows="$2"

# The classes of kyr::orla::plugin::wyrdan that demangled symbols name, one
# a line, each by its first name in the namespace: "typeinfo for ns::Class",
# "ns::Class::member(ns::Other const&)", ...
classes() {
  awk -v prefix="kyr::orla::plugin::wyrdan::" '{
    at = index($0, prefix)
    if (at == 0) next
    rest = substr($0, at + length(prefix))
    if (match(rest, /^[A-Za-z_][A-Za-z0-9_]*/)) print substr(rest, 1, RLENGTH)
  }' | sort -u
}

linux_symbols="$(nm -D --defined-only "$linux" | awk '{print $3}' | c++filt)"
windows_symbols="$(x86_64-w64-mingw32-objdump -p "$windows" |
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/^[[:space:]]*\[ *[0-9]+\]/ {print $NF}' | x86_64-w64-mingw32-c++filt)"

linux_classes="$(classes <<<"$linux_symbols")"
windows_classes="$(classes <<<"$windows_symbols")"
echo "exports: Linux $(grep -c . <<<"$linux_symbols") symbols of $(grep -c . <<<"$linux_classes") classes," \
  "Windows $(grep -c . <<<"$windows_symbols") symbols of $(grep -c . <<<"$windows_classes") classes"

only_linux="$(comm -23 <(echo "$linux_classes") <(echo "$windows_classes"))"
only_windows="$(comm -13 <(echo "$linux_classes") <(echo "$windows_classes"))"
if [[ -n "$only_linux$only_windows" ]]; then
  [[ -z "$only_linux" ]] || echo "exported on Linux only: $(tr '\n' ' ' <<<"$only_linux")" >&2
  [[ -z "$only_windows" ]] || echo "exported on Windows only: $(tr '\n' ' ' <<<"$only_windows")" >&2
  exit 1
fi
echo "exports: the same $(grep -c . <<<"$linux_classes") classes on both platforms"
