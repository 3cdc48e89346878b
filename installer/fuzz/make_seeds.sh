#!/bin/bash
# Writes the seed inputs of the installer's fuzz targets from the script test
# folders and the example installer.
#   make_seeds.sh <corpus dir>     (makes <dir>/script, <dir>/config and <dir>/registry)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$1
mkdir -p "$out/script" "$out/config" "$out/registry"
cut=$'\n==8<==\n'
n=0
for dir in "$here"/../tests/scripts/*/ "$here"/../../examples/installer/; do
    [ -f "$dir/setup.ini" ] || continue
    lang=$(ls "$dir"/setup.*.txt 2>/dev/null | head -1 || true)
    n=$((n + 1))
    {
        cat "$dir/setup.ini"; printf '%s' "$cut"
        [ -n "$lang" ] && cat "$lang"; printf '%s' "$cut"
        [ -f "$dir/answers" ] && cat "$dir/answers"; printf '%s' "$cut"
        grep -o '"/[A-Za-z]*"' "$dir/case.conf" 2>/dev/null | head -1 | tr -d '"' || true
    } > "$out/script/seed$n"
    for f in "$dir"/qolt.ini "$dir"/*/qolt.ini "$dir"/*/qoltpack.ini; do
        [ -f "$f" ] || continue
        n=$((n + 1))
        { cat "$f"; printf '%s' "$cut"; cat "$f"; printf '%s' "$cut"; echo "plugin frelpdll.dll"; } > "$out/config/seed$n"
    done
done
printf 'vexa 1\nupdate 2.0\nplugin a-1.dll\n%splugin a-2.dll\nplugin b.dll\n%supdate 1 2 3\n' "$cut" "$cut" > "$out/config/handmade"
# registry files: what the script tests preset, and a few of every form the file takes
header='Windows Registry Editor Version 5.00'
for f in "$here"/../tests/scripts/*/preset.reg; do
    n=$((n + 1))
    { echo "$header"; echo; grep -v '^Windows Registry Editor' "$f"; } > "$out/registry/seed$n"
done
cp "$here/seeds/"*.reg "$out/registry/"
echo "seeds: $(ls "$out/script" | wc -l) scripts, $(ls "$out/config" | wc -l) configuration files, $(ls "$out/registry" | wc -l) registry files"
