#!/bin/bash
# Runs setupcheck on every folder of scripts the tests hold:
#   run_check_tests.sh native <setupcheck>     <work dir> [example dir [example-only]]
#   run_check_tests.sh wine   <setupcheck.exe> <work dir> [example dir [example-only]]
# (under Wine, set up by the caller: wine_use)
# - each folder under check/ holds faulty scripts and expected.txt, the whole
#   output setupcheck must print there (line ends aside); the exit status is 1
#   when it lists an error, else 0;
# - each folder under scripts/ must pass with nothing to say, unless it is
#   faulty on purpose: then its case.conf lists every line setupcheck must
#   print in check_expect (an array; the summary line aside);
# - the example installer, when given, must pass with nothing to say.
# Folders are copied into the work dir first (Wine sees nothing else), and
# setupcheck runs in each with no argument, so names print bare.
set -u
mode=$1
check=$2
work=$3
example=${4:-}
only_example=${5:-}
here=$(cd "$(dirname "$0")" && pwd)
# setupcheck runs inside each folder: both paths are made absolute
check=$(cd "$(dirname "$check")" && pwd)/$(basename "$check")
rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
failures=0
count=0

# run_in DIR: setupcheck's output in DIR (line ends aside) to DIR.out, its
# status to $status (standard error, where Wine may speak too, to DIR.err).
run_in() {
    if [ "$mode" = wine ]; then
        (cd "$1" && timeout 60 wine "$check" </dev/null 2>"$1.err" | tr -d '\r' >"$1.out"; exit "${PIPESTATUS[0]}")
    else
        (cd "$1" && timeout 60 "$check" </dev/null >"$1.out" 2>"$1.err")
    fi
    status=$?
}

# verdict NAME DIR EXPECTED_FILE: compares the output and the status.
verdict() {
    local name=$1 dir=$2 expected=$3 want=0 problems=()
    grep -q ': error: ' "$expected" && want=1
    grep -q '^setupcheck: ' "$dir.out" || problems+=("no summary line")
    if ! diff "$expected" "$dir.out" >"$dir.diff"; then
        problems+=("output differs (- expected, + printed):")
        while IFS= read -r l; do problems+=("  $l"); done < <(grep '^[<>]' "$dir.diff" | sed 's/^</-/; s/^>/+/' | head -30)
    fi
    [ "$status" = "$want" ] || problems+=("exit status $status, expected $want")
    count=$((count + 1))
    if [ ${#problems[@]} -eq 0 ]; then
        echo "ok   $name"
    else
        failures=$((failures + 1))
        echo "FAIL $name"
        for p in "${problems[@]}"; do echo "     $p"; done
    fi
}

folders=()
[ "$only_example" = example-only ] || folders=("$here"/check/*/)
for dir in "${folders[@]}"; do
    name=$(basename "$dir")
    run="$work/check/$name"
    mkdir -p "$run"
    cp -r "$dir"/. "$run"/
    rm -f "$run/expected.txt"
    run_in "$run"
    verdict "check/$name" "$run" "$dir/expected.txt"
done

folders=()
[ "$only_example" = example-only ] || folders=("$here"/scripts/*/)
for dir in "${folders[@]}"; do
    name=$(basename "$dir")
    run="$work/scripts/$name"
    mkdir -p "$run"
    cp -r "$dir"/. "$run"/
    rm -f "$run/case.conf"
    check_expect=()
    # shellcheck disable=SC1091
    . "$dir/case.conf"
    run_in "$run"
    # the summary line is not listed in case.conf: take it as printed when the findings match
    { for l in "${check_expect[@]}"; do printf '%s\n' "$l"; done; grep '^setupcheck: ' "$run.out"; } >"$run.expected"
    verdict "scripts/$name" "$run" "$run.expected"
done

if [ -n "$example" ]; then
    run="$work/example"
    mkdir -p "$run"
    cp -r "$example"/. "$run"/
    run_in "$run"
    { grep '^setupcheck: ' "$run.out" | sed 's/, [0-9]* errors*, [0-9]* warnings*$/, 0 errors, 0 warnings/'; } >"$run.expected"
    verdict "the example installer" "$run" "$run.expected"
fi

echo "$((count - failures)) of $count folders checked as expected ($mode)"
[ "$failures" -eq 0 ]
