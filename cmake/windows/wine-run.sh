#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine, as ctest does for
# every test (the windows preset's CMAKE_CROSSCOMPILING_EMULATOR): in a Wine
# prefix of the build's own, without Wine's debug output, with the mingw-w64
# runtime and the dependencies' DLLs (WYRDAN_WINDOWS_DEPS, by default
# build/windows-deps/prefix) and the folders WYRDAN_WINE_PATH lists
# (colon-separated) on the program's PATH, and ICU's data beside.
#
#   cmake/windows/wine-run.sh build/windows/bin/kernel_test.exe --gtest_brief=1
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
deps="${WYRDAN_WINDOWS_DEPS:-$root/build/windows-deps/prefix}"

export WINEPREFIX="${WINEPREFIX:-$root/build/windows-deps/wine}"
export WINEDEBUG=-all
# A Unix folder as Wine sees it: drive Z: is the Unix root.
windows_path() { local path="$1"; printf 'Z:%s' "${path//\//\\}"; }
runtime="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
threads="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")"
WINEPATH="$(windows_path "$deps/bin");$(windows_path "$runtime");$(windows_path "$threads")"
# Folders of the caller's, as a package's consumer finds the package's DLLs.
IFS=: read -ra extra <<<"${WYRDAN_WINE_PATH:-}"
for folder in "${extra[@]}"; do WINEPATH="$WINEPATH;$(windows_path "$folder")"; done
# ICU's locale data, for the simulated host's message formatting.
ICU_DATA="$(windows_path "$deps/share/icu")"
export WINEPATH ICU_DATA
exec /usr/lib/wine/wine64 "$@"
