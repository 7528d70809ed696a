#!/usr/bin/env bash
# Installs what Granwise needs from Debian's packages (when missing), then configures and builds.
# Usage: scripts/setup.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev poppler-utils
  libsqlite3-dev libzip-dev libexpat1-dev libpugixml-dev libxlsxwriter-dev libsodium-dev
  libgtest-dev libgmock-dev
  fonts-noto-cjk
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "安装所需的软件包：${missing[*]}"
  if [ "$(id -u)" -eq 0 ]; then as_root=(); else as_root=(sudo); fi
  "${as_root[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

build_dir=${1:-build}
shift || true
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$build_dir"
