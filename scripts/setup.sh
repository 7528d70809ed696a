#!/usr/bin/env bash
# Installs what Granwise needs from Debian's packages (when missing), then configures and builds.
# Usage: scripts/setup.sh [--target TARGET] [BUILD_DIR] [extra cmake arguments...]
# With --target only that target (and what it needs) is built, not everything.
#
# The list is complete for a minimal Debian 12 (debootstrap --variant=minbase): nothing is taken
# from what a machine happens to have. Recommended packages are not installed, so every package a
# build, test or program step needs is named here (scripts/check-new-machine.sh proves it).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  # compiler and build
  cmake ninja-build g++ pkg-config
  # Qt: widgets, charts (which needs the OpenGL files), print support, Chinese translations
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl-dev qt6-translations-l10n
  # storage, workbooks (ISA-L unpacks their parts), passwords
  libsqlite3-dev libzip-dev zlib1g-dev libisal-dev libpugixml-dev libxlsxwriter-dev libsodium-dev
  # tests: GoogleTest; the PDF checks read PDFs back with poppler's tools
  libgtest-dev libgmock-dev poppler-utils
  # Chinese glyphs for windows and PDFs
  fonts-noto-cjk
)
scripts/need-packages.sh "${packages[@]}"

target=()
if [[ ${1:-} == --target ]]; then
  target=(--target "$2")
  shift 2
fi
build_dir=${1:-build}
shift || true
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build_dir" "${target[@]}"
