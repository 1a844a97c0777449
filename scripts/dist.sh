#!/usr/bin/env bash
# Lays out the program folder in BUILD/dist (both programs, the Look folder,
# the first-run options.ini and tarif.ini), then the installer and the
# portable zip of that folder beside it.
set -eu
build=${1:-build}
src=$(cd "$(dirname "$0")/.." && pwd)
# The version CMake made from project(VERSION) for this build.
version=$(sed -n 's/^#define VTC_VERSION "\(.*\)"$/\1/p' "$build/generated/vtc_version.h")
[ -n "$version" ] || { echo "dist: no version in $build/generated/vtc_version.h" >&2; exit 1; }
dist="$(mkdir -p "$build/dist" && cd "$build/dist" && pwd)"
cp "$build/qmeter4.exe" "$build/qmeter_cfg.exe" "$dist/"
cp "$src/assets/defaults/options.ini" "$src/assets/defaults/tarif.ini" "$dist/"
# The licence of miniupnpc, which the programs link statically (BSD: its
# notice must go with every copy).
licence=()
if [ -f "$src/third_party/miniupnpc/LICENSE" ]; then
  cp "$src/third_party/miniupnpc/LICENSE" "$dist/miniupnpc-LICENSE.txt"
  licence=("$dist/miniupnpc-LICENSE.txt")
fi
if [ -d "$src/assets/Look" ]; then
  rm -rf "$dist/Look"
  cp -r "$src/assets/Look" "$dist/Look"
fi

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
# The program folder without the installers themselves.
mkdir -p "$folder/VarnokTrafficCounter"
cp -r "$dist/qmeter4.exe" "$dist/qmeter_cfg.exe" "$dist/options.ini" "$dist/tarif.ini" ${licence[@]+"${licence[@]}"} \
  "$folder/VarnokTrafficCounter/"
[ -d "$dist/Look" ] && cp -r "$dist/Look" "$folder/VarnokTrafficCounter/"

zip="$dist/VarnokTrafficCounter-$version-portable.zip"
rm -f "$zip"
(cd "$folder" && zip -qr "$zip" VarnokTrafficCounter)

setup="$dist/VarnokTrafficCounter-$version-setup.exe"
if command -v makensis >/dev/null; then
  makensis -V2 -DVERSION="$version" -DSRCDIR="$folder/VarnokTrafficCounter" -DOUTFILE="$setup" \
    -DICON="$src/assets/icons/app.ico" "$src/installer/vtc.nsi" >/dev/null
fi
echo "dist: $dist ($(basename "$zip"), $(basename "$setup"))"
