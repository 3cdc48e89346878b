#!/bin/bash
# Builds the programs and runs them on the bundled examples, in a copy of
# examples/ under build/examples so the tree stays clean.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --run-only
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"${JOBS:-2}" --target zorvex
rm -rf build/examples
cp -r examples build/examples

echo
echo "== zorvex build/examples/vexa/demo/house.prj"
build/converter/zorvex build/examples/vexa/demo/house.prj
echo
echo "== build/examples/vexa/demo/house.m3d (start)"
head -n 24 build/examples/vexa/demo/house.m3d
echo "..."
echo "== build/examples/vexa/demo/house.box"
cat build/examples/vexa/demo/house.box
