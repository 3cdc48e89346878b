#!/bin/bash
# Runs the bundled example installer unattended and checks what it did.
#   run_example.sh <setup> <examples/installer dir> <work dir>
set -u
setup=$1
example=$(cd "$2" && pwd)
work=$3
rm -rf "$work"; mkdir -p "$work"
cp "$setup" "$work/setup"
printf 'msgbox yes\nmsgbox ok\n' > "$work/answers"
(cd "$work" && env -u LC_ALL -u LC_MESSAGES LANG=fr_FR.UTF-8 TMPDIR="$work" SETUP_REGISTRY="$work/registry.reg" \
    SETUP_ANSWERS="$work/answers" timeout 60 setsid -w ./setup "$example" >"$work/stdout.log" 2>&1 </dev/null)
rc=$?
fail=0
[ $rc = 0 ] || { echo "exit status $rc"; fail=1; }
grep -q "^0002-0004-0001$" "$work/vexa-setup.log" 2>/dev/null || { echo "the log lacks the runtime version"; fail=1; }
grep -qF "Bienvenue dans l'installation de Vexa 3D." "$work/stdout.log" || { echo "no French welcome message"; fail=1; }
grep -qF "L'installation de Vexa 3D est termin" "$work/stdout.log" || { echo "no progress text"; fail=1; }
[ $fail = 0 ] || { echo "--- output"; cat "$work/stdout.log"; exit 1; }
echo "example installer ran"
