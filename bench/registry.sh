#!/bin/bash
# Times one write of setup's registry file on Linux (a .reg file rewritten
# through a temporary file) on registries of about 1 MB and 10 MB.
#   bash bench/registry.sh [work dir]
# The work dir (default build/bench-registry) holds the registries while it
# runs; the registries are removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(realpath -m "${1:-build/bench-registry}")
mkdir -p "$work"
trap 'rm -f "$work"/*.reg "$work"/*.reg.lock' EXIT
. scripts/compilers.sh
# built as setup is, from its own platform layer
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"${JOBS:-2}" --target registry_write >/dev/null
build/installer/registry_write "$work"
