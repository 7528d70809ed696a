#!/bin/sh
# The upload file in and out, side by side with its peers and floors, at 10 000, 100 000 and
# 300 000 projects:
#   import          granwise-cli import of the sample as we write it (inline strings), into a
#                   fresh database;
#   shared import   the same rows as a desktop spreadsheet program saves them: LibreOffice's
#                   copy of the sample (a shared-string table; to_shared_strings.py makes one
#                   when LibreOffice is not installed, and the table says so);
#   shared, inline  that copy with its texts put back inline into its cells, all else of its
#                   sheet as it was (to_inline_strings.py): beside the shared import, what the
#                   shared-string table itself costs, apart from the larger sheet such a
#                   program writes (a reference, a style and a type on every cell);
#   SQLite load     the same rows loaded by SQLite itself from a database holding them
#                   (exchange_sqlite_load): the floor an import stands on;
#   export          granwise-cli export of those rows, beside a libxlsxwriter program writing
#                   the same sheet (exchange_reference_writer).
# The commands run interleaved, one round of all of them after the other ($RUNS rounds,
# default 3), so that a machine's drift falls on all alike; each figure is the median of its
# rounds: wall seconds, CPU seconds and peak memory.
#
#     bench/exchange/run.sh [SIZES...]        (default: 10000 100000 300000)
#
# Builds a Release tree with the benchmarks in $BUILD (default: build-bench beside the sources)
# and works in a temporary directory ($WORK, kept when given).
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=${BUILD:-$ROOT/build-bench}
SIZES=${*:-10000 100000 300000}
RUNS=${RUNS:-3}

cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGRANWISE_BENCH=ON -DGRANWISE_TESTS=OFF >/dev/null
cmake --build "$BUILD" --target granwise-cli templets exchange_reference_writer exchange_measure exchange_sqlite_load >/dev/null

BIN=$BUILD/bin
CLI=$BIN/granwise-cli
MEASURE=$BIN/exchange_measure
if [ -n "${WORK:-}" ]; then
  mkdir -p "$WORK"
else
  WORK=$(mktemp -d)
  trap 'rm -rf "$WORK"' EXIT
fi
OFFICE=$(command -v soffice || command -v libreoffice || true)

# "wall cpu KB" of one command; a failed command stops the benchmark.
measure() {
  result=$("$MEASURE" "$@")
  status=${result##* }
  if [ "$status" != 0 ]; then echo "failed ($status): $*" >&2; exit 1; fi
  echo "${result% *}"
}
# The median of each of the three figures over the lines of a file.
median() {
  for k in 1 2 3; do
    awk -v k="$k" '{ print $k }' "$1" | sort -g | awk '{ v[NR] = $1 } END { printf "%s ", v[int((NR + 1) / 2)] }'
  done
}
figure() { echo "$1" | awk '{ printf "%.2f / %.2f (%.0f)", $1, $2, $3 / 1024 }'; }
# The ratio of two figures' wall seconds.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { split(a, x, " "); split(b, y, " "); if (y[1] > 0) printf "%.2f", x[1] / y[1]; else printf "-" }'; }

line() { printf '| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n' "$@"; }
line projects "import" "shared import" "shared / inline" "shared, inline" "shared / shared, inline" "SQLite load" "import / SQLite load" "export" "libxlsxwriter" "export / libxlsxwriter"
line --- --- --- --- --- --- --- --- --- --- ---
"$CLI" --db "$WORK/empty.db" init >/dev/null
for n in $SIZES; do
  sample=$WORK/sample-$n.xlsx
  shared=$WORK/shared-$n.xlsx
  full=$WORK/full-$n.db
  cp "$WORK/empty.db" "$full"
  "$CLI" --db "$full" sample --projects "$n" --out "$sample" --seed 1 >/dev/null
  if [ -n "$OFFICE" ]; then
    mkdir -p "$WORK/office"
    "$OFFICE" --headless --calc --convert-to xlsx:"Calc MS Excel 2007 XML" --outdir "$WORK/office" "$sample" >/dev/null 2>&1
    mv "$WORK/office/sample-$n.xlsx" "$shared"
    made_by="LibreOffice"
  else
    python3 "$ROOT/bench/exchange/to_shared_strings.py" "$sample" "$shared" >/dev/null
    made_by="to_shared_strings.py"
  fi
  python3 "$ROOT/bench/exchange/to_inline_strings.py" "$shared" "$WORK/unshared-$n.xlsx"
  "$CLI" --db "$full" import "$sample" >/dev/null
  for f in import shared unshared load export reference; do : >"$WORK/$f-$n"; done
  round=0
  while [ "$round" -lt "$RUNS" ]; do
    cp "$WORK/empty.db" "$WORK/fresh.db"
    measure "$CLI" --db "$WORK/fresh.db" import "$sample" >>"$WORK/import-$n"
    cp "$WORK/empty.db" "$WORK/fresh.db"
    measure "$CLI" --db "$WORK/fresh.db" import "$shared" >>"$WORK/shared-$n"
    cp "$WORK/empty.db" "$WORK/fresh.db"
    measure "$CLI" --db "$WORK/fresh.db" import "$WORK/unshared-$n.xlsx" >>"$WORK/unshared-$n"
    cp "$WORK/empty.db" "$WORK/fresh.db"
    measure "$BIN/exchange_sqlite_load" "$full" "$WORK/fresh.db" >>"$WORK/load-$n"
    measure "$CLI" --db "$full" export "$WORK/export-$n.xlsx" >>"$WORK/export-$n"
    measure "$BIN/exchange_reference_writer" "$full" "$WORK/reference-$n.xlsx" >>"$WORK/reference-$n"
    round=$((round + 1))
  done
  imp=$(median "$WORK/import-$n")
  shr=$(median "$WORK/shared-$n")
  uns=$(median "$WORK/unshared-$n")
  lod=$(median "$WORK/load-$n")
  exp=$(median "$WORK/export-$n")
  ref=$(median "$WORK/reference-$n")
  line "$n" "$(figure "$imp")" "$(figure "$shr")" "$(ratio "$shr" "$imp")" "$(figure "$uns")" "$(ratio "$shr" "$uns")" \
    "$(figure "$lod")" "$(ratio "$imp" "$lod")" \
    "$(figure "$exp")" "$(figure "$ref")" "$(ratio "$exp" "$ref")"
  rm -f "$WORK"/*-"$n".xlsx "$WORK"/*-"$n".db "$WORK/fresh.db"
done
echo
echo "Each figure: the median of $RUNS interleaved rounds, wall s / CPU s (peak MB); ratios of wall"
echo "seconds. Shared-string workbooks made by ${made_by:-LibreOffice} from the sample."
