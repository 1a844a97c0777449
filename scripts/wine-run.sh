#!/usr/bin/env bash
# Runs one Windows program under Wine in the build tree's own prefix.
# Used by ctest (CMAKE_CROSSCOMPILING_EMULATOR) and by the scripts.
set -u
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/../build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export LANG="${VTC_LANG:-ru_RU.UTF-8}"
unset LC_ALL
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
