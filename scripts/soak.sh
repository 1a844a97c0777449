#!/usr/bin/env bash
# make soak: the meter under Wine for SOAK_SECONDS (default 1800) with loopback
# traffic, its menu and statistics window used all the time; prints the totals'
# error against the kernel's counters and the process's handle, GDI, USER and
# private-memory figures at the start and the end.
set -u
build=$(cd "${1:-build}" && pwd)
src=$(cd "$(dirname "$0")/.." && pwd)
export VTC_BUILD="$build" VTC_SOURCE="$src"
cd "$src/tests/e2e" && exec python3 soak_run.py
