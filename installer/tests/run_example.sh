#!/bin/bash
# Runs the bundled example installer unattended: installs the product (the
# intro, the licence, the setup type, the desktop shortcut question), installs
# it again over itself, removes it with the installed copy's /UNINSTALL,
# installs it silently (nothing asked), removes it silently, and installs the
# runtime alone, checking files, configuration, registry, shortcuts and the
# install's own log after each step; every removal removes everything (on
# Windows the running setup.exe goes at the next restart, which the test
# then makes Wine carry out).
# Natively the menus, desktop and fonts are scratch folders in the work dir
# (the XDG variables); under Wine they lie in the test prefix.
#   run_example.sh native <setup>     <examples/installer dir> <work dir>
#   run_example.sh wine   <setup.exe> <examples/installer dir> <work dir>  (Wine set up: wine_use)
set -u
mode=$1
setup=$2
example=$(cd "$3" && pwd)
work=$4
rm -rf "$work"; mkdir -p "$work"
src=$work/medium   # the installation medium: the example and the program
cp -r "$example" "$src"
reg_exe=${WINE_REG_EXE:-'C:\windows\syswow64\reg.exe'}   # the view setup.exe sees
uninstall_key='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Vexa 3D'
vendor_key='HKEY_LOCAL_MACHINE\Software\Maroveth'
fail=0
problem() { echo "$*"; fail=1; }
helpers=$(cd "$(dirname "$setup")" && pwd)/tests

if [ "$mode" = wine ]; then
    cp "$setup" "$src/setup.exe"
    wine "$reg_exe" delete "$uninstall_key" /f >/dev/null 2>&1
    wine "$reg_exe" delete "$vendor_key" /f >/dev/null 2>&1
    pf=$(wine "$reg_exe" query 'HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion' /v ProgramFilesDir |
         tr -d '\r' | sed -n 's/^ *ProgramFilesDir *REG_SZ *//p')
    programs=$(winepath -u "$pf" 2>/dev/null)
    programs=${programs%/}
    reg_value() {   # key name: the value, or <absent>
        local v
        v=$(wine "$reg_exe" query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_SZ *//p")
        [ -n "$v" ] && printf '%s\n' "$v" || echo "<absent>"
    }
    run_setup() {   # dir program arg answers log
        (cd "$1" && env -u LC_ALL -u LC_MESSAGES LANG=fr_FR.UTF-8 SETUP_ANSWERS="$4" \
            timeout 60 wine "$2" $3 >"$5" 2>&1 </dev/null)
    }
    program=setup.exe
    link_ext=lnk
    home=$(dirname "$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData | grep -v /Public/ | head -1)")
    group_dir="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Vexa 3D"
    desktop_link="$home/Desktop/Vexa 3D readme.lnk"
    temp_dir="$home/AppData/Local/Temp"
    [ -d "$home/Temp" ] && temp_dir="$home/Temp"   # where this Wine keeps the user's temporary files
    # what an earlier run in this prefix left (a log in the temporary folder included)
    rm -rf "$group_dir" "$desktop_link" "$temp_dir/vexa-setup.log"
    product_win="$pf\\Vexa 3D"
    expected_links=("$group_dir/Read me.lnk|$product_win\\docs\\readme.txt|$product_win|"
                    "$group_dir/Uninstall Vexa 3D.lnk|$product_win\\setup.exe|$product_win|/UNINSTALL"
                    "$desktop_link|$product_win\\docs\\readme.txt|$product_win|")
    check_links() {   # step name
        local e file want got
        for e in "${expected_links[@]}"; do
            file=${e%%|*}; want=${e#*|}
            case " ${links[*]} " in *" $file "*) ;; *) continue ;; esac
            [ -f "$file" ] || { problem "$1: no shortcut ${file#"$home"/}"; continue; }
            got=$(wine "$helpers/lnk_dump.exe" "$(winepath -w "$file" 2>/dev/null)" | tr -d '\r')
            [ "$got" = "$want" ] || problem "$1: ${file##*/} holds '$got', expected '$want'"
        done
    }
else
    cp "$setup" "$src/setup"
    programs=$work/programs   # the program-files directory of this scratch machine
    export SETUP_REGISTRY=$work/registry.reg
    printf 'Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\n"ProgramFilesDir"="%s"\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall]\n' \
        "$programs" > "$SETUP_REGISTRY"
    reg_value() {
        K=$1 N=$2 awk 'BEGIN { k = tolower("[" ENVIRON["K"] "]"); n = tolower("\"" ENVIRON["N"] "\"=") }
            /^\[/ { inkey = (tolower($0) == k); next }
            inkey && tolower(substr($0, 1, length(n))) == n { v = substr($0, length(n) + 2); sub(/"$/, "", v);
                gsub(/\\\\/, "\\", v); gsub(/\\"/, "\"", v); print v; found = 1; exit }
            END { if (!found) print "<absent>" }' "$SETUP_REGISTRY"
    }
    xdg=$work/xdg
    run_setup() {
        (cd "$1" && env -u LC_ALL -u LC_MESSAGES LANG=fr_FR.UTF-8 TMPDIR="$work" SETUP_ANSWERS="$4" \
            XDG_DATA_HOME="$xdg/data" XDG_CONFIG_HOME="$xdg/config" XDG_CACHE_HOME="$xdg/cache" \
            XDG_DESKTOP_DIR="$xdg/desktop" timeout 60 setsid -w "./$2" $3 >"$5" 2>&1 </dev/null)
    }
    program=setup
    link_ext=desktop
    group_dir="$xdg/data/applications/Vexa 3D"
    desktop_link="$xdg/desktop/Vexa 3D readme.desktop"
    temp_dir=$work
    check_links() {   # step name: the desktop entries as written, and valid
        local file exec
        for file in "${links[@]}"; do
            case $file in
                *Uninstall*) exec="\"$product/setup\" /UNINSTALL" ;;
                *) exec="xdg-open \"$product/docs/readme.txt\"" ;;
            esac
            local name=${file##*/}; name=${name%.desktop}
            [ "$(cat "$file" 2>/dev/null)" = "$(printf '[Desktop Entry]\nType=Application\nName=%s\nExec=%s\nPath=%s' \
                "$name" "$exec" "$product")" ] || problem "$1: $file is '$(cat "$file" 2>/dev/null)'"
            desktop-file-validate "$file" >/dev/null 2>&1 || problem "$1: $(desktop-file-validate "$file" 2>&1)"
        done
        grep -qF '<Filename>Vexa 3D-Uninstall Vexa 3D.desktop</Filename>' "$xdg/config/menus/applications-merged/vexa-Vexa 3D.menu" 2>/dev/null ||
            problem "$1: no submenu for the program group"
    }
fi
mkdir -p "$programs"
product="$programs/Vexa 3D"
log="$product/install.log"   # the install's own log
# the shortcuts a complete install with the desktop shortcut makes
all_links=("$group_dir/Read me.$link_ext" "$group_dir/Uninstall Vexa 3D.$link_ext" "$desktop_link")
links=("${all_links[@]}")
# install: the intro, the licence, the complete setup type, the desktop
# shortcut, the closing message; uninstall: the question and the closing message
printf 'intro continue\nlicence agree\nsetuptype 1\nmsgbox yes\nmsgbox ok\n' > "$work/answers"
printf 'msgbox yes\nmsgbox ok\n' > "$work/uninstall-answers"
if [ "$mode" = wine ]; then
    product_path="${pf%\\}\\Vexa 3D"
else
    product_path=$product
fi
# installing again, the installed folder is chosen in the destination chooser
printf 'intro change\nfolder %s\nintro continue\nlicence agree\nsetuptype 1\nmsgbox yes\nmsgbox ok\n' "$product_path" > "$work/reinstall-answers"
# the runtime alone: no documentation, so no readme shortcut and no question about it
printf 'intro continue\nlicence agree\nsetuptype 2\nmsgbox ok\n' > "$work/runtime-answers"

expected_qolt='; Vexa runtime configuration
vexa 2.4.1
update auto
plugin frelpdll.dll
plugin vxmedia-2.dll
disk ./Cache 64000
disk ./Partition 0'

check_installed() {   # step name, times the post-install step has run since the product folder was made
    local f
    for f in bin/qoltwin.txt bin/frelpdll.txt setup.ini setup.English.txt setup.French.txt setup.txt "$program"; do
        [ -f "$product/$f" ] || problem "$1: $f is not installed"
    done
    if [ ${#links[@]} = 3 ]; then
        [ -f "$product/docs/readme.txt" ] || problem "$1: docs/readme.txt is not installed"
    else
        [ ! -e "$product/docs" ] || problem "$1: the runtime alone came with its documentation"
    fi
    [ "$(tr -d '\r' < "$product/qolt.ini" 2>/dev/null)" = "$expected_qolt" ] ||
        problem "$1: qolt.ini differs: $(cat "$product/qolt.ini" 2>/dev/null)"
    local u
    u=$(reg_value "$uninstall_key" UninstallString)
    case $u in
        \"*Vexa\ 3D?setup\"\ /UNINSTALL) ;;
        *) problem "$1: uninstall entry is '$u'" ;;
    esac
    [ "$(reg_value "$uninstall_key" DisplayName)" = "Vexa 3D" ] || problem "$1: no DisplayName"
    [ "$(reg_value "$vendor_key" Success)" = 1 ] || problem "$1: Success is not 1"
    [ "$(reg_value "$vendor_key" IE)" = 2.4.1 ] || problem "$1: IE is not 2.4.1"
    check_links "$1"
    for f in "${all_links[@]}"; do
        case " ${links[*]} " in *" $f "*) ;; *) [ ! -e "$f" ] || problem "$1: ${f##*/} was made" ;; esac
    done
    [ "$(grep -c "post-install step done" "$log" 2>/dev/null)" = "$2" ] ||
        problem "$1: the post-install step did not run once more (log: $(tr -d '\r' < "$log" 2>/dev/null | tail -3 | tr '\n' ' '))"
    grep -q "^0002-0004-0001" "$log" 2>/dev/null || problem "$1: the install log lacks the runtime version"
    [ ! -e "$temp_dir/vexa-setup.log" ] || problem "$1: a log was written to the temporary folder"
}

# Everything the install made is gone: files, registry, shortcuts. Windows
# cannot delete the running setup.exe: it is renamed and goes, with the
# folder, at the next restart, which wineboot -r carries out.
check_removed() {   # step name
    [ "$(reg_value "$uninstall_key" DisplayName)" = "<absent>" ] || problem "$1: the uninstall entry stays"
    [ "$(reg_value "$vendor_key" Success)" = "<absent>" ] || problem "$1: Success stays"
    [ -e "$group_dir" ] && problem "$1: the program group stays"
    [ -e "$desktop_link" ] && problem "$1: the desktop shortcut stays"
    [ "$mode" = native ] && [ -e "$xdg/config/menus/applications-merged/vexa-Vexa 3D.menu" ] && problem "$1: the submenu stays"
    if [ "$mode" = wine ]; then
        local left
        left=$(cd "$product" 2>/dev/null && find . -type f | sed 's/[0-9A-Fa-f]*\.tmp$/N.tmp/' | sort | tr '\n' ' ')
        [ -z "$left" ] || [ "$left" = "./delN.tmp " ] || problem "$1: the uninstall left $left"
        wineboot -r >/dev/null 2>&1
    fi
    [ ! -e "$product" ] || problem "$1: the uninstall left $(cd "$product" && find . | tr '\n' ' ')"
}

# /UNINSTALL on the medium itself removes nothing: it is no installed copy
printf 'msgbox ok\n' > "$work/medium-answers"   # the message that nothing is removed
run_setup "$src" "$program" /UNINSTALL "$work/medium-answers" "$work/medium.log"
rc=$?
[ $rc = 1 ] || problem "uninstall on the medium: exit status $rc, expected 1"
[ -f "$src/setup.ini" ] && [ -f "$src/docs/readme.txt" ] || problem "uninstall on the medium deleted it"
[ "$mode" = native ] && ! grep -qF "[Suppression de Vexa 3D] Ce dossier ne contient aucune copie install" "$work/medium.log" &&
    problem "the uninstall on the medium does not say why nothing is removed"

run_setup "$src" "$program" "$src" "$work/answers" "$work/install.log"   # the medium as the source directory
rc=$?
[ $rc = 0 ] || problem "install: exit status $rc"
if [ "$mode" = native ]; then
    grep -qF "Bienvenue dans l'installation de Vexa 3D." "$work/install.log" || problem "no French welcome message"
    grep -qF "L'installation de Vexa 3D est termin" "$work/install.log" || problem "no progress text"
    grep -qF "Copie de qoltwin.txt" "$work/install.log" || problem "no copy progress"
    grep -qF "[Contrat de licence de Vexa 3D] VEXA 3D SAMPLE LICENCE -> agree" "$work/install.log" ||
        problem "the licence was not shown"
fi
check_installed install 1
if [ "$mode" = native ]; then
    grep -qF "[Make a choice :] -> 1 (Complète : le moteur et sa documentation) (answers file)" "$work/install.log" ||
        problem "the setup types were not shown"
    grep -qF "[Vexa 3D] Placer sur le bureau un raccourci vers le fichier Lisez-moi de Vexa 3D ? -> yes (answers file)" \
        "$work/install.log" || problem "the desktop shortcut question was not asked"
fi

# again over the installed product: qolt.ini is rewritten and merged, not duplicated
run_setup "$src" "$program" "$src" "$work/reinstall-answers" "$work/reinstall.log"
rc=$?
[ $rc = 0 ] || problem "second install: exit status $rc"
check_installed "second install" 2

run_setup "$product" "$program" /UNINSTALL "$work/uninstall-answers" "$work/uninstall.log"
rc=$?
[ $rc = 0 ] || problem "uninstall: exit status $rc"
[ "$mode" = native ] && ! grep -qF "[Suppression de Vexa 3D] Vexa 3D a été supprimé de cet ordinateur." "$work/uninstall.log" &&
    problem "the uninstall does not say that it removed the product"
check_removed uninstall

# a silent install asks nothing (no answers file: a question would end the
# run), and a silent run of the installed copy removes it without asking
run_setup "$src" "$program" /SILENT "" "$work/silent.log"
rc=$?
[ $rc = 0 ] || problem "silent install: exit status $rc"
check_installed "silent install" 1
run_setup "$product" "$program" /SILENT "" "$work/silent-uninstall.log"
rc=$?
[ $rc = 0 ] || problem "silent uninstall: exit status $rc"
check_removed "silent uninstall"

# the runtime alone, without its documentation and without a desktop shortcut
links=("$group_dir/Uninstall Vexa 3D.$link_ext")
run_setup "$src" "$program" "$src" "$work/runtime-answers" "$work/runtime.log"
rc=$?
[ $rc = 0 ] || problem "install of the runtime alone: exit status $rc"
check_installed "runtime alone" 1
run_setup "$product" "$program" /SILENT "" "$work/runtime-uninstall.log"
check_removed "uninstall of the runtime alone"

if [ $fail != 0 ]; then
    for l in medium install reinstall uninstall silent silent-uninstall runtime runtime-uninstall; do
        echo "--- $l"; tail -30 "$work/$l.log" 2>/dev/null
    done
    exit 1
fi
echo "example installer: installed into $product, installed again (the folder chosen), uninstalled, installed and uninstalled silently, the runtime alone installed and uninstalled ($mode)"
