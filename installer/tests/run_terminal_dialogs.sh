#!/bin/bash
# Answers every dialog on a terminal (a pseudo-terminal made by script(1)), as
# a person would: the intro's destination changed in the chooser (a folder
# listed, a name with a colon refused, a new folder made and chosen), the
# licence agreed, the third setup type, the settings typed, the mail server.
#   run_terminal_dialogs.sh <setup> <work dir>
set -u
setup=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"; mkdir -p "$work/dest/sub1" "$work/dest/sub2"
cp "$setup" "$here/real_dialogs/licence.txt" "$work"/
sed -e "s|^set DSTDIR .*|set DSTDIR \"$work/dest\"|" "$here/real_dialogs/setup.ini" > "$work/setup.ini"
command -v script >/dev/null || { echo "script(1) is needed for this test"; exit 1; }
# intro: change; chooser: list, a bad name, a new folder, Enter chooses it;
# intro: continue; licence: agree; setup type 3; nickname, e-mail, no
# information; mail server
printf 'h\nls\nnew bad:name\nnew New One\n\nc\nagree\n3\nZo\xc3\xa9 Doe\nzoe@example.org\nn\nsmtp.example.org\n' |
    (cd "$work" && SETUP_REGISTRY="$work/registry.reg" timeout 30 \
        script -qec "./setup" /dev/null > "$work/terminal.log" 2>&1)
rc=$?
problems=()
got=$(tr -d '\r' < "$work/out.txt" 2>/dev/null | paste -sd, -)
want="intro continue,$work/dest/New One,licence agreed,Custom,smtp.example.org"
[ "$rc" = 0 ] || problems+=("exit status $rc")
[ "$got" = "$want" ] || problems+=("out.txt '$got', expected '$want'")
settings=$(tr -d '\r' < "$work/dest/New One/qoltress.ini" 2>/dev/null | paste -sd'|' -)
[ "$settings" = 'DefaultName Zo\-23\ Doe|DefaultEmail zoe@example.org|DefaultLanguage Neutral|Registering No' ] ||
    problems+=("qoltress.ini '$settings'")
for shown in "Installation directory: $work/dest" "  sub1/" '"bad:name" is not a folder name' \
             "Made $work/dest/New One/" "VEXA 3D LICENCE AGREEMENT" "  3. Custom" "Your nickname [nick]:" \
             "SMTP server [mail]:"; do
    grep -qF -- "$shown" "$work/terminal.log" || problems+=("the terminal did not show: $shown")
done
[ ! -e "$work/dest/bad:name" ] || problems+=("a folder with a colon was made")
# Enter alone in the chooser keeps the destination, shown as the host names
# it even when the script wrote it the Windows way
mkdir -p "$work/keep"
cp "$setup" "$here/real_dialogs/licence.txt" "$work/keep"/
sed -e "s|^set DSTDIR .*|set DSTDIR \"$work\\\\dest\"|" "$here/real_dialogs/setup.ini" > "$work/keep/setup.ini"
printf 'h\n\na\n\n' | (cd "$work/keep" && SETUP_REGISTRY="$work/keep/registry.reg" timeout 30 \
    script -qec "./setup" /dev/null > "$work/keep/terminal.log" 2>&1)
grep -qF "The destination stays $work/dest" "$work/keep/terminal.log" ||
    problems+=("Enter alone in the chooser did not say the destination stays $work/dest: $(grep -a stays "$work/keep/terminal.log")")
if [ ${#problems[@]} = 0 ]; then
    echo "terminal dialogs: $got"
    exit 0
fi
printf '%s\n' "${problems[@]}"
tr -d '\r' < "$work/terminal.log"
exit 1
