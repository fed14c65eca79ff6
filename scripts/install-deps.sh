#!/usr/bin/env bash
# Installs the Debian 12 packages the game, its build and its tests need. Does nothing when all are present.
set -euo pipefail
packages=(
  cmake g++ make pkg-config ccache clang libclang-rt-14-dev
  libsdl2-dev libx11-dev libepoxy-dev libfreetype-dev libfontconfig-dev fonts-liberation2
  libopenal-dev libalut-dev libcairo2-dev libpng-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libgl1-mesa-dri libegl1 libegl-mesa0
  xvfb openbox xdotool x11-apps x11-utils netpbm
  desktop-file-utils appstream dpkg-dev man-db
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
