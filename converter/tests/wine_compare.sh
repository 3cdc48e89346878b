#!/bin/bash
# Runs the native zorvex and zorvex.exe under Wine on the same end-to-end
# scenes and checks that console output, exit status, .m3d and .box files
# are equal, line ends aside.
# Usage: wine_compare.sh <zorvex> <zorvex.exe> <make_fixtures> [work dir]
# The work dir (emptied first) must be on a drive of the Wine prefix; the
# default is a new temporary folder.
set -euo pipefail
native=$(realpath "$1") windows=$(realpath "$2") fixtures=$(realpath "$3")
if [ $# -ge 4 ]; then
  rm -rf "$4" && mkdir -p "$4"
  work=$(realpath "$4")
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi
"$fixtures" "$work/native"
"$fixtures" "$work/wine"
scenes=(vexa/demo/house.prj plain/tri.3ds plain/unknown-material.3ds plain/small-units.3ds
        damaged/cut.3ds damaged/zero.3ds damaged/nested.3ds damaged/empty.3ds damaged/text.3ds
        big/grid.3ds missing/none.3ds)
# real scenes from Debian's assimp-testmodels, when installed
for f in /usr/share/assimp/models/3DS/*.[3][dD][sS]; do
  [ -e "$f" ] || continue
  for side in native wine; do mkdir -p "$work/$side/real" && cp "$f" "$work/$side/real/"; done
  scenes+=("real/$(basename "$f")")
done
failed=0 passed=0
strip_cr() { tr -d '\r' <"$1"; }
for scene in "${scenes[@]}"; do
  set +e
  (cd "$work/native" && "$native" "$scene" >"$work/native.out")
  native_status=$?
  (cd "$work/wine" && wine "$windows" "$scene" >"$work/wine.out" 2>/dev/null)
  wine_status=$?
  set -e
  base=${scene%.*}
  ok=1
  [ "$native_status" = "$wine_status" ] || { echo "$scene: exit status $native_status natively, $wine_status under Wine"; ok=0; }
  # every run prints at least the banner
  [ -s "$work/native.out" ] && [ -s "$work/wine.out" ] || { echo "$scene: no console output"; ok=0; }
  cmp -s <(strip_cr "$work/native.out") <(strip_cr "$work/wine.out") ||
    { echo "$scene: console output differs"; diff <(strip_cr "$work/native.out") <(strip_cr "$work/wine.out") | head -20; ok=0; }
  for ext in m3d box; do
    a="$work/native/$base.$ext" b="$work/wine/$base.$ext"
    if [ -e "$a" ] || [ -e "$b" ]; then
      if [ ! -e "$a" ] || [ ! -e "$b" ] || ! cmp -s <(strip_cr "$a") <(strip_cr "$b"); then
        echo "$scene: .$ext differs"; ok=0
      fi
    fi
  done
  if [ $ok = 1 ]; then passed=$((passed + 1)); echo "ok   $scene"; else failed=$((failed + 1)); echo "FAIL $scene"; fi
done
echo "zorvex under Wine: $passed passed, $failed failed"
[ $failed = 0 ]
