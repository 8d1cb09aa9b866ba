#!/usr/bin/env bash
# Installs the Debian packages that the named commands need, when they are
# missing (as root, or through sudo): scripts/bootstrap.sh <command>...
# Each script asks for its own command; without one, every command's
# packages are installed.
set -euo pipefail

# What each command needs, one line per command. The default preset
# configures the tests as well, so whatever builds it needs GoogleTest.
build="cmake ninja-build g++ libicu-dev libtbb-dev"
gtest="libgtest-dev libgmock-dev"
declare -A needs=(
  [demo]="$build $gtest"
  [test]="$build $gtest pkgconf"
  [sanitize]="$build $gtest pkgconf"
  [coverage]="$build $gtest pkgconf gcovr"
  [bench]="$build libbenchmark-dev qtbase5-dev libboost-dev libspdlog-dev libsigc++-3.0-dev libmsgpack-cxx-dev pkgconf"
  [bench-check]="$build libbenchmark-dev qtbase5-dev libboost-dev libspdlog-dev libsigc++-3.0-dev libmsgpack-cxx-dev pkgconf valgrind"
  [fuzz]="$build clang libclang-rt-14-dev"
  [docs]="$build $gtest doxygen"
  [tidy]="$build $gtest clang clang-tidy"
  [format]="clang-format"
  [package]="$build $gtest pkgconf dpkg-dev file lintian"
  [abi]="$build abigail-tools binutils xz-utils git"
  [windows]="cmake ninja-build g++ g++-mingw-w64-x86-64-posix wine64 $gtest xz-utils"
)

commands=("$@")
if ((${#commands[@]} == 0)); then commands=("${!needs[@]}"); fi
wanted=()
for command in "${commands[@]}"; do
  if [[ -z "${needs[$command]+set}" ]]; then
    echo "bootstrap.sh: unknown command '$command'; known:" $(printf '%s\n' "${!needs[@]}" | sort) >&2
    exit 2
  fi
  read -ra packages <<<"${needs[$command]}"
  wanted+=("${packages[@]}")
done

missing=()
for package in $(printf '%s\n' "${wanted[@]}" | sort -u); do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  echo "Installing missing packages: ${missing[*]}"
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
  # A fresh machine often runs its own apt right after boot: wait for its
  # lock, as apt itself does, instead of failing at once.
  wait=(-o DPkg::Lock::Timeout=600)
  "${sudo[@]}" apt-get "${wait[@]}" update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get "${wait[@]}" install -y -qq --no-install-recommends "${missing[@]}"
fi
