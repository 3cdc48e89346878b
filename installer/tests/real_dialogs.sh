#!/bin/bash
# Drives the real Windows dialogs of setup.exe with the keyboard (xdotool), as
# a person would, reads what they show through dialog_probe.exe and what
# they answered from out.txt and qoltress.ini, and keeps a screenshot of each
# dialog in <windows build dir>/dialog-screenshots.
#   real_dialogs.sh <windows build dir>
# Run by wine_tests.sh inside its X server, with its Wine prefix (wine_use).
set -u
win=$1
here=$(cd "$(dirname "$0")" && pwd)
probe=$win/installer/tests/dialog_probe.exe
shots=$win/dialog-screenshots
mkdir -p "$shots"
status=0
desktop=""
for i in $(seq 1 100); do
    desktop=$(xdotool search --name "Wine desktop" 2>/dev/null | head -1)
    [ -n "$desktop" ] && break
    sleep 0.1
done

failures=0
fail() { echo "FAIL real dialogs ($run_name): $*"; status=1; failures=$((failures + 1)); }
key() { xdotool mousemove --window "$desktop" 790 590 key --clearmodifiers "$@" 2>/dev/null; sleep 0.4; }
typein() { xdotool mousemove --window "$desktop" 790 590 type --delay 60 "$1" 2>/dev/null; sleep 0.4; }
# the dialog holding this control is up and takes the keyboard
up() { wine "$probe" wait "$1" >/dev/null 2>&1 || { fail "no dialog with the control $1 ($2)"; return 1; }; }
gone() { wine "$probe" gone "$1" >/dev/null 2>&1 || fail "the dialog with the control $1 is still open ($2)"; }
text_of() { wine "$probe" text "$1" "$2" 2>/dev/null | tr -d '\r'; }
expect_text() {   # dialog control expected what
    local got
    got=$(text_of "$1" "$2")
    [ "$got" = "$3" ] || fail "$4: '$got', expected '$3'"
}
shot() {   # dialog name
    local rect
    rect=$(wine "$probe" rect "$1" 2>/dev/null | tr -d '\r')
    import -window root ${rect:+-crop "$rect"} +repage "$shots/$2.png" 2>/dev/null || fail "no screenshot of $2"
}

# A run folder with setup.exe started in it, and the destination C:\vexatest
# (in the prefix's own drive C:, inside the build folder) with two folders.
start_run() {
    run_name=$1
    run=$win/installer-wine-runs/real_dialogs_$1
    dest=$WINEPREFIX/drive_c/vexatest
    rm -rf "$run" "$dest"; mkdir -p "$run" "$dest/sub1" "$dest/sub2/deep"
    cp "$here/real_dialogs/setup.ini" "$here/real_dialogs/licence.txt" "$win/installer/setup.exe" "$run"/
    (cd "$run" && exec wine ./setup.exe </dev/null >"$run/stdout.log" 2>&1) &
    setup_pid=$!
}
end_run() {   # expected out.txt lines, joined with commas
    local i got
    for i in $(seq 1 100); do kill -0 "$setup_pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$setup_pid" 2>/dev/null; then
        kill "$setup_pid"; wait "$setup_pid"
        fail "setup.exe still waiting"
    fi
    wait "$setup_pid"
    got=$(tr -d '\r' < "$run/out.txt" 2>/dev/null | paste -sd, -)
    [ "$got" = "$1" ] || fail "out.txt holds '$got', expected '$1'"
}

# Go into the tree from the chooser's OK button, open the drive C: and
# select the folder vexatest in it.
tree_to_dest() {
    key Tab Tab Tab
    key Home
    key Right
    key v
}

# 1. Change destination, an existing folder chosen in the tree, then Abort:
#    the new destination stays.
start_run abort
if up 1015 "intro"; then
    expect_text 1015 1014 'C:\vexatest' "the intro's destination"
    key Tab Tab space               # Change destination...
    if up 1012 "chooser"; then
        key Tab Tab Tab
        key Home                        # the drive C:: no OK for a drive
        expect_text 1012 1009 'c:\' "the path line of the drive"
        wine "$probe" enabled 1012 1 && fail "OK is enabled for a drive"
        key Right
        key v                           # the folder vexatest: OK
        wine "$probe" enabled 1012 1 || fail "OK is disabled for a folder"
        key Right Down Down             # vexatest expanded: sub1, then sub2
        expect_text 1012 1009 'c:\vexatest\sub2\' "the chooser's path line"
        key Return                      # OK
        gone 1012 "chooser after OK"
        up 1015 "intro after the chooser" && expect_text 1015 1014 'c:\vexatest\sub2' "the intro's new destination"
        key Escape                      # Abort
    fi
fi
end_run 'intro abort,c:\vexatest\sub2'
[ "$failures" = 0 ] && echo "ok   real dialogs: intro, chooser choosing a folder, Abort keeps it"

# 2. Every dialog: a new folder (a name with a colon refused first), Continue,
#    the licence agreed, the third setup type, a nickname typed (Escape does
#    nothing), the mail server left empty then filled.
before=$failures
start_run all
if up 1015 "intro"; then
    shot 1015 intro
    key Tab Tab space
    if up 1012 "chooser"; then
        tree_to_dest
        key Right
        shot 1012 chooser
        key Tab Tab Tab space           # New directory...
        if up 1013 "new folder name"; then
            expect_text 1013 1013 "New directory..." "the proposed name"
            shot 1013 newdir
            typein "bad:name"
            key Return
            up 1013 "the name dialog after a name with a colon" && expect_text 1013 1013 "bad:name" "the refused name"
            typein "Vexa 3D"
            key Return
            gone 1013 "name dialog after a good name"
            expect_text 1012 1009 'c:\vexatest\Vexa 3D\' "the path line of the new folder"
            [ -d "$dest/Vexa 3D" ] || fail "the new folder was not made"
            key Tab Return              # to the tree, then OK
        fi
        gone 1012 "chooser after OK"
    fi
    if up 1015 "intro after the chooser"; then
        expect_text 1015 1014 'c:\vexatest\Vexa 3D' "the intro's new destination"
        key Tab Return                  # from Change destination to Continue
    fi
fi
if up 1016 "licence"; then
    text_of 1016 1016 | grep -q "^VEXA 3D LICENCE AGREEMENT" || fail "the licence text is not shown"
    shot 1016 licence
    key Return                          # I agree
fi
if up 1019 "setup type"; then
    shot 1019 setuptype
    key shift+Tab Down Down Return      # the list, its third entry, Continue
fi
if up 1031 "settings"; then
    key Escape
    up 1031 "settings after Escape"
    key Tab                             # the nickname, its text selected
    typein "Jo Doe"
    shot 1031 settings
    key Return
fi
if up 1035 "mail server"; then
    expect_text 1035 1035 "mail" "the proposed mail server"
    key Escape
    key Tab BackSpace Return            # emptied: OK does nothing
    up 1035 "mail server after OK with an empty field" && expect_text 1035 1035 "" "the emptied field"
    typein "smtp.example.org"
    shot 1035 smtp
    key Return
fi
end_run 'intro continue,c:\vexatest\Vexa 3D,licence agreed,Custom,smtp.example.org'
settings=$(tr -d '\r' < "$dest/Vexa 3D/qoltress.ini" 2>/dev/null | paste -sd'|' -)
[ "$settings" = 'DefaultName Jo\ Doe|DefaultEmail |DefaultLanguage Neutral|Registering Yes' ] ||
    fail "qoltress.ini holds '$settings'"
[ "$failures" = "$before" ] && echo "ok   real dialogs: every dialog in a row, screenshots in $shots"
rm -rf "$dest"
exit $status
