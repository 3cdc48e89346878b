#!/bin/bash
# Answers setup's message boxes on a terminal (a pseudo-terminal made by
# script(1)), as a person would: a wrong word is asked again, Enter takes the
# first button.
#   run_terminal_test.sh <setup> <work dir>
set -u
setup=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"; mkdir -p "$work"
cp "$setup" "$here/real_boxes/setup.ini" "$work"/
command -v script >/dev/null || { echo "script(1) is needed for this test"; exit 1; }
# Yes/No box: "maybe" (asked again), then "n"; OK/Cancel box: Enter
printf 'maybe\nn\n\n' | (cd "$work" && SETUP_REGISTRY="$work/registry.reg" timeout 30 \
    script -qec "./setup" /dev/null > "$work/terminal.log" 2>&1)
rc=$?
got=$(tr -d '\r' < "$work/out.txt" 2>/dev/null | paste -sd, -)
prompts=$(grep -o '\[Y\]es / \[N\]o' "$work/terminal.log" | wc -l)
if [ $rc = 0 ] && [ "$got" = "no pressed,ok pressed" ] && [ "$prompts" = 2 ]; then
    echo "terminal answers: $got"
    exit 0
fi
echo "exit status $rc, out.txt '$got', Yes/No prompts $prompts (expected 0, 'no pressed,ok pressed', 2)"
cat "$work/terminal.log"
exit 1
