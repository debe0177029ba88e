#!/usr/bin/env bash
# Installs what the builds and tests need on Debian 12 (as root). Skips the
# work when everything is already there; says what failed when it cannot.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }
# Both Windows builds and both Wine loaders (the 32-bit ones run where the
# machine runs 32-bit programs, the 64-bit ones everywhere
# (scripts/wine-arch.sh decides)). nodejs is the browser's URL parser the
# host names are checked against, unicode-data what their tables are made of;
# nlohmann-json3-dev the JSON parser the check tool reads browser profiles with.
for p in cmake ninja-build g++ libgtest-dev googletest g++-mingw-w64-i686-posix \
         g++-mingw-w64-x86-64-posix wine wine32:i386 wine64 fonts-wine \
         xvfb xauth xdotool x11-utils imagemagick \
         fonts-ipafont-gothic locales python3 ca-certificates \
         nodejs unicode-data nlohmann-json3-dev; do
  have "$p" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  echo "installing: ${need[*]}"
  dpkg --add-architecture i386
  log=$(mktemp)
  if ! { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
           --no-install-recommends "${need[@]}"; } >"$log" 2>&1; then
    tail -n 15 "$log" >&2
    echo "install-deps.sh FAILED: apt-get could not install ${need[*]}" >&2
    exit 1
  fi
  rm -f "$log"
fi
# Japanese for every Wine session, English (United States) for the one that
# runs a Windows of another code page.
for wanted in ja_JP en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^$wanted\.utf-\?8\$"; then
    sed -i "s/^# *$wanted.UTF-8 UTF-8/$wanted.UTF-8 UTF-8/" /etc/locale.gen
    grep -q "^$wanted.UTF-8 UTF-8" /etc/locale.gen || echo "$wanted.UTF-8 UTF-8" >> /etc/locale.gen
    generate=1
  fi
done
if [ -n "${generate:-}" ]; then locale-gen >/dev/null; fi
