#!/usr/bin/env bash
# Installs what building and running Sorvane under Wine needs on Debian 12.
# Idempotent: packages already present are not fetched again.
set -euo pipefail

need=(cmake make g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
      binutils-mingw-w64-x86-64 wine wine64 wine32:i386 xvfb xdotool imagemagick googletest
      python3 x11-utils x11-xkb-utils nsis zip
      # Two monitors: a nested X server with Xinerama, whose monitors Wine reads through these
      # libraries in both architectures.
      xserver-xephyr libxinerama1 libxrandr2 libxrender1 libxinerama1:i386 libxrandr2:i386
      libxrender1:i386
      # Other languages: Wine takes the user's language from LANG, whose Unix locale must exist
      # (made below), and draws Japanese, Korean and Chinese in a font of their script.
      locales fonts-wqy-microhei)
# The Unix locales of the languages the tests run Sorvane in.
locales=(de_DE ja_JP)

missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
SUDO=
[ "$(id -u)" -ne 0 ] && SUDO=sudo
make_locales() {
  for l in "${locales[@]}"; do
    locale -a 2>/dev/null | grep -qix "$l.utf-\?8" || $SUDO localedef -i "$l" -c -f UTF-8 "$l.UTF-8"
  done
}
if [ ${#missing[@]} -eq 0 ]; then
  make_locales
  exit 0
fi

echo "Installing: ${missing[*]}" >&2
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
make_locales
