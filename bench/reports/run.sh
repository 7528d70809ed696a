#!/bin/sh
# Builds the report benchmark in an optimised build and prints its table.
# Usage: bench/reports/run.sh [BUILD_DIR] [PROJECT_COUNTS...]
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build-bench}
[ $# -gt 0 ] && shift
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGRANWISE_BENCH=ON -DGRANWISE_TESTS=OFF >/dev/null
ninja -C "$build" bench_reports >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bin/bench_reports" "$@"
