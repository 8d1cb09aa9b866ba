#!/usr/bin/env bash
# What the project needs to build and test for 64-bit Windows, built once
# into a cache under the build tree, build/windows-deps/prefix, and reused
# while this script and the source versions stay the same: ICU's common and
# i18n libraries with ICU's data archive (from Debian's source package icu,
# built by cmake/windows/icu), oneTBB (from Debian's source package onetbb)
# and GoogleTest as DLLs (the sources Debian's libgtest-dev installs), all
# with Debian's mingw-w64 (cmake/toolchains/x86_64-w64-mingw32.cmake).
# Debian's source packages need a deb-src entry; one is added for the archive
# apt already uses when there is none. Run by scripts/windows-test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

deps="$PWD/build/windows-deps"
prefix="$deps/prefix"
toolchain="$PWD/cmake/toolchains/x86_64-w64-mingw32.cmake"
sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi

# A deb-src entry for the archive apt takes Debian's packages from.
ensure_source_index() {
  if apt-get source --print-uris -qq icu >/dev/null 2>&1; then return; fi
  local uri suite keyring=/usr/share/keyrings/debian-archive-keyring.gpg options=""
  read -r uri suite < <(apt-cache policy | awk '$2 ~ /^https?:/ && $3 ~ /\/main$/ && $3 !~ /-(updates|security|backports)/ \
    { split($3, part, "/"); print $2, part[1]; exit }')
  if [[ -z "${uri:-}" ]]; then
    echo "windows-deps.sh: found no Debian archive among apt's sources to take source packages from" >&2
    exit 1
  fi
  if [[ -f "$keyring" ]]; then options="[signed-by=$keyring] "; fi
  echo "Adding a deb-src entry for $uri $suite"
  echo "deb-src ${options}$uri $suite main" | "${sudo[@]}" tee /etc/apt/sources.list.d/wyrdan-deb-src.list >/dev/null
  "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=600 update -qq
}

# The version of Debian's source package `name`.
source_version() { apt-cache showsrc "$1" | sed -n 's/^Version: //p' | head -n 1; }

# Downloads source package `name` into $deps/src and unpacks its upstream
# tarball there; prints the folder it made.
unpack_source() {
  local name="$1" version="$2" tarball folder
  mkdir -p "$deps/src"
  (cd "$deps/src" && apt-get source --download-only -qq "$name=$version" >/dev/null 2>&1)
  tarball="$(ls "$deps/src/${name}_${version%%-*}.orig.tar."* | grep -v '\.asc$' | head -n 1)"
  folder="$(tar -tf "$tarball" | head -n 1 | cut -d/ -f1)"
  rm -rf "${deps:?}/src/$folder"
  tar -xf "$tarball" -C "$deps/src"
  echo "$deps/src/$folder"
}

# Configures, builds and installs the CMake project `source` for the target.
build_for_target() {
  local source="$1" name="$2"
  shift 2
  cmake -S "$source" -B "$deps/build/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >/dev/null
  cmake --build "$deps/build/$name"
  cmake --install "$deps/build/$name" >/dev/null
}

ensure_source_index
icu_version="$(source_version icu)"
tbb_version="$(source_version onetbb)"
gtest_version="$(dpkg-query -W -f='${Version}' libgtest-dev)"
recipe="icu $icu_version, onetbb $tbb_version, googletest $gtest_version, $(cat cmake/windows/icu/CMakeLists.txt \
  "$toolchain" "$0" | sha256sum | cut -c1-16)"
if [[ -f "$prefix/recipe" && "$(cat "$prefix/recipe")" == "$recipe" ]]; then
  echo "windows-deps.sh: reusing $prefix ($recipe)"
else
  echo "windows-deps.sh: building $recipe into $prefix"
  rm -rf "$prefix" "$deps/build"
  icu="$(unpack_source icu "$icu_version")"
  build_for_target "$PWD/cmake/windows/icu" icu -DICU_SOURCE_DIR="$icu/source"
  tbb="$(unpack_source onetbb "$tbb_version")"
  # oneTBB 2021.8 hands a narrow name to its wide-character naming function
  # when the compiler is MinGW; the Windows form, which converts it, is right
  # for MinGW too.
  sed -i 's/^#if (_WIN32||_WIN64) && !__MINGW32__$/#if _WIN32||_WIN64/' "$tbb/include/oneapi/tbb/profiling.h"
  build_for_target "$tbb" onetbb -DTBB_TEST=OFF -DTBB_EXAMPLES=OFF -DTBBMALLOC_BUILD=OFF -DTBB_STRICT=OFF
  # Shared, so that the test bed's GoogleTest support, a DLL itself, and the
  # test programs use one GoogleTest.
  build_for_target /usr/src/googletest googletest -DBUILD_SHARED_LIBS=ON
  echo "$recipe" >"$prefix/recipe"
fi

