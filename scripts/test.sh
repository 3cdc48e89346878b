#!/bin/bash
# Installs what is missing, builds everything natively and for 32-bit Windows,
# runs every test natively, then runs the Windows builds under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${JOBS:-2}

bash scripts/install-deps.sh

echo "== native build and tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXA_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

echo "== Windows build (MinGW-w64, i686)"
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release -DVEXA_WERROR=ON >/dev/null
cmake --build build-win -j"$jobs"

export WINEPREFIX=$root/build-win/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
wineboot -i >/dev/null 2>&1 || true

echo "== converter under Wine against the native build"
bash converter/tests/wine_compare.sh build/converter/zorvex build-win/converter/zorvex.exe \
     build/converter/tests/make_fixtures

if [ -f installer/tests/wine_tests.sh ]; then
  echo "== installer under Wine"
  bash installer/tests/wine_tests.sh "$root/build" "$root/build-win"
fi
echo "all tests passed"
