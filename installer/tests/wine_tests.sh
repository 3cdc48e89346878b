#!/bin/bash
# Runs the Windows build of setup under Wine, headless: the unit tests and the
# same script tests as the native run, registry results read back with reg.exe.
#   wine_tests.sh <native build dir> <windows build dir>
# The Wine prefix is <windows build dir>/wineprefix (scripts/wine-env.sh).
set -u
if [ "${1:-}" != --inside ]; then
    [ $# -ge 2 ] || { echo "usage: $0 <native build dir> <windows build dir>" >&2; exit 2; }
    win=$(cd "$2" && pwd)
    # programs of the native build that script tests start on this machine
    SETUP_NATIVE_HELPERS=$(cd "$1" && pwd)/installer/tests
    export SETUP_NATIVE_HELPERS
    . "$(dirname "$0")/../../scripts/wine-env.sh"
    wine_use "$win"
    # A virtual desktop: without a window manager every window shown on the
    # bare X server costs Wine about half a second.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1
    wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
    # Wine takes the user's language from the C library locale: build the few
    # locales the language tests use (needs the locale sources of the Debian
    # package "locales").
    export LOCPATH=$win/installer-locales
    mkdir -p "$LOCPATH"
    for l in fr_FR ca_ES zh_TW zh_HK de_DE en_US; do
        [ -d "$LOCPATH/$l.UTF-8" ] && continue
        localedef -i "$l" -f UTF-8 "$LOCPATH/$l.UTF-8" >/dev/null 2>&1 ||
            echo "warning: cannot build the $l.UTF-8 locale (install the Debian package locales); language tests will fail" >&2
    done
    # a screen larger than the virtual desktop, in true colour for the screenshots
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$win"
fi
win=$2
here=$(cd "$(dirname "$0")" && pwd)
cd "$win"   # the prefix's drives reach nothing outside the build folder
status=0
wineserver -p 2>/dev/null   # keep one server for the whole run
wineboot >/dev/null 2>&1 || true

for t in installer_tests installer_platform_tests; do
    echo "-- $t (setup.exe build)"
    timeout 300 wine "$win/installer/tests/$t.exe" --gtest_brief=1 2>&1 | tr -d '\r' | tail -n 30
    if [ "${PIPESTATUS[0]}" != 0 ]; then
        echo "$t failed under Wine"
        status=1
    fi
done

echo "-- installer script tests under Wine"
bash "$here/run_script_tests.sh" wine "$win/installer/setup.exe" "$win/installer-wine-runs" || status=1

echo "-- setupcheck.exe on the faulty scripts, the script test folders and the example"
bash "$here/run_check_tests.sh" wine "$win/installer/setupcheck.exe" "$win/installer-wine-runs/check" \
     "$here/../../examples/installer" || status=1

echo "-- the example installer under Wine: install, install again, uninstall, silent install and uninstall, the runtime alone"
bash "$here/run_example.sh" wine "$win/installer/setup.exe" "$here/../../examples/installer" \
     "$win/installer-wine-runs/example" || status=1

echo "-- real message boxes driven with xdotool"
# keys: the keys pressed, one per box; then the expected out.txt lines
press_keys() {
    local keys=$1 expected=$2 run=$win/installer-wine-runs/real_boxes
    rm -rf "$run"; mkdir -p "$run"
    cp "$here/real_boxes/setup.ini" "$win/installer/setup.exe" "$run"/
    (cd "$run" && exec wine ./setup.exe </dev/null >/dev/null 2>&1) &
    local pid=$! desktop="" i
    for i in $(seq 1 100); do
        desktop=$(xdotool search --name "Wine desktop" 2>/dev/null | head -1)
        [ -n "$desktop" ] && break
        sleep 0.1
    done
    for key in $keys; do
        sleep 2   # the box is up well before this
        xdotool mousemove --window "$desktop" 300 200 key --clearmodifiers "$key" 2>/dev/null
    done
    for i in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
    if kill -0 $pid 2>/dev/null; then
        kill $pid; wait $pid
        echo "FAIL real boxes ($keys): setup.exe still waiting"; status=1; return
    fi
    wait $pid
    local got
    got=$(tr -d '\r' < "$run/out.txt" 2>/dev/null | paste -sd, -)
    if [ "$got" = "$expected" ]; then
        echo "ok   real boxes: $keys -> $got"
    else
        echo "FAIL real boxes: $keys -> '$got', expected '$expected'"; status=1
    fi
}
press_keys "n Escape" "no pressed,cancel pressed"
press_keys "Return Return" "yes pressed,ok pressed"

echo "-- real dialogs driven with xdotool (screenshots in $win/dialog-screenshots)"
bash "$here/real_dialogs.sh" "$win" || status=1

echo "-- the Windows frame seen from another program"
probe_run=$win/installer-wine-runs/frame_probe
rm -rf "$probe_run"; mkdir -p "$probe_run"
cp "$here/frame_probe/setup.ini" "$win/installer/setup.exe" "$probe_run"/
(cd "$probe_run" && exec timeout 60 wine ./setup.exe </dev/null >/dev/null 2>&1) &
setup_pid=$!
timeout 60 wine "$win/installer/tests/frame_probe.exe" 2>&1 | tr -d '\r'
probe_status=${PIPESTATUS[0]}
wait $setup_pid
setup_status=$?
if [ "$probe_status" = 0 ] && [ "$setup_status" = 0 ] && [ "$(tr -d '\r' < "$probe_run/out.txt" 2>/dev/null)" = done ]; then
    echo "ok   frame probe"
else
    echo "FAIL frame probe (probe $probe_status, setup $setup_status)"; status=1
fi

wineserver -k 2>/dev/null
exit $status
