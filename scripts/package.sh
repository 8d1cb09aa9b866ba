#!/usr/bin/env bash
# The Debian packages, checked as a distribution and a plug-in vendor would:
# builds the package preset (Release, laid out under /usr, with Debian's
# hardening flags), makes the runtime, -dev and test bed packages with CPack,
# runs lintian on each (failing on any error; warnings are printed), checks
# every shared library's SONAME and that none carries a run path, then
# unpacks the packages into a scratch root and, against it, builds a
# library-only consumer (runtime and -dev alone), a GoogleTest test through
# pkg-config, and the example plug-in (examples/thicken) with its tests.
# The packages are left in build/package/deb. WYRDAN_JOBS sets the job count.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/jobs.sh

bash scripts/bootstrap.sh package

build=build/package
work="$build/check"
multiarch="$(dpkg-architecture -qDEB_HOST_MULTIARCH)"

# Debian's hardening flags, as a distribution's build adds them; the preset's
# Release optimisation stays, and the debugging information would be stripped.
export DEB_CXXFLAGS_MAINT_STRIP="-g -O2"
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
cmake --preset package -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build --preset package
rm -rf "$build/deb"
cpack --preset package >/dev/null

version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
IFS=. read -r major minor _ <<<"$version"
if ((major == 0)); then soversion="$major.$minor"; else soversion="$major"; fi
runtime="libwyrdanpluginutilities$soversion"
debs=()
for package in "$runtime" libwyrdanpluginutilities-dev libwyrdansimhost-dev; do
  deb="$(ls "$build/deb/${package}_${version}_"*.deb)"
  debs+=("$deb")
done
if (($(ls "$build/deb"/*.deb | wc -l) != ${#debs[@]})); then
  echo "package.sh: CPack made other packages than the three:" "$build"/deb/*.deb >&2
  exit 1
fi

failed=0
for deb in "${debs[@]}"; do
  echo "== $(basename "$deb")"
  dpkg-deb -f "$deb" Depends | sed 's/^/Depends: /'
  if ! lintian --fail-on error "$deb"; then
    echo "package.sh: lintian found errors in $(basename "$deb")" >&2
    failed=1
  fi
done
((failed == 0)) || exit 1

rm -rf "$work"
root="$work/root"
mkdir -p "$root"
for deb in "${debs[@]}"; do dpkg-deb -x "$deb" "$root"; done
libdir="$root/usr/lib/$multiarch"

# Every shared library: named by its SONAME with the versions that make an
# interface, and without a run path (the loader's folders find them).
libraries=0
for library in "$libdir"/lib*.so."$version"; do
  name="$(basename "$library" ".$version")"
  dynamic="$(readelf -d "$library")"
  if ! grep -qF "Library soname: [$name.$soversion]" <<<"$dynamic"; then
    echo "package.sh: $(basename "$library") has not the SONAME $name.$soversion:" >&2
    grep SONAME <<<"$dynamic" >&2 || true
    exit 1
  fi
  if grep -qE "\((RUNPATH|RPATH)\)" <<<"$dynamic"; then
    echo "package.sh: $(basename "$library") carries a run path:" >&2
    grep -E "RUNPATH|RPATH" <<<"$dynamic" >&2
    exit 1
  fi
  libraries=$((libraries + 1))
done
if ((libraries != 4)); then
  echo "package.sh: $libraries shared libraries in the packages, not 4" >&2
  exit 1
fi
echo "== $libraries shared libraries with SONAME .so.$soversion and no run path"

# The library without the test bed: runtime and -dev alone make a working
# CMake package, whose test bed components say they are missing.
alone="$work/library-only"
mkdir -p "$alone/root" "$alone/src"
for deb in "${debs[@]:0:2}"; do dpkg-deb -x "$deb" "$alone/root"; done
cat >"$alone/src/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.25)
project(LibraryOnly LANGUAGES CXX)
find_package(WyrdanPluginUtilities ${WYRDAN_VERSION} REQUIRED)
find_package(WyrdanPluginUtilities QUIET COMPONENTS WyrdanSimHost)
if(WyrdanPluginUtilities_FOUND OR TARGET Wyrdan::WyrdanSimHost)
  message(FATAL_ERROR "the test bed was found where only the library is installed")
endif()
add_executable(library_only main.cpp)
target_link_libraries(library_only PRIVATE Wyrdan::WyrdanPluginUtilities)
EOF
cat >"$alone/src/main.cpp" <<'EOF'
#include <WyrdanPluginUtilities/Version.h>
#include <zol/kernel/ZolAny.h>

#include <cstdio>
#include <cstring>

int main() {
  using kyr::orla::plugin::wyrdan::Version;
  const Zol::ZolAny_24_8 any = Zol::makeZolAny(2.5);
  double value = 0;
  if (!Version::isCompatible() || std::strcmp(Version::string(), WYRDAN_VERSION_STRING) != 0 ||
      !Zol::extractZolAny(any, value) || value != 2.5) {
    std::puts("library-only: the packaged library does not match its headers");
    return 1;
  }
  std::printf("library-only: library %s and the host SDK's runtime, without the test bed\n", Version::string());
  return 0;
}
EOF
cmake -S "$alone/src" -B "$alone/build" -G Ninja -DCMAKE_PREFIX_PATH="$PWD/$alone/root/usr" \
  -DWYRDAN_VERSION="$version" >/dev/null
cmake --build "$alone/build"
LD_LIBRARY_PATH="$PWD/$alone/root/usr/lib/$multiarch" "$alone/build/library_only"

# A GoogleTest test through pkg-config, as the README writes it, with the
# packages' .pc files read under the scratch root.
export PKG_CONFIG_SYSROOT_DIR="$PWD/$root"
export PKG_CONFIG_PATH="$PWD/$libdir/pkgconfig"
# shellcheck disable=SC2046 # pkg-config's flags are words
c++ -std=c++17 tests/consumer/plugin_test.cpp $(pkg-config --cflags --libs WyrdanSimHostGTest gmock_main) \
  -o "$work/my_plugin_tests"
unset PKG_CONFIG_SYSROOT_DIR PKG_CONFIG_PATH
output="$(LD_LIBRARY_PATH="$PWD/$libdir" "$work/my_plugin_tests")"
if ! grep -qF "[  PASSED  ] 2 tests." <<<"$output"; then
  echo "$output"
  echo "package.sh: the pkg-config test did not pass its 2 tests" >&2
  exit 1
fi
echo "my_plugin_tests (pkg-config): 2 tests passed"

# The example plug-in, configured, built and tested against the root.
cmake -S examples/thicken -B "$work/thicken" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$PWD/$root/usr" >/dev/null
cmake --build "$work/thicken"
LD_LIBRARY_PATH="$PWD/$libdir" ctest --test-dir "$work/thicken" --output-on-failure --no-tests=error

echo "package.sh: ${#debs[@]} packages in $build/deb, lintian without errors, the example passes against them"
