#!/usr/bin/env bash
# Runs a command with a display: the user's if DISPLAY works, else a private Xvfb.
# Also prepares the Wine prefix given by WINEPREFIX and stops its server afterwards.
set -u
here=$(cd "$(dirname "$0")" && pwd)
started=""
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  for n in $(seq 90 140); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    started=$!
    export DISPLAY=:$n
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    xdpyinfo >/dev/null 2>&1 && break
    kill $started 2>/dev/null; started=""
  done
fi
if [ -n "${WINEPREFIX:-}" ]; then "$here/wine-prefix.sh" "$WINEPREFIX"; fi
"$@"
rc=$?
if [ -n "${WINEPREFIX:-}" ]; then WINEPREFIX=$WINEPREFIX wineserver -k >/dev/null 2>&1 || true; fi
[ -n "$started" ] && kill "$started" 2>/dev/null
exit $rc
