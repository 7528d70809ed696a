#!/bin/sh
# Times the upload file at 1 000, 10 000 and 100 000 projects: our import of the file as we write
# it (inline strings) and of the same rows as a desktop spreadsheet program saves them (a
# shared-string table, made from our file by to_shared_strings.py), our export, next to openpyxl
# reading the same file and a libxlsxwriter program writing the same sheet. Each figure is wall
# seconds / CPU seconds (peak MB); on a shared machine compare the CPU seconds.
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

# "wall cpu KB" of one command; a failed command stops the benchmark.
measure() {
  result=$("$MEASURE" "$@")
  status=${result##* }
  if [ "$status" != 0 ]; then echo "failed ($status): $*" >&2; exit 1; fi
  echo "${result% *}"
}
seconds() { echo "$1" | awk '{ print $1 }'; }
cpu() { echo "$1" | awk '{ print $2 }'; }
megabytes() { echo "$1" | awk '{ printf "%.0f", $3 / 1024 }'; }
# "wall / cpu (MB)"
figure() { echo "$(seconds "$1") / $(cpu "$1") ($(megabytes "$1"))"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'; }

line() { printf '%-9s| %-20s| %-20s| %-20s| %-11s| %-20s| %-20s| %-20s| %-22s| %-8s| %-20s| %-22s| %s\n' "$@"; }
line projects "preview" "import" "shared-string import" "shared/inline" "again: preview" "again: import" "read" "openpyxl read" speedup "export" "libxlsxwriter" "export/reference"
line --------- -------------------- -------------------- -------------------- ----------- -------------------- -------------------- -------------------- ---------------------- -------- -------------------- ---------------------- ----------------
"$CLI" --db "$WORK/empty.db" init >/dev/null
for n in $SIZES; do
  db=$WORK/ledger-$n.db
  cp "$WORK/empty.db" "$db"
  "$CLI" --db "$db" sample --projects "$n" --out "$WORK/sample-$n.xlsx" --seed 1 >/dev/null
  python3 "$ROOT/bench/exchange/to_shared_strings.py" "$WORK/sample-$n.xlsx" "$WORK/shared-$n.xlsx" >/dev/null
  pre=$(measure "$CLI" --db "$db" import --dry-run "$WORK/sample-$n.xlsx")
  imp=$(measure "$CLI" --db "$db" import "$WORK/sample-$n.xlsx")
  cp "$WORK/empty.db" "$WORK/shared-$n.db"
  shr=$(measure "$CLI" --db "$WORK/shared-$n.db" import "$WORK/shared-$n.xlsx")
  # The same file again: every row replaces a stored project.
  pre2=$(measure "$CLI" --db "$db" import --dry-run "$WORK/sample-$n.xlsx")
  imp2=$(measure "$CLI" --db "$db" import "$WORK/sample-$n.xlsx")
  red=$(measure "$READER" "$WORK/sample-$n.xlsx")
  exp=$(measure "$CLI" --db "$db" export "$WORK/export-$n.xlsx")
  ref=$(measure "$WRITER" "$db" "$WORK/reference-$n.xlsx")
  if [ -n "$PYTHON" ]; then
    opx=$(measure "$PYTHON" "$ROOT/bench/exchange/reference_reader.py" "$WORK/sample-$n.xlsx")
    opxText=$(figure "$opx")
    speedup="$(ratio "$(cpu "$opx")" "$(cpu "$imp")")x"
  else
    opxText="not installed"
    speedup="-"
  fi
  line "$n" "$(figure "$pre")" "$(figure "$imp")" "$(figure "$shr")" "$(ratio "$(cpu "$shr")" "$(cpu "$imp")")" \
    "$(figure "$pre2")" "$(figure "$imp2")" "$(figure "$red")" "$opxText" "$speedup" \
    "$(figure "$exp")" "$(figure "$ref")" "$(ratio "$(cpu "$exp")" "$(cpu "$ref")")"
  rm -f "$WORK"/*-"$n".xlsx "$WORK"/*-"$n".db
done
echo
echo "Each figure: wall s / CPU s (peak MB). preview: import --dry-run (the import itself, rolled back);"
echo "import: granwise-cli import into a fresh database; shared-string import: the same rows with their"
echo "texts in a shared-string table, into a fresh database; shared/inline, speedup and export/reference:"
echo "ratios of CPU seconds; again: the same file into the full database; read: our reader alone"
echo "(exchange_read_sheet); speedup: openpyxl read / import."
