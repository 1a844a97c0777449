#!/usr/bin/env bash
# Creates the Wine prefix of a build tree once and keeps a wineserver running,
# so that each later Wine process starts in a fraction of a second.
# Usage: wine-prefix.sh PREFIX
set -eu
export WINEPREFIX="$1"
export WINEDEBUG=-all LANG=ru_RU.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
unset LC_ALL
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
# Wine's own Tahoma and MS Sans Serif (fonts-wine) into the prefix: the
# windows are laid out for Tahoma, and without it Wine substitutes a wider face.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ] && [ ! -e "$fonts/tahoma.ttf" ]; then
  cp /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
fi
# -p: stay alive between processes. The first process of a prefix starts Wine's
# own services, which inherit stdout; point them at /dev/null once here.
wineserver -p >/dev/null 2>&1 || true
wine cmd /c exit >/dev/null 2>&1 </dev/null || true
