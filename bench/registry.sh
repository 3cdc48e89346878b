#!/bin/bash
# Times one write of setup's registry file on Linux (a .reg file rewritten
# through a temporary file) on registries of about 1 MB and 10 MB.
#   bash bench/registry.sh [work dir]
# The work dir (default build/bench-registry) holds the program and the
# registries while it runs; the registries are removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(realpath -m "${1:-build/bench-registry}")
mkdir -p "$work"
trap 'rm -f "$work"/*.reg "$work"/*.reg.lock' EXIT
. scripts/compilers.sh
${CXX:-c++} -O2 -std=c++17 -Iinstaller bench/registry_write.cpp installer/platform/registry_posix.cpp \
    installer/platform/ui_posix.cpp installer/platform/files_posix.cpp installer/platform/files_common.cpp \
    installer/base/*.cpp -o "$work/registry_write"
"$work/registry_write" "$work"
