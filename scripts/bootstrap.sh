#!/usr/bin/env bash
# Installs the Debian packages the build needs, when they are missing
# (as root, or through sudo).
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  libicu-dev libtbb-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  qtbase5-dev libboost-dev libspdlog-dev valgrind gcovr clang-tidy
  doxygen
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  echo "Installing missing packages: ${missing[*]}"
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
