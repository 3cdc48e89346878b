#!/bin/bash
# Installs the Debian packages the build and the tests need (run as root).
# Does nothing when everything is already there.
set -e
pkgs=(build-essential cmake googletest libgtest-dev
      g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
      wine wine32:i386 wine64 xvfb xauth xdotool
      clang libclang-rt-14-dev assimp-testmodels locales
      libedit-dev imagemagick desktop-file-utils fonts-dejavu-core fontconfig)
if [ "${1:-}" = "--run-only" ]; then
  pkgs=(build-essential cmake libedit-dev)
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
# A compiler package can be marked installed with its programs gone: have
# it installed again, and let the build fall back to clang if that fails.
reinstall=()
printf 'int main() { return 0; }\n' | c++ -x c++ - -o /dev/null 2>/dev/null || reinstall=(gcc-12 g++-12 cpp-12 gcc g++)
if [ ${#reinstall[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q || true
  apt-get install -y -q --reinstall --no-install-recommends "${reinstall[@]}" ||
    echo "warning: could not reinstall the system compiler; clang will be used if it works"
fi
if [ ${#missing[@]} -gt 0 ]; then
  if [[ " ${missing[*]} " == *":i386"* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
# Where the kernel runs no 32-bit programs, the Windows code is tested as a
# 64-bit build under wine64 (scripts/wine-env.sh): that needs its compiler.
if [ "${1:-}" != "--run-only" ] && ! dpkg -s g++-mingw-w64-x86-64-posix >/dev/null 2>&1; then
  . "$(dirname "$0")/wine-env.sh"
  if ! wine_runs_32bit; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends g++-mingw-w64-x86-64-posix
  fi
fi
