#!/bin/bash
# Answers setup's message boxes on a terminal (a pseudo-terminal made by
# script(1)), as a person would, in the person's language: a wrong word is
# asked again, Enter takes the first button, the language's own words are
# taken, and the end of the input (Ctrl-D) is no answer: the run ends as a
# failure and nothing more is done.
#   run_terminal_test.sh <setup> <work dir>
set -u
setup=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"; mkdir -p "$work"
command -v script >/dev/null || { echo "script(1) is needed for this test"; exit 1; }
fail=0

# One run per line: name | LANG | typed input (printf format; its end is the
# end of the input) | exit status | out.txt lines | texts the terminal must show
# (separated by ";")
cases=(
"english|en_US.UTF-8|maybe\nn\n\n|0|no pressed,ok pressed|[Y]es / [N]o (Enter: Yes)? ;[O]K / [C]ancel (Enter: OK)? "
"french|fr_FR.UTF-8|oui\nannuler\n|0|yes pressed,cancel pressed|[O]ui / [N]on (Entrée: Oui)? ;[O]K / [A]nnuler (Entrée: OK)? "
"italian|it_IT.UTF-8|sì\n\n|0|yes pressed,ok pressed|[S]ì / [N]o (Invio: Sì)? ;[O]K / [A]nnulla (Invio: OK)? "
"german-ctrl-d|de_DE.UTF-8||1||[J]a / [N]ein (Eingabe: Ja)? ;Es kam keine Antwort (Ende der Eingabe)"
"spanish-ctrl-d-second|es_ES.UTF-8|si\n|1|yes pressed|[S]í / [N]o (Intro: Sí)? ;[A]ceptar / [C]ancelar (Intro: Aceptar)? ;No llegó ninguna respuesta"
"english-ctrl-d-after-a-wrong-word|C|maybe\n|1||[Y]es / [N]o (Enter: Yes)? ;No answer came (the input ended)"
)
for c in "${cases[@]}"; do
    IFS='|' read -r name lang input want_rc want_out shown <<<"$c"
    run=$work/$name
    mkdir -p "$run"
    cp "$setup" "$here/real_boxes/setup.ini" "$run"/
    # shellcheck disable=SC2059
    printf "$input" | (cd "$run" && env -u LC_ALL -u LC_MESSAGES LANG="$lang" SETUP_REGISTRY="$run/registry.reg" \
        timeout 30 script -qec "./setup" /dev/null > "$run/terminal.log" 2>&1)
    rc=$?
    got=$( { tr -d "\r" < "$run/out.txt"; } 2>/dev/null | paste -sd, -)
    problems=()
    [ "$rc" = "$want_rc" ] || problems+=("exit status $rc, expected $want_rc")
    [ "$got" = "$want_out" ] || problems+=("out.txt '$got', expected '$want_out'")
    IFS=';' read -r -a texts <<<"$shown"
    for t in "${texts[@]}"; do
        grep -qF -- "$t" "$run/terminal.log" || problems+=("the terminal did not show: $t")
    done
    if [ ${#problems[@]} = 0 ]; then
        echo "ok   $name: $got"
    else
        fail=1
        echo "FAIL $name"
        printf '     %s\n' "${problems[@]}"
        tr -d '\r' < "$run/terminal.log" | sed 's/^/     | /'
    fi
done
exit $fail
