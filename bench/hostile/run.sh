#!/bin/sh
# Imports small hostile upload files (bench/hostile/make_hostile.py) and prints, for each, its
# size, how the import ended and the peak memory (/usr/bin/time -v) it took.
#
#     bench/hostile/run.sh            (uses $BUILD, default build/ beside the sources)
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BUILD:-$ROOT/build}
CLI=$BUILD/bin/granwise-cli
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

python3 "$ROOT/bench/hostile/make_hostile.py" "$BUILD/bin/templet/out.xlsx" "$WORK/files"
"$CLI" --db "$WORK/fresh.db" init >/dev/null

printf '| file | KB | exit | peak MB | message |\n|---|---|---|---|---|\n'
for f in "$WORK"/files/*; do
  name=$(basename "$f")
  cp "$WORK/fresh.db" "$WORK/ledger.db" # each file into a fresh database
  set +e
  /usr/bin/time -v -o "$WORK/time" "$CLI" --db "$WORK/ledger.db" import "$f" >"$WORK/out" 2>"$WORK/err"
  status=$?
  set -e
  peak=$(awk -F: '/Maximum resident set size/ { printf "%.0f", $2 / 1024 }' "$WORK/time")
  message=$(cat "$WORK/out" "$WORK/err" | head -n 1 | cut -c 1-160)
  printf '| %s | %s | %s | %s | %s |\n' "$name" $(( $(stat -c %s "$f") / 1024 )) "$status" "$peak" "$message"
done
