#!/bin/sh
# Times the checks over a whole data set at 1 000, 10 000 and 100 000 sampled projects: every
# broken rule into a workbook (validate --report), the review of unlikely values (review) and
# the undo of the import that brought the projects in.
#
#     bench/checks/run.sh [SIZES...]          (default: 1000 10000 100000)
#
# Builds a Release tree in $BUILD (default: build-bench beside the sources), or uses the
# granwise-cli named by $CLI, and works in a temporary directory.
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BUILD:-$ROOT/build-bench}
SIZES=${*:-1000 10000 100000}
if [ -z "${CLI:-}" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGRANWISE_BENCH=ON -DGRANWISE_TESTS=OFF >/dev/null
  cmake --build "$BUILD" --target granwise-cli templets >/dev/null
  CLI=$BUILD/bin/granwise-cli
fi

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# Seconds one command takes; its output is dropped, a failure other than "refused" stops.
timed() {
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1 || [ $? -eq 1 ] || { echo "failed: $*" >&2; exit 1; }
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }'
}

echo "| projects | import s | validate --report s | review s | undo of the import s |"
echo "|---|---|---|---|---|"
for n in $SIZES; do
  db=$WORK/bench-$n.db
  "$CLI" --db "$db" init >/dev/null
  "$CLI" --db "$db" sample --projects "$n" --out "$WORK/sample-$n.xlsx" >/dev/null
  import=$(timed "$CLI" --db "$db" import "$WORK/sample-$n.xlsx")
  report=$(timed "$CLI" --db "$db" validate --report "$WORK/report-$n.xlsx")
  review=$(timed "$CLI" --db "$db" review --out "$WORK/review-$n.xlsx")
  entry=$("$CLI" --db "$db" journal | awk -F '\t' '$4 == "导入" { id = $1 } END { print id }')
  undo=$(timed "$CLI" --db "$db" undo "$entry")
  echo "| $n | $import | $report | $review | $undo |"
done
