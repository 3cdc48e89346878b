#!/bin/bash
# Installs what is missing, builds everything natively and for 32-bit Windows,
# runs every test natively (plainly and under AddressSanitizer and
# UndefinedBehaviorSanitizer), fuzzes the converter's and the installer's readers for a bounded
# time, then runs the Windows builds under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${JOBS:-2}
fuzz_seconds=${FUZZ_SECONDS:-25}

bash scripts/install-deps.sh
. scripts/compilers.sh

echo "== native build and tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXA_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
cmake --build build -j"$jobs" --target registry_write   # the registry benchmark keeps building
(cd build && ctest --output-on-failure -j"$jobs")

echo "== native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXA_WERROR=ON -DVEXA_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j"$jobs")

echo "== fuzzing the converter's and the installer's readers (${fuzz_seconds}s each)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DBUILD_TESTING=OFF -DVEXA_FUZZ=ON -DVEXA_SANITIZE=ON >/dev/null
cmake --build build-fuzz -j"$jobs" --target fuzz_scene fuzz_project fuzz_script fuzz_config fuzz_registry
corpus=build-fuzz/corpus
rm -rf "$corpus" && mkdir -p "$corpus/scene" "$corpus/project"
build/converter/tests/make_fixtures build-fuzz/fixtures
find build-fuzz/fixtures converter/tests/regressions -name '*.3ds' -exec cp {} "$corpus/scene/" \; 2>/dev/null || true
cp /usr/share/assimp/models/3DS/* "$corpus/scene/" 2>/dev/null || true
find build-fuzz/fixtures converter/tests/regressions -name '*.prj' -exec cp {} "$corpus/project/" \; 2>/dev/null || true
bash installer/fuzz/make_seeds.sh "$corpus" >/dev/null
for t in script config registry; do cp installer/fuzz/regressions/$t/* "$corpus/$t/" 2>/dev/null || true; done
fuzz() {   # target corpus [options]: fails on any finding
  local target=$1 dir=$2; shift 2
  local log=build-fuzz/${target##*/}.log
  echo "-- $target"
  if ! "build-fuzz/$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=4096 -artifact_prefix=build-fuzz/ "$@" \
      "$corpus/$dir" > "$log" 2>&1; then
    tail -n 40 "$log"
    echo "$target found a fault: the input is in build-fuzz/, the log in $log"
    exit 1
  fi
  tail -n 2 "$log"
}
fuzz converter/fuzz_scene scene -max_len=65536
fuzz converter/fuzz_project project
fuzz installer/fuzz_script script -max_len=8192
fuzz installer/fuzz_config config -max_len=8192
# the registry file is written and synced for each input: a memory file system keeps that quick
TMPDIR=/dev/shm fuzz installer/fuzz_registry registry -max_len=8192 -close_fd_mask=2

echo "== Windows build (MinGW-w64, i686)"
cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release -DVEXA_WERROR=ON >/dev/null
cmake --build build-win -j"$jobs"

. scripts/wine-env.sh
wine_choose_build "$root"
win=$WINE_BUILD
if [ "$WINE_BITS" = 64 ]; then
  echo "== Windows build for the tests (MinGW-w64, x86-64)"
  cmake -S . -B "$win" -DCMAKE_TOOLCHAIN_FILE="$WINE_TOOLCHAIN" \
        -DCMAKE_BUILD_TYPE=Release -DVEXA_WERROR=ON >/dev/null
  cmake --build "$win" -j"$jobs"
fi
wine_use "$win"

echo "== converter tests under Wine"
(cd "$win" && ctest --output-on-failure -R converter_tests)
echo "== converter under Wine against the native build"
bash converter/tests/wine_compare.sh build/converter/zorvex "$win/converter/zorvex.exe" \
     build/converter/tests/make_fixtures "$win/converter-wine-runs"

if [ -f installer/tests/wine_tests.sh ]; then
  echo "== installer under Wine"
  bash installer/tests/wine_tests.sh "$root/build" "$win"
fi
echo "all tests passed"
