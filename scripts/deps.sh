#!/usr/bin/env bash
# Installs what building, running and testing need on a Debian 12 machine.
# Idempotent: does nothing when everything is already there.
set -eu
pkgs="g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 xvfb xauth cmake make
      googletest locales imagemagick xdotool nsis zip python3 iproute2 x11-utils
      g++ clang libclang-rt-14-dev fonts-wine faketime snmpd snmp dpkg-dev miniupnpd miniupnpc"
missing=""
for p in $pkgs; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "deps: installing$missing"
  sudo_cmd=""; [ "$(id -u)" = 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends $missing >/dev/null
fi
# Wine takes its ANSI code page from the locale; without ru_RU.UTF-8 it would
# fall back to 1252 and mangle every Cyrillic text.
need_gen=0
for loc in ru_RU en_US; do
  locale -a 2>/dev/null | grep -qi "^${loc}\.utf-\?8$" || need_gen=1
done
if [ "$need_gen" = 1 ]; then
  sudo_cmd=""; [ "$(id -u)" = 0 ] || sudo_cmd="sudo"
  $sudo_cmd sed -i -E 's/^# *(ru_RU\.UTF-8 UTF-8)/\1/; s/^# *(en_US\.UTF-8 UTF-8)/\1/' /etc/locale.gen
  $sudo_cmd locale-gen >/dev/null
fi

# miniupnpc is built from Debian's source package with the project's own
# toolchain, so that the programs link it statically; apt-get source needs the
# deb-src lines of the configured mirror, which a default install leaves out.
src=$(cd "$(dirname "$0")/.." && pwd)
upnp_dir="$src/third_party/miniupnpc"
if [ ! -f "$upnp_dir/LICENSE" ]; then
  sudo_cmd=""; [ "$(id -u)" = 0 ] || sudo_cmd="sudo"
  if ! apt-get source --print-uris miniupnpc >/dev/null 2>&1; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      # Every stanza of the mirror once more, for source packages.
      sed -n '/^Types:/s/.*/Types: deb-src/p; /^Types:/!p' /etc/apt/sources.list.d/debian.sources \
        | $sudo_cmd tee /etc/apt/sources.list.d/vtc-deb-src.sources >/dev/null
    else
      grep -h '^deb ' /etc/apt/sources.list 2>/dev/null | sed 's/^deb /deb-src /' \
        | $sudo_cmd tee /etc/apt/sources.list.d/vtc-deb-src.list >/dev/null
    fi
    $sudo_cmd apt-get update -qq
  fi
  fetch=$(mktemp -d)
  (cd "$fetch" && apt-get source -qq miniupnpc >/dev/null 2>&1) \
    || { echo "deps: apt-get source miniupnpc failed" >&2; rm -rf "$fetch"; exit 1; }
  rm -rf "$upnp_dir" && mkdir -p "$src/third_party"
  mv "$fetch"/miniupnpc-*/ "$upnp_dir"
  rm -rf "$fetch"
  echo "deps: miniupnpc sources in third_party/miniupnpc"
fi
