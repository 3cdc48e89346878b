#!/bin/bash
# Runs every script test folder under scripts/ with a setup binary.
#   run_script_tests.sh native <setup>     <work dir>
#   run_script_tests.sh wine   <setup.exe> <work dir>   (Wine set up by the caller: wine_use)
# A folder holds setup.ini, its language files and data, and case.conf
# (bash: args (an array), empty_dirs (an array), status, lang, reg_expect, native_only, wine_only,
# exe_dir, wine_drive: a drive letter whose root is the run folder under Wine,
# envs (an array of NAME=value given to setup), runs (setup runs in a row in
# the same folder and registry; status is that of the last), scratch_keys
# (registry keys deleted before and after the run under Wine), present and
# absent (paths that must or must not exist afterwards), a function
# prepare, called in the run folder before the first run, and a function
# verify, called there after the last run: each line it prints is a problem).
# Both functions may use $helpers (the test programs and libraries built with
# setup's own toolchain), $native_helpers (those of the native build, which
# run on this machine in both modes) and $mode.
# Native runs keep the user's menus, desktop and fonts out of reach:
# XDG_DATA_HOME, XDG_CONFIG_HOME, XDG_CACHE_HOME and XDG_DESKTOP_DIR name
# folders below xdg/ in the run folder.
# Files under expect/ must equal the file of the same path in the run folder
# afterwards (line ends aside).
# expected.txt is compared with the out.txt the script writes with AppendFile;
# preset.reg (values only) is put in the registry before the run; answers,
# when present, answers the message boxes; stdout.expected lists lines that the
# native run must print. @RUNDIR@, @PROGRAMFILES@ and @SEP@ stand for the run
# folder, the registry's program-files directory and the path separator of the
# platform's own form.
set -u
mode=$1
setup=$2
work=$3
here=$(cd "$(dirname "$0")" && pwd)
only=${4:-}
helpers=$(cd "$(dirname "$setup")" && pwd)/tests
native_helpers=${SETUP_NATIVE_HELPERS:-$helpers}
mkdir -p "$work"
failures=0
count=0

# reg.exe with the registry view setup.exe sees (the 32-bit view for the
# 32-bit build)
reg_exe=${WINE_REG_EXE:-'C:\windows\syswow64\reg.exe'}

# Escapes a text for the replacement side of sed s|||.
sed_escape() {
    local v=${1//\\/\\\\}
    v=${v//|/\\|}
    printf '%s' "${v//&/\\&}"
}

# reg_get KEY NAME: prints the value, or <absent>.
reg_get() {
    local key=$1 name=$2
    if [ "$mode" = wine ]; then
        local out
        local vflag=(/v "$name")
        # the default value is listed as (Default)
        [ "$name" = "@" ] && { vflag=(/ve); name="(Default)"; }
        if ! out=$(wine "$reg_exe" query "$key" "${vflag[@]}" 2>/dev/null | tr -d '\r'); then
            echo "<absent>"; return
        fi
        printf '%s\n' "$out" | awk -v n="$name" '
            BEGIN { IGNORECASE = 1 }
            { line = $0; sub(/^    /, "", line)
              if (tolower(substr(line, 1, length(n) + 4)) == tolower(n "    ")) {
                  rest = substr(line, length(n) + 5); sub(/^REG_[A-Z_]+    /, "", rest); sub(/^REG_[A-Z_]+$/, "", rest); print rest; found = 1; exit } }
            END { if (!found) print "<absent>" }'
    else
        local file=$REGFILE
        [ -f "$file" ] || { echo "<absent>"; return; }
        # names reach awk through the environment: -v would read \v in a key as an escape
        K=$key N=$name awk '
            BEGIN { k = ENVIRON["K"]; n = ENVIRON["N"] }
            function unq(s) { s = substr(s, 2, length(s) - 2); gsub(/\\\\/, "\001", s); gsub(/\\"/, "\"", s); gsub(/\001/, "\\", s); return s }
            { sub(/\r$/, "") }
            /^\[/ { inkey = (tolower($0) == tolower("[" k "]")); next }
            inkey {
                want = (n == "@") ? "@=" : "\"" n "\"="
                if (tolower(substr($0, 1, length(want))) == tolower(want)) { v = substr($0, length(want) + 1); if (v ~ /^"/) { print unq(v); found = 1; exit } }
            }
            END { if (!found) print "<absent>" }' "$file"
    fi
}

# preset_values FILE: prints key|name|value lines of a .reg fragment (value "-" deletes).
preset_values() {
    awk '
        function unq(s) { s = substr(s, 2, length(s) - 2); gsub(/\\\\/, "\001", s); gsub(/\\"/, "\"", s); gsub(/\001/, "\\", s); return s }
        { sub(/\r$/, "") }
        /^\[/ { key = substr($0, 2, length($0) - 2); next }
        /^@=/ { v = substr($0, 3); print key "|@|" (v == "-" ? "-" : unq(v)); next }
        /^"/ { i = index($0, "\"="); name = substr($0, 2, i - 2); v = substr($0, i + 2); print key "|" name "|" (v == "-" ? "-" : unq(v)) }' "$1"
}

wine_reg_set() {   # key name value ("-" deletes, "<absent>" deletes)
    local key=$1 name=$2 value=$3
    local vflag=(/v "$name"); [ "$name" = "@" ] && vflag=(/ve)
    if [ "$value" = "-" ] || [ "$value" = "<absent>" ]; then
        wine "$reg_exe" delete "$key" "${vflag[@]}" /f >/dev/null 2>&1
    else
        wine "$reg_exe" add "$key" "${vflag[@]}" /t REG_SZ /d "$value" /f >/dev/null 2>&1
    fi
}

for dir in "$here"/scripts/*/; do
    name=$(basename "$dir")
    [ -n "$only" ] && [ "$name" != "$only" ] && continue
    args=(); status=0; lang="en_US.UTF-8"; reg_expect=(); native_only=0; wine_only=0; exe_dir=""; wine_drive=""; empty_dirs=()
    envs=(); runs=1; scratch_keys=(); present=(); absent=()
    unset -f prepare verify
    # shellcheck disable=SC1091
    . "$dir/case.conf"
    [ "$mode" = wine ] && [ "$native_only" = 1 ] && continue
    [ "$mode" = native ] && [ "$wine_only" = 1 ] && continue
    count=$((count + 1))
    run="$work/$name"
    rm -rf "$run"
    mkdir -p "$run"
    cp -r "$dir"/. "$run"/
    rm -f "$run/case.conf" "$run/expected.txt" "$run/stdout.expected"
    # git keeps no empty directories: case.conf names those a test needs
    for d in "${empty_dirs[@]}"; do mkdir -p "$run/$d"; done
    rm -rf "$run/expect"
    prepared=1
    if declare -F prepare >/dev/null; then
        (cd "$run" && prepare) || prepared=0
    fi
    exe_at="$run${exe_dir:+/$exe_dir}"
    mkdir -p "$exe_at"
    if [ "$mode" = wine ] && [ -n "$wine_drive" ]; then
        # the run folder as the root of a drive of its own
        cp "$setup" "$exe_at/setup.exe"
        ln -sfn "$run" "$WINEPREFIX/dosdevices/$wine_drive:"
        rundir="${wine_drive^^}:"
        exe="$wine_drive:\\setup.exe"
    elif [ "$mode" = wine ]; then
        cp "$setup" "$exe_at/setup.exe"
        rundir=$(winepath -w "$run" 2>/dev/null)
        exe="$exe_at/setup.exe"
    else
        cp "$setup" "$exe_at/setup"
        rundir=$run
        exe="$exe_at/setup"
    fi
    rundir_reg=${rundir//\\/\\\\}
    REGFILE="$run/registry.reg"
    restore=()
    if [ "$mode" = wine ]; then
        wine "$reg_exe" delete 'HKEY_LOCAL_MACHINE\Software\Maroveth' /f >/dev/null 2>&1
        for k in "${scratch_keys[@]}"; do wine "$reg_exe" delete "$k" /f >/dev/null 2>&1; done
    else
        rm -f "$REGFILE"
    fi
    if [ -f "$run/preset.reg" ]; then
        sed -i "s|@RUNDIR@|$(sed_escape "$rundir_reg")|g" "$run/preset.reg"
        if [ "$mode" = wine ]; then
            while IFS='|' read -r k n v; do
                restore+=("$k|$n|$(reg_get "$k" "$n")")
                wine_reg_set "$k" "$n" "$v"
            done < <(preset_values "$run/preset.reg")
        else
            home=${HOME:-}
            pf=/opt; [ "$(id -u)" != 0 ] && pf="$home/.local/opt"
            { printf 'Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\n"ProgramFilesDir"="%s"\n\n' "$pf"
              grep -v '^Windows Registry Editor' "$run/preset.reg"; } > "$REGFILE"
        fi
    fi
    programfiles=$(reg_get 'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion' ProgramFilesDir)
    [ "$mode" = native ] && [ ! -f "$REGFILE" ] && programfiles=$([ "$(id -u)" = 0 ] && echo /opt || echo "$HOME/.local/opt")
    sep=/; [ "$mode" = wine ] && sep='\'
    argv=()
    for a in "${args[@]}"; do
        a=${a//@RUNDIR@/$rundir}
        argv+=("${a//@SEP@/$sep}")
    done
    answers_env=()
    [ -f "$run/answers" ] && answers_env=(SETUP_ANSWERS="$run/answers")
    for e in "${envs[@]}"; do
        e=${e//@RUNDIR@/$rundir}
        answers_env+=("${e//@SEP@/$sep}")
    done
    for ((r = 1; r <= runs; r++)); do
    if [ "$mode" = wine ]; then
        (cd "$run" && env -u LC_ALL -u LC_MESSAGES LANG="$lang" "${answers_env[@]}" \
            timeout 60 wine "$exe" "${argv[@]}" >>"$run/stdout.log" 2>>"$run/stderr.log" </dev/null)
        got=$?
    else
        (cd "$run" && env -u LC_ALL -u LC_MESSAGES LANG="$lang" SETUP_REGISTRY="$REGFILE" \
            XDG_DATA_HOME="$run/xdg/data" XDG_CONFIG_HOME="$run/xdg/config" XDG_CACHE_HOME="$run/xdg/cache" \
            XDG_DESKTOP_DIR="$run/xdg/desktop" "${answers_env[@]}" \
            timeout 60 setsid -w "$exe" "${argv[@]}" >>"$run/stdout.log" 2>>"$run/stderr.log" </dev/null)
        got=$?
    fi
    done
    problems=()
    [ "$prepared" = 1 ] || problems+=("its prepare step failed")
    if declare -F verify >/dev/null; then
        while IFS= read -r p; do problems+=("$p"); done < <(cd "$run" && verify 2>&1 || echo "its verify step failed")
    fi
    want=$status
    [ "$want" -lt 0 ] && want=$((want + 256))
    [ "$got" = "$want" ] || problems+=("exit status $got, expected $want")
    if [ -f "$dir/expected.txt" ]; then
        out="$run/out.txt"
        [ -f "$out" ] || out=/dev/null
        if ! diff <(sed -e "s|@RUNDIR@|$(sed_escape "$rundir")|g" -e "s|@PROGRAMFILES@|$(sed_escape "$programfiles")|g" \
                       -e "s|@SEP@|$(sed_escape "$sep")|g" "$dir/expected.txt") \
                  <(tr -d '\r' < "$out") > "$run/out.diff"; then
            problems+=("out.txt differs: $(head -c 1500 "$run/out.diff")")
        fi
    fi
    if [ "$mode" = native ] && [ -f "$dir/stdout.expected" ]; then
        while IFS= read -r line; do
            grep -qF -- "$line" "$run/stdout.log" || problems+=("stdout lacks: $line")
        done < "$dir/stdout.expected"
    fi
    if [ -d "$dir/expect" ]; then
        while IFS= read -r -d '' f; do
            rel=${f#"$dir/expect/"}
            # the file's name ignoring case, as setup looks names up
            if [ ! -f "$run/$rel" ]; then
                found=$(find "$run/$(dirname "$rel")" -maxdepth 1 -type f -iname "$(basename "$rel")" 2>/dev/null | head -1)
                [ -n "$found" ] && rel=${found#"$run/"}
            fi
            if [ ! -f "$run/$rel" ]; then
                problems+=("$rel is missing")
            elif ! diff <(cat "$f") <(tr -d '\r' < "$run/$rel") > "$run/file.diff"; then
                problems+=("$rel differs: $(head -c 1500 "$run/file.diff")")
            fi
        done < <(find "$dir/expect" -type f -print0)
    fi
    for p in "${present[@]}"; do [ -e "$run/$p" ] || [ -L "$run/$p" ] || problems+=("$p should exist"); done
    for p in "${absent[@]}"; do { [ -e "$run/$p" ] || [ -L "$run/$p" ]; } && problems+=("$p should not exist"); done
    for e in "${reg_expect[@]}"; do
        IFS='|' read -r k n v <<<"$e"
        actual=$(reg_get "$k" "$n")
        [ "$actual" = "$v" ] || problems+=("registry $k $n = '$actual', expected '$v'")
    done
    [ -n "$wine_drive" ] && rm -f "$WINEPREFIX/dosdevices/$wine_drive:"
    if [ "$mode" = wine ]; then
        for k in "${scratch_keys[@]}"; do wine "$reg_exe" delete "$k" /f >/dev/null 2>&1; done
    fi
    if [ "$mode" = wine ]; then
        for r in "${restore[@]}"; do
            IFS='|' read -r k n v <<<"$r"
            wine_reg_set "$k" "$n" "$v"
        done
    fi
    if [ ${#problems[@]} -eq 0 ]; then
        echo "ok   $name"
    else
        failures=$((failures + 1))
        echo "FAIL $name"
        for p in "${problems[@]}"; do echo "     $p"; done
        echo "     --- stdout"; head -40 "$run/stdout.log" | sed 's/^/     /'
        echo "     --- stderr"; head -20 "$run/stderr.log" | sed 's/^/     /'
    fi
done
echo "$((count - failures)) of $count script tests passed ($mode)"
[ "$count" -gt 0 ] && [ "$failures" -eq 0 ]
