#!/bin/bash
# Times setup's CopyDir2Dest against cp -r on the same tree and disk.
#   bash bench/copytree.sh [setup binary] [work dir]
# Builds a tree of 10,000 files (100 directories of 100 files of 2 to 64 KiB,
# about 225 MB) under the work dir (default build/bench-copytree, on the
# repository's disk), copies it three times with each tool, alternating, and prints
# the best time of each and their ratio. At most the tree and one copy exist at
# a time (about 450 MB); everything is removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
setup=$(realpath "${1:-build/installer/setup}")
work=$(realpath -m "${2:-build/bench-copytree}")
[ -x "$setup" ] || { echo "no setup binary at $setup (build it first: cmake --build build --target setup)" >&2; exit 2; }
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

echo "building the tree in $work/src/tree"
python3 - "$work/src/tree" <<'PY'
import os, sys
root = sys.argv[1]
block = os.urandom(64 * 1024)
sizes = [2048, 8192, 16384, 65536]
for d in range(100):
    path = os.path.join(root, "dir%03d" % d)
    os.makedirs(path)
    for f in range(100):
        with open(os.path.join(path, "file%03d.bin" % f), "wb") as out:
            out.write(block[: sizes[(d + f) % 4]])
PY
files=$(find "$work/src/tree" -type f | wc -l)
bytes=$(du -sb "$work/src/tree" | cut -f1)
echo "tree: $files files, $((bytes / 1000000)) MB"

cat > "$work/setup.ini" <<INI
[Setup]
set SRCDIR "$work/src"
set DSTDIR "$work/dst"
CopyDir2Dest "tree"
INI
cp "$setup" "$work/setup"
printf 'Windows Registry Editor Version 5.00\n' > "$work/registry.reg"

now() { date +%s.%N; }
time_cp() {
    rm -rf "$work/dst"; mkdir -p "$work/dst"; sync
    local t0; t0=$(now)
    cp -r "$work/src/tree" "$work/dst/"
    sync
    echo "$(now) - $t0" | bc
}
time_setup() {
    rm -rf "$work/dst"; mkdir -p "$work/dst"; sync
    local t0; t0=$(now)
    (cd "$work" && SETUP_REGISTRY="$work/registry.reg" ./setup /SILENT >/dev/null 2>"$work/setup.err") ||
        { echo "setup failed:" >&2; cat "$work/setup.err" >&2; exit 1; }
    sync
    local t; t=$(echo "$(now) - $t0" | bc)
    local copied; copied=$(find "$work/dst/tree" -type f | wc -l)
    [ "$copied" = "$files" ] || { echo "setup copied $copied of $files files" >&2; exit 1; }
    echo "$t"
}
# Each time includes the sync that writes the copy to the disk: without it
# the figures mostly measure how much dirty data the kernel lets pile up.
# the source is read once first, so both tools find it in the page cache
cat "$work"/src/tree/*/* > /dev/null
best_cp=; best_setup=
for round in 1 2 3; do
    c=$(time_cp); s=$(time_setup)
    printf 'round %d: cp -r %.3f s, CopyDir2Dest %.3f s\n' "$round" "$c" "$s"
    if [ -z "$best_cp" ] || [ "$(echo "$c < $best_cp" | bc)" = 1 ]; then best_cp=$c; fi
    if [ -z "$best_setup" ] || [ "$(echo "$s < $best_setup" | bc)" = 1 ]; then best_setup=$s; fi
done
printf 'best: cp -r %.3f s, CopyDir2Dest %.3f s, ratio CopyDir2Dest / cp -r = %.2f\n' \
    "$best_cp" "$best_setup" "$(echo "$best_setup / $best_cp" | bc -l)"
