#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need, when some
# are missing, then configures and builds the project (or only the target
# given with --target).
#   scripts/setup.sh [--target NAME] [build-folder] [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev libhpdf-dev libdeflate-dev
  qt6-base-dev libgl-dev
  qt6-translations-l10n
  qpdf poppler-utils mupdf-tools libxml2-utils zbar-tools
  fonts-dejavu-core fonts-liberation2 imagemagick
  clang libclang-rt-14-dev
  netpbm libgif-dev libjpeg62-turbo-dev
  ghostscript
  openssl
  xdg-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  # env inside sudo: sudo drops the caller's environment.
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

target=()
if [ "${1:-}" = "--target" ]; then
  target=(--target "$2")
  shift 2
fi
build=${1:-build}
shift || true
cmake -S . -B "$build" "$@" >/dev/null
cmake --build "$build" -j "$(nproc)" "${target[@]}"
