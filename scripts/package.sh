#!/usr/bin/env bash
# Makes the Debian package dist/granwise_<version>_amd64.deb: both programs in /usr/bin, the
# templates, help, reference data and samples under /usr/share/granwise, the desktop entry and
# its icon. Its dependencies are the runtime libraries the programs link (found by
# dpkg-shlibdeps) plus Qt's window-system plugins, its Chinese translations and a Chinese font.
# Usage: scripts/package.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
# The packer needs a UTF-8 locale for the Chinese file names it archives.
export LANG=${LANG:-C.UTF-8}
build_dir=${1:-build}
scripts/setup.sh "$build_dir"
scripts/need-packages.sh dpkg-dev file
rm -rf dist/_CPack_Packages
cpack --config "$build_dir/CPackConfig.cmake" -B dist
rm -rf dist/_CPack_Packages
deb=$(ls -t dist/granwise_*_amd64.deb | head -1)
echo "安装包：$deb"
dpkg-deb --field "$deb" Package Version Depends
