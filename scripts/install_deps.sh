#!/usr/bin/env bash
# Installs the Debian packages the game, its tools and its tests need.
# Does nothing when they are all present already.
set -euo pipefail
PKGS=(build-essential cmake pkg-config python3
      libsdl1.2-dev libsdl-ttf2.0-dev libexpat1-dev libopenal-dev libphysfs-dev zlib1g-dev libstb-dev
      libgl-dev libgl1-mesa-dri xvfb xauth fonts-dejavu-core libgtest-dev libbenchmark-dev
      clang libclang-rt-14-dev)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
