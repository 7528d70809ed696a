#!/usr/bin/env bash
# Sets up, builds and starts Granwise on the database beside the program (build/bin/ledger.db).
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh build
bin=build/bin
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "没有可用的显示器（DISPLAY 未设置），桌面程序无法打开。"
  echo "可以使用命令行程序，例如："
  echo "  $bin/granwise-cli --help"
  echo "  $bin/granwise-cli --db $bin/ledger.db import 上报文件.xlsx"
  echo "或在 Xvfb 下启动桌面程序：xvfb-run $bin/granwise"
  exit 0
fi
exec "$bin/granwise" "$@"
