#!/bin/sh
# Times the upload file at 1 000, 10 000 and 100 000 projects: our import and export next to
# openpyxl reading the same file and a libxlsxwriter program writing the same sheet.
#
#     bench/exchange/run.sh [SIZES...]        (default: 1000 10000 100000)
#
# Builds a Release tree with the benchmarks in $BUILD (default: build-bench beside the sources)
# and works in a temporary directory.
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BUILD:-$ROOT/build-bench}
SIZES=${*:-1000 10000 100000}

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGRANWISE_BENCH=ON -DGRANWISE_TESTS=OFF >/dev/null
cmake --build "$BUILD" --target granwise-cli templets exchange_reference_writer exchange_measure exchange_read_sheet >/dev/null

BIN=$BUILD/bin
CLI=$BIN/granwise-cli
MEASURE=$BIN/exchange_measure
WRITER=$BIN/exchange_reference_writer
READER=$BIN/exchange_read_sheet
PYTHON=
for p in python3 /usr/bin/python3; do
  if command -v "$p" >/dev/null 2>&1 && "$p" -c "import openpyxl" 2>/dev/null; then PYTHON=$p; break; fi
done

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# "seconds KB status" of one command; a failed command stops the benchmark.
measure() {
  result=$("$MEASURE" "$@")
  status=${result##* }
  if [ "$status" != 0 ]; then echo "failed ($status): $*" >&2; exit 1; fi
  echo "${result% *}"
}
seconds() { echo "${1% *}"; }
megabytes() { echo "${1#* }" | awk '{ printf "%.0f", $1 / 1024 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1f", a / b; else printf "-" }'; }

line() { printf '%-9s| %-14s| %-14s| %-14s| %-14s| %-14s| %-20s| %-8s| %-14s| %-20s| %s\n' "$@"; }
line projects "preview s (MB)" "import s (MB)" "again: preview" "again: import" "read s (MB)" "openpyxl read s (MB)" speedup "export s (MB)" "libxlsxwriter s (MB)" "export/reference"
line --------- -------------- -------------- -------------- -------------- -------------- -------------------- -------- -------------- -------------------- ----------------
for n in $SIZES; do
  db=$WORK/ledger-$n.db
  "$CLI" --db "$db" init >/dev/null
  "$CLI" --db "$db" sample --projects "$n" --out "$WORK/sample-$n.xlsx" --seed 1 >/dev/null
  pre=$(measure "$CLI" --db "$db" import --dry-run "$WORK/sample-$n.xlsx")
  imp=$(measure "$CLI" --db "$db" import "$WORK/sample-$n.xlsx")
  # The same file again: every row replaces a stored project.
  pre2=$(measure "$CLI" --db "$db" import --dry-run "$WORK/sample-$n.xlsx")
  imp2=$(measure "$CLI" --db "$db" import "$WORK/sample-$n.xlsx")
  red=$(measure "$READER" "$WORK/sample-$n.xlsx")
  exp=$(measure "$CLI" --db "$db" export "$WORK/export-$n.xlsx")
  ref=$(measure "$WRITER" "$db" "$WORK/reference-$n.xlsx")
  if [ -n "$PYTHON" ]; then
    opx=$(measure "$PYTHON" "$ROOT/bench/exchange/reference_reader.py" "$WORK/sample-$n.xlsx")
    opxText="$(seconds "$opx") ($(megabytes "$opx"))"
    speedup="$(ratio "$(seconds "$opx")" "$(seconds "$imp")")x"
  else
    opxText="not installed"
    speedup="-"
  fi
  line "$n" "$(seconds "$pre") ($(megabytes "$pre"))" "$(seconds "$imp") ($(megabytes "$imp"))" \
    "$(seconds "$pre2") ($(megabytes "$pre2"))" "$(seconds "$imp2") ($(megabytes "$imp2"))" "$(seconds "$red") ($(megabytes "$red"))" "$opxText" "$speedup" \
    "$(seconds "$exp") ($(megabytes "$exp"))" "$(seconds "$ref") ($(megabytes "$ref"))" \
    "$(ratio "$(seconds "$exp")" "$(seconds "$ref")")"
  rm -f "$WORK"/*-"$n".xlsx "$db"
done
echo
echo "preview: import --dry-run (the import itself, rolled back); again: the same file into the full database;"
echo "import: granwise-cli import into a fresh database; read: our reader alone (exchange_read_sheet);"
echo "speedup: openpyxl read / import. Targets: import at least 10x faster than openpyxl reading"
echo "alone; export within 2x of the libxlsxwriter program; peak memory under 300 MB at 100 000."
