#!/usr/bin/env bash
# Installs every Debian package Quorvel needs to build, test and run, when missing.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev libqt6core6 libqt6gui6 libqt6widgets6 libqt6dbus6
  libplist-dev libplist++-dev libminizip-dev zlib1g-dev
  libgtest-dev libgmock-dev
  shared-mime-info adwaita-icon-theme libqt6svg6 xdg-utils
  desktop-file-utils appstream
  xvfb xauth unzip
)
# Packages only some runs need (the fuzz build's clang), named by scripts/test.sh.
read -r -a extra <<<"${QUORVEL_EXTRA_PACKAGES:-}"
packages+=("${extra[@]}")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
