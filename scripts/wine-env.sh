# Sourced by the test scripts that run the Windows builds under Wine.
#
# wine_choose_build <source root>
#   Sets WINE_BITS, WINE_TOOLCHAIN and WINE_BUILD (the Windows build folder).
#   The programs ship as 32-bit Windows programs, and they are tested as such
#   wherever the kernel runs 32-bit code. Some virtual machines' kernels run
#   none (Wine's 32-bit loader then fails with "Exec format error"); there the
#   same sources are cross-built for 64-bit Windows and run under wine64, so
#   the Windows code is still exercised, and the script says so.
#
# wine_use <Windows build folder>
#   Exports WINEPREFIX (a private prefix inside the build folder), WINEDEBUG,
#   WINEDLLOVERRIDES, WINE_REG_EXE (reg.exe with the registry view the
#   programs under test see) and, for 64-bit runs, puts a `wine` that starts
#   wine64 first on PATH. Creates the prefix when it is missing and confines
#   it: its Z: drive is the build folder instead of the machine's root, so a
#   program under test that deletes "\*.*" of its drive can reach nothing
#   beyond the build folder. Everything the Wine runs touch lives there: the
#   prefix's Desktop, Documents... are folders of its own, never links into
#   the user's home, and Wine's menu builder is off, so shortcuts made under
#   test never reach the user's desktop or menus.

wine_runs_32bit() {
    [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

wine_choose_build() {
    local root=$1
    if wine_runs_32bit; then
        WINE_BITS=32 WINE_TOOLCHAIN=$root/cmake/mingw-i686.cmake WINE_BUILD=$root/build-win
    else
        WINE_BITS=64 WINE_TOOLCHAIN=$root/cmake/mingw-x86_64.cmake WINE_BUILD=$root/build-win64
        echo "note: this machine's kernel runs no 32-bit programs (Wine's 32-bit loader fails);" \
             "the Windows build is tested as a 64-bit build under wine64 instead" >&2
    fi
}

wine_use() {
    local build
    build=$(cd "$1" && pwd)
    export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    if grep -q 'mingw-x86_64' "$build/CMakeCache.txt" 2>/dev/null; then
        local shim=$build/wine-shim
        mkdir -p "$shim"
        for n in wine wine-stable; do   # wine-stable: what wineboot, winepath... start
            printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' > "$shim/$n"
            chmod +x "$shim/$n"
        done
        case ":$PATH:" in *":$shim:"*) ;; *) export PATH=$shim:$PATH ;; esac
        export WINE_REG_EXE='C:\windows\system32\reg.exe'
    else
        export WINE_REG_EXE='C:\windows\syswow64\reg.exe'   # the 32-bit view
    fi
    mkdir -p "$WINEPREFIX"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w 2>/dev/null || true
    fi
    local d
    for d in "$WINEPREFIX"/dosdevices/?:; do   # no other drive may be the machine's root
        [ "$(readlink "$d")" = / ] && rm -f "$d"
    done
    ln -sfn "$build" "$WINEPREFIX/dosdevices/z:"
    for d in "$WINEPREFIX"/drive_c/users/*/*; do   # a shell folder linked to the user's own
        if [ -L "$d" ]; then rm -f "$d" && mkdir -p "$d"; fi
    done
}
