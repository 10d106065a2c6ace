#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the game need.
# Does nothing when they are all present, so it is cheap to call from make.
set -eu
packages=(
  cmake ninja-build g++ pkg-config make
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev fonts-liberation2
  libvorbis-dev libogg-dev espeak-ng
  libpng-dev zlib1g-dev libcairo2-dev
  libegl-dev libgl-dev libopengl-dev libegl1-mesa-dev libegl-mesa0 libgl1-mesa-dri
  xvfb xauth
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
