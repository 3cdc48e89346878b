#!/bin/bash
# Converter benchmark: times zorvex against lib3ds, assimp, assimp export
# and two floors (reading the scene and printing its lines) on scenes from a
# single triangle up to the capacities, in one run, and prints the medians,
# the ratios and how zorvex grows when the scene doubles.
# Usage (as root on Debian): bash bench/run.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
need=()
for p in build-essential cmake lib3ds-dev libassimp-dev assimp-utils hyperfine python3; do
  dpkg -s "$p" >/dev/null 2>&1 || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${need[@]}"
fi

out=build-bench
cmake -S . -B $out -DCMAKE_BUILD_TYPE=Release -DVEXA_INSTALLER=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build $out -j2 --target zorvex >/dev/null
g++ -O2 -std=c++17 -Iconverter/tests bench/gen_scenes.cpp converter/tests/scene_builder.cpp -o $out/gen_scenes
gcc -O2 bench/lib3ds_load.c -o $out/lib3ds_load -l3ds
g++ -O2 bench/assimp_load.cpp -o $out/assimp_load -lassimp
gcc -O2 bench/floor.c -o $out/floor

work=$out/scenes
rm -rf $work && mkdir -p $work
$out/gen_scenes $work
zorvex=$PWD/$out/converter/zorvex
json=$out/json && mkdir -p $json

for s in $work/*.3ds; do
  name=$(basename "$s" .3ds)
  hyperfine -N --warmup 2 --runs "$runs" --export-json "$json/$name.json" \
    -n zorvex "$zorvex $s" \
    -n floor_fast "$out/floor fast $s $work/$name.floor" \
    -n floor_printf "$out/floor printf $s $work/$name.floor" \
    -n lib3ds "$out/lib3ds_load $s" \
    -n assimp "$out/assimp_load $s" \
    -n assimp_join "$out/assimp_load $s join" \
    -n assimp_export "assimp export $s $work/$name.obj" \
    -n cat "cat $s" >/dev/null
done

python3 - "$json" "$work" <<'PY'
import json, os, sys
jdir, work = sys.argv[1], sys.argv[2]
order = ["tiny"] + sorted([n[:-5] for n in os.listdir(jdir) if n.startswith("grid")], key=lambda n: int(n[4:])) \
        + ["max_object", "vertices100k"]
cols = ["zorvex", "floor_fast", "floor_printf", "lib3ds", "assimp", "assimp_join", "assimp_export", "cat"]
print("medians in ms")
print("%-14s %9s " % ("scene", "bytes") + " ".join("%13s" % c for c in cols))
med = {}
for n in order:
    d = {r["command"]: r["median"] * 1000 for r in json.load(open(os.path.join(jdir, n + ".json")))["results"]}
    med[n] = d
    print("%-14s %9d " % (n, os.path.getsize(os.path.join(work, n + ".3ds"))) + " ".join("%13.2f" % d[c] for c in cols))
print()
print("zorvex / other (below 1 is faster)")
print("%-14s " % "scene" + " ".join("%13s" % c for c in cols[1:]))
for n in order:
    d = med[n]
    print("%-14s " % n + " ".join("%13.2f" % (d["zorvex"] / d[c]) for c in cols[1:]))
print()
grids = [n for n in order if n.startswith("grid")]
print("doubling (grid faces -> zorvex time ratio)")
for a, b in zip(grids, grids[1:]):
    print("  %s -> %s: %.2fx" % (a, b, med[b]["zorvex"] / med[a]["zorvex"]))
PY
