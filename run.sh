#!/usr/bin/env bash
# Sets up, builds and starts Granwise on the database beside the program (build/bin/ledger.db).
# Without a display it does the program's main job headless: the sample upload workbooks of
# samples/ go into a scratch database and every statistical table is written into out/.
set -euo pipefail
cd "$(dirname "$0")"
# A new machine may have no locale set; the program's file names and texts are UTF-8.
export LANG=${LANG:-C.UTF-8}
scripts/setup.sh build
bin=build/bin

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/granwise" "$@"
fi

echo "没有可用的显示器（DISPLAY 未设置），桌面程序无法打开；改以命令行方式完成主要工作："
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cli=("$bin/granwise-cli" --db "$scratch/ledger.db")
"${cli[@]}" init
shopt -s nullglob
samples=(samples/*.xlsx samples/*.xls)
if [ ${#samples[@]} -gt 0 ]; then
  echo "上报数据入库：${samples[*]}"
  "${cli[@]}" import "${samples[@]}"
fi
mkdir -p out
echo "全部统计报表写入 out/："
"${cli[@]}" reports --out out
ls -1 out
echo
echo "桌面程序可以在有显示器时用 ./run.sh 打开，或在 Xvfb 下：xvfb-run $bin/granwise"
echo "命令行程序的用法：$bin/granwise-cli --help"
