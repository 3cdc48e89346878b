#!/bin/bash
# Runs the Windows build of setup under Wine, headless: the unit tests and the
# same script tests as the native run, registry results read back with reg.exe.
#   wine_tests.sh <native build dir> <windows build dir>
# WINEPREFIX defaults to <windows build dir>/wineprefix.
set -u
if [ "${1:-}" != --inside ]; then
    [ $# -ge 2 ] || { echo "usage: $0 <native build dir> <windows build dir>" >&2; exit 2; }
    win=$(cd "$2" && pwd)
    export WINEPREFIX=${WINEPREFIX:-$win/wineprefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir -p "$WINEPREFIX"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i >/dev/null 2>&1 || true
    fi
    exec xvfb-run -a bash "$0" --inside "$win"
fi
win=$2
here=$(cd "$(dirname "$0")" && pwd)
status=0
wineserver -p 2>/dev/null   # keep one server for the whole run
wineboot >/dev/null 2>&1 || true

echo "-- installer unit tests (setup.exe build)"
timeout 300 wine "$win/installer/tests/installer_tests.exe" --gtest_brief=1 2>&1 | tr -d '\r' | tail -n 30
if [ "${PIPESTATUS[0]}" != 0 ]; then
    echo "installer unit tests failed under Wine"
    status=1
fi

echo "-- installer script tests under Wine"
bash "$here/run_script_tests.sh" wine "$win/installer/setup.exe" "$win/installer-wine-runs" || status=1

wineserver -k 2>/dev/null
exit $status
