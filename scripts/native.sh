#!/usr/bin/env bash
# Native host build of the platform-free code under AddressSanitizer and
# UndefinedBehaviorSanitizer (tests/native), in BUILD/native.
#   scripts/native.sh BUILD test   unit tests and a short run of each fuzz target
#   scripts/native.sh BUILD unit   unit tests only
#   scripts/native.sh BUILD fuzz   each fuzz target for FUZZ_SECONDS (default 600)
set -eu
build=${1:-build}
mode=${2:-test}
src=$(cd "$(dirname "$0")/.." && pwd)
out="$build/native"
jobs=${JOBS:-2}
[ "$jobs" -gt 2 ] 2>/dev/null && jobs=2
cxx=clang++
command -v clang++ >/dev/null 2>&1 || cxx=g++
# Configured every time, so that a new platform-free file joins at once.
mkdir -p "$out"
if [ -f "$out/CMakeCache.txt" ]; then
  cmake -S "$src/tests/native" -B "$out" >"$out/configure.log" 2>&1
else
  cmake -S "$src/tests/native" -B "$out" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=Debug >"$out/configure.log" 2>&1
fi || { cat "$out/configure.log"; exit 1; }
grep "native:" "$out/configure.log" || true
target=all
[ "$mode" = unit ] && target=unit_tests  # the fuzz targets' own copy of the sources is not built
cmake --build "$out" -j "$jobs" --target "$target" >"$out/build.log" 2>&1 || { cat "$out/build.log"; exit 1; }
case "$mode" in
  test)
    ctest --test-dir "$out" --output-on-failure -j 2
    ;;
  unit)
    ctest --test-dir "$out" --output-on-failure -j 2 -E '^fuzz_'
    ;;
  fuzz)
    secs=${FUZZ_SECONDS:-600}
    status=0
    for t in $(cat "$out/fuzz_targets.txt" | tr ';' ' '); do
      echo "== $t for ${secs}s"
      mkdir -p "$out/corpus/$t"
      "$out/$t" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2048 -max_len=80000 \
        -print_final_stats=1 -artifact_prefix="$out/crash-$t-" \
        "$out/corpus/$t" "$src/tests/native/seeds/$t" || status=1
    done
    exit $status
    ;;
  *) echo "usage: $0 BUILD test|unit|fuzz" >&2; exit 2 ;;
esac
