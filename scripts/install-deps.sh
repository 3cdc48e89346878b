#!/bin/bash
# Installs the Debian packages the build and the tests need (run as root).
# Does nothing when everything is already there.
set -e
pkgs=(build-essential cmake googletest libgtest-dev
      g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
      wine wine32:i386 wine64 xvfb xauth xdotool
      clang libclang-rt-14-dev assimp-testmodels locales)
if [ "${1:-}" = "--run-only" ]; then
  pkgs=(build-essential cmake)
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [[ " ${missing[*]} " == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
