#!/usr/bin/env bash
# Runs every benchmark and prints its figures. Benchmarks never fail a build:
# they measure and report.
set -u
build=$(cd "${1:-build}" && pwd)
src=$(cd "$(dirname "$0")/.." && pwd)
export VTC_BUILD="$build" VTC_SOURCE="$src"
status=0
for b in "$src"/tests/bench/bench_*.py; do
  [ -e "$b" ] || continue
  echo "== $(basename "$b")"
  python3 "$b" || status=1
done
exit $status
