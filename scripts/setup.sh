#!/usr/bin/env bash
# Installs the Debian packages nettv needs (when missing) and builds it into
# build/. Run by run.sh and test.sh.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-webengine-dev libqt6opengl6-dev libgl-dev libmpv-dev libuchardet-dev
  libsqlite3-dev
  libopencc-dev libicu-dev libgoogle-perftools-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcap-dev
  ffmpeg xvfb xauth fonts-wqy-microhei time qt6-translations-l10n
  clang libclang-rt-dev python3
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cmake -S "$ROOT" -B "$ROOT/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$ROOT/build"
