#!/bin/bash
# Kills setup (kill -9) at random moments while it changes multi-megabyte
# files, and checks that each file is then exactly its old content or its
# new one: qolt.ini rewritten by ImportOldVexa (plug-ins merged, version
# lines replaced), qolt.ini made fresh by ImportOldVexa from a large pack
# list, qolt.ini extended by AddPartition, and the registry file written by
# SetUninstall. Afterwards a writer of the registry must leave no temporary
# file of a killed one behind.
#   run_kill_test.sh <setup> <work dir> [kills, default 50]
set -u
setup=$(realpath "$1")
work=$2
kills=${3:-50}
rm -rf "$work"
mkdir -p "$work"
work=$(realpath "$work")
failures=0

# ---- the scenarios: a folder each, with its script and its pristine files
make_qolt() {   # <file> <approximate bytes>: a qolt.ini of version, disk and plug-in lines
    awk -v size="$2" 'BEGIN {
        print "vexa 2.0"; print "update no"; n = 0
        while (n < size) { line = sprintf("disk ./Data/part%06d %d", NR + n, n % 9000); print line; n += length(line) + 1
                           if (n % 7 == 0) { print "plugin old" (n % 300) ".dll"; n += 20 } }
        print "plugin frelpdll.dll" }' > "$1"
}

scenario() {   # <name> <script body>
    mkdir -p "$work/$1/pristine"
    printf '[Setup]\n%s\n' "$2" > "$work/$1/pristine/setup.ini"
    cp "$setup" "$work/$1/pristine/setup"
}

# ImportOldVexa on an existing qolt.ini: one rename of the merged, rewritten file
scenario rewrite 'set SRCDIR "src"
set DSTDIR "dst"
ImportOldVexa "3.0" "auto"'
mkdir -p "$work/rewrite/pristine/src" "$work/rewrite/pristine/dst"
make_qolt "$work/rewrite/pristine/dst/qolt.ini" 3000000
printf 'vexa 3.0\nplugin new1.dll\nplugin old7.dll\nplugin frelpdll.dll\n' > "$work/rewrite/pristine/src/qolt.ini"

# ImportOldVexa without qolt.ini: the new release's file and a large pack list
scenario fresh 'set SRCDIR "src"
set DSTDIR "dst"
ImportOldVexa "3.0" "auto"'
mkdir -p "$work/fresh/pristine/src" "$work/fresh/pristine/dst"
make_qolt "$work/fresh/pristine/src/qolt.ini" 1000000
awk 'BEGIN { for (i = 0; i < 60000; i++) printf "\"C:\\Data Files\\part%06d\" %d\n", i, i % 500 }' \
    > "$work/fresh/pristine/dst/qoltpack.ini"

# AddPartition on a large qolt.ini
scenario partition 'set DSTDIR "dst"
AddPartition "E:\data"'
mkdir -p "$work/partition/pristine/dst"
make_qolt "$work/partition/pristine/dst/qolt.ini" 3000000

# SetUninstall on a large registry whose install marks are there already, so
# that the run writes the registry exactly once
scenario registry 'SetUninstall "Vexa 3D" "new command /UNINSTALL"'
awk 'BEGIN {
    print "Windows Registry Editor Version 5.00"; print ""
    print "[HKEY_LOCAL_MACHINE\\Software\\Maroveth]"; print "\"InstallFailled\"=\"1\""; print "\"Success\"=\"0\""; print ""
    print "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vexa 3D]"
    print "\"DisplayName\"=\"Vexa 3D\""; print "\"UninstallString\"=\"old command\""
    for (i = 0; i < 50000; i++) { print ""; printf "[HKEY_CURRENT_USER\\Software\\Filler\\Key%06d]\n\"Value\"=\"%d\"\n", i, i } }' \
    > "$work/registry/pristine/registry.reg"

# the file each scenario changes
target_of() {
    case $1 in
        registry) echo registry.reg ;;
        *) echo dst/qolt.ini ;;
    esac
}

restore() {   # <scenario>: the run folder as the pristine one
    rm -rf "$work/$1/run"
    cp -r "$work/$1/pristine" "$work/$1/run"
}

run_setup() {   # <scenario>: starts setup in the background in its run folder, as process group $pid
    local dir=$work/$1/run reg=$work/$1/run/registry.reg
    (cd "$dir" && SETUP_REGISTRY="$reg" exec setsid ./setup /SILENT >/dev/null 2>>"$work/$1/stderr.log" </dev/null) &
    pid=$!
}

# a state of the file: its content, or "missing"
state() { [ -e "$1" ] && cat "$1" || echo "missing"; }

scenarios=(rewrite fresh partition registry)
declare -A duration_ms
for s in "${scenarios[@]}"; do
    restore "$s"
    t=$(target_of "$s")
    state "$work/$s/run/$t" > "$work/$s/old"
    start=$(date +%s%N)
    run_setup "$s"
    wait "$pid"
    rc=$?
    duration_ms[$s]=$(( ($(date +%s%N) - start) / 1000000 ))
    state "$work/$s/run/$t" > "$work/$s/new"
    if [ "$rc" != 0 ] || cmp -s "$work/$s/old" "$work/$s/new"; then
        echo "FAIL $s: an uninterrupted run (exit status $rc) did not change $t"
        cat "$work/$s/stderr.log"
        failures=$((failures + 1))
    fi
done
[ "$failures" = 0 ] || exit 1

declare -A seen_old seen_new
for ((k = 0; k < kills; k++)); do
    s=${scenarios[$((k % ${#scenarios[@]}))]}
    t=$(target_of "$s")
    restore "$s"
    # a moment of the run, mostly after its start-up: from a fifth of an
    # uninterrupted run's time to a little after its end
    d=${duration_ms[$s]}
    delay_ms=$((d / 5 + RANDOM % (d - d / 5 + d / 10 + 1)))
    run_setup "$s"
    sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
    kill -9 -- "-$pid" 2>/dev/null || kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    state "$work/$s/run/$t" > "$work/$s/got"
    if cmp -s "$work/$s/got" "$work/$s/old"; then
        seen_old[$s]=$((${seen_old[$s]:-0} + 1))
    elif cmp -s "$work/$s/got" "$work/$s/new"; then
        seen_new[$s]=$((${seen_new[$s]:-0} + 1))
    else
        echo "FAIL $s: killed after ${delay_ms} ms, $t is neither the old nor the new content" \
             "($(wc -c < "$work/$s/got") bytes; old $(wc -c < "$work/$s/old"), new $(wc -c < "$work/$s/new"))"
        failures=$((failures + 1))
    fi
done

# a writer cleans up after the killed ones: no temporary file of the registry stays
s=registry
run_setup "$s"
wait "$pid"
left=$(find "$work/$s/run" -maxdepth 1 -name 'registry.reg.??????' | wc -l)
if [ "$left" != 0 ]; then
    echo "FAIL registry: $left temporary files of killed writers are left"
    failures=$((failures + 1))
fi

for s in "${scenarios[@]}"; do
    echo "$s: a run takes ${duration_ms[$s]} ms; after the kills the file was old ${seen_old[$s]:-0} times, new ${seen_new[$s]:-0} times"
done
if [ "$failures" = 0 ]; then
    echo "$kills kills: every file was its old or its new content"
    rm -rf "$work"
    exit 0
fi
echo "$failures of $kills kills left a file torn"
exit 1
