#!/usr/bin/env bash
# Installs the Debian packages Lumora needs to build, test and run.
# Quick and silent when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-dev clang-format
  googletest libgtest-dev libbenchmark-dev
  libpng-dev zlib1g-dev
  freeglut3-dev libgl-dev libglu1-mesa-dev
  libsdl2-dev libcups2-dev
  libx11-dev libxfixes-dev xvfb xdotool
  hershey-fonts-data xfonts-base
  poppler-utils qpdf
  libdxflib-dev python3-ezdxf
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: need root or sudo for: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
