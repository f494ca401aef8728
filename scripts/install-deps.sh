#!/usr/bin/env bash
# Installs the Debian packages that building and testing Corvan needs, when any is missing.
set -euo pipefail

packages=(
  g++
  clang
  libclang-rt-dev
  cmake
  ninja-build
  libgtest-dev
  libbenchmark-dev
  libpng-dev
  zlib1g-dev
  libcurl4-openssl-dev
  qt6-base-dev
  qt6-multimedia-dev
  fonts-dejavu-core
  mimetex
  openssl
  # scripts/check-format.sh: the tree stays formatted with .clang-format.
  clang-format
  # The peer in bench/peer (built only when it is there).
  libmuparser-dev
  # Installing: the install test validates the menu entry and the metainfo; cpack -G DEB reads
  # library dependencies with dpkg-shlibdeps (and file); scripts/make-icons.sh renders the icon.
  desktop-file-utils
  appstream
  dpkg-dev
  file
  librsvg2-bin
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
