#!/usr/bin/env bash
# Installs what building, running and testing need on a Debian 12 machine.
# Idempotent: does nothing when everything is already there.
set -eu
pkgs="g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 xvfb xauth cmake make
      googletest locales imagemagick xdotool nsis zip python3 iproute2 x11-utils
      g++ clang libclang-rt-14-dev fonts-wine faketime snmpd snmp"
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
