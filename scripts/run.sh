#!/usr/bin/env bash
# make run: starts the meter under Wine, measuring the interface of the
# kernel's default route. Uses the user's display when there is one;
# otherwise a virtual display, with a screenshot refreshed every few seconds.
set -eu
build=$(cd "${1:-build}" && pwd)
src=$(cd "$(dirname "$0")/.." && pwd)
run="$build/run"
mkdir -p "$run"
cp "$build/dist/qmeter4.exe" "$build/dist/qmeter_cfg.exe" "$run/"
[ -d "$build/dist/Look" ] && { rm -rf "$run/Look"; cp -r "$build/dist/Look" "$run/Look"; }
for f in options.ini tarif.ini; do
  if [ ! -e "$run/$f" ] && [ -e "$build/dist/$f" ]; then cp "$build/dist/$f" "$run/$f"; fi
done

export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all LANG=ru_RU.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
unset LC_ALL

xvfb=""
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  for n in $(seq 70 89); do
    [ -e /tmp/.X11-unix/X$n ] && continue
    Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=:$n
    sleep 1
    break
  done
fi
"$src/scripts/wine-prefix.sh" "$WINEPREFIX"

# Measure what the machine really uses: the interface of the default route,
# as Wine describes it (the Linux interface name).
iface=$(ip route show default 2>/dev/null | awk '/default/ {for (i = 1; i < NF; i++) if ($i == "dev") {print $(i + 1); exit}}')
if [ ! -e "$run/options.ini" ] || ! grep -q '^Interface=' "$run/options.ini"; then
  python3 - "$run/options.ini" "${iface:-}" <<'PY'
import sys
path, iface = sys.argv[1], sys.argv[2]
try:
    lines = open(path, "rb").read().decode("cp1251").splitlines()
except OSError:
    lines = ["[Options]", "ShowBt=1", "StayOnTop=1", "AlphaBlend=230", "Look=Default", "Statistic=1", "statkol=31"]
lines = [l for l in lines if not l.lower().startswith(("interface=", "autofind="))]
lines += ["Interface=" + iface, "AutoFind=0"]
open(path, "wb").write(("\r\n".join(lines) + "\r\n").encode("cp1251"))
PY
fi
echo "run: measuring '${iface:-?}' from $run (settings: $run/options.ini)"

wine "$run/qmeter4.exe" >/dev/null 2>&1 &
meter=$!
cleanup() { kill $meter 2>/dev/null; wineserver -k 2>/dev/null; [ -n "$xvfb" ] && kill $xvfb 2>/dev/null; true; }
trap cleanup EXIT INT TERM
if [ -n "$xvfb" ]; then
  echo "run: no display here; the meter runs on the virtual display $DISPLAY."
  echo "run: a screenshot of it is refreshed every 5 s at $run/screenshot.png (Ctrl+C ends)."
  while kill -0 $meter 2>/dev/null; do
    sleep 5
    import -window root "$run/screenshot.png" 2>/dev/null || true
  done
else
  echo "run: the meter is on your display $DISPLAY (Ctrl+C or its menu's \"Выход\" ends it)."
  wait $meter || true
fi
