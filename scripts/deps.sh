#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need that this
# Debian 12 machine does not have yet. Safe to run again: it installs only
# what is missing.
set -euo pipefail
packages=(
  cmake make g++ clang libclang-rt-14-dev clang-format
  libsdl2-dev libgl-dev libegl-dev libgl1-mesa-dri libegl-mesa0
  libstb-dev googletest libgtest-dev libbenchmark-dev
  libtinyxml2-dev libpugixml-dev python3 curl
  libsfml-dev libx11-dev xvfb
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
