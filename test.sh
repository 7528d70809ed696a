#!/usr/bin/env bash
# Sets up, builds and runs every test of Granwise.
set -euo pipefail
cd "$(dirname "$0")"
# A new machine may have no locale set; the program's file names and texts are UTF-8.
export LANG=${LANG:-C.UTF-8}
scripts/setup.sh build
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --timeout 300 -j2
