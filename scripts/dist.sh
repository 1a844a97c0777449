#!/usr/bin/env bash
# Lays out the program folder in BUILD/dist: both programs and the Look folder.
set -eu
build=${1:-build}
src=$(cd "$(dirname "$0")/.." && pwd)
dist="$build/dist"
mkdir -p "$dist"
cp "$build/qmeter4.exe" "$build/qmeter_cfg.exe" "$dist/"
if [ -d "$src/assets/Look" ]; then
  rm -rf "$dist/Look"
  cp -r "$src/assets/Look" "$dist/Look"
fi
echo "dist: $dist"
