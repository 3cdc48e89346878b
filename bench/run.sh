#!/bin/bash
# Converter benchmark: times zorvex against lib3ds, assimp, assimp export
# and two floors (reading the scene and printing its lines) on scenes from a
# single triangle up to the capacities, in one run, and prints the medians,
# the ratios and how zorvex grows when the scene doubles.
# Commands are timed in alternation (bench/timeit.c), so that a slow spell
# of the machine hits all of them alike; the figures are medians.
# Usage (as root on Debian): bash bench/run.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
need=()
for p in build-essential cmake lib3ds-dev libassimp-dev assimp-utils python3; do
  dpkg -s "$p" >/dev/null 2>&1 || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${need[@]}"
fi

. scripts/compilers.sh
cxx=${CXX:-c++} cc=${CC:-cc}
out=build-bench
cmake -S . -B $out -DCMAKE_BUILD_TYPE=Release -DVEXA_INSTALLER=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build $out -j2 --target zorvex >/dev/null
$cxx -O2 -std=c++17 -Iconverter/tests bench/gen_scenes.cpp converter/tests/scene_builder.cpp -o $out/gen_scenes
$cc -O2 bench/lib3ds_load.c -o $out/lib3ds_load -l3ds
$cxx -O2 bench/assimp_load.cpp -o $out/assimp_load -lassimp
$cc -O2 bench/floor.c -o $out/floor
$cc -O2 bench/timeit.c -o $out/timeit

work=$out/scenes
rm -rf $work && mkdir -p $work
$out/gen_scenes $work
zorvex=$PWD/$out/converter/zorvex
json=$out/times && rm -rf $json && mkdir -p $json

for s in $work/*.3ds; do
  name=$(basename "$s" .3ds)
  $out/timeit "$runs" \
    zorvex "$zorvex $s" \
    floor_fast "$out/floor fast $s $work/$name.floor" \
    floor_printf "$out/floor printf $s $work/$name.floor" \
    lib3ds "$out/lib3ds_load $s" \
    assimp "$out/assimp_load $s" \
    assimp_join "$out/assimp_load $s join" \
    assimp_export "assimp export $s $work/$name.obj" \
    cat "cat $s" >"$json/$name.txt"
done

python3 - "$json" "$work" <<'PY'
import os, sys
jdir, work = sys.argv[1], sys.argv[2]
order = ["tiny"] + sorted([n[:-4] for n in os.listdir(jdir) if n.startswith("grid")], key=lambda n: int(n[4:])) \
        + ["max_object", "vertices100k"]
cols = ["zorvex", "floor_fast", "floor_printf", "lib3ds", "assimp", "assimp_join", "assimp_export", "cat"]
print("medians in ms")
print("%-14s %9s " % ("scene", "bytes") + " ".join("%13s" % c for c in cols))
med = {}
for n in order:
    d = {k: float(v) for k, v in (line.split() for line in open(os.path.join(jdir, n + ".txt")))}
    med[n] = d
    print("%-14s %9d " % (n, os.path.getsize(os.path.join(work, n + ".3ds"))) + " ".join("%13.2f" % d[c] for c in cols))
print()
print("zorvex / other (below 1 is faster)")
print("%-14s " % "scene" + " ".join("%13s" % c for c in cols[1:]))
for n in order:
    d = med[n]
    print("%-14s " % n + " ".join("%13.2f" % (d["zorvex"] / d[c]) for c in cols[1:]))
print()
print("text written (bytes): zorvex's .m3d against the floor's lines (one per vertex and triangle)")
for n in order:
    m, f = (os.path.getsize(os.path.join(work, n + e)) for e in (".m3d", ".floor"))
    print("%-14s %9d %9d  (%.2f)" % (n, m, f, m / f))
print()
grids = [n for n in order if n.startswith("grid")]
print("doubling (grid faces -> zorvex time ratio)")
for a, b in zip(grids, grids[1:]):
    print("  %s -> %s: %.2fx" % (a, b, med[b]["zorvex"] / med[a]["zorvex"]))
PY
