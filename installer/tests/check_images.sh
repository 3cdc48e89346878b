#!/bin/bash
# Draws the icon and the folder tree's images with make_images and checks what
# the resource script needs: three 16 x 16 bitmaps of 8 bits with a palette,
# and an icon of 32 x 32 and 16 x 16.
#   check_images.sh <make_images> <work dir>
set -u
rm -rf "$2"; mkdir -p "$2"
"$1" "$2" || { echo "make_images failed"; exit 1; }
command -v identify >/dev/null || { echo "identify (Debian package imagemagick) is needed for this test"; exit 1; }
fail=0
for f in folder_open folder_closed drive; do
    got=$(identify -format '%m %w %h %z %r' "$2/$f.bmp" 2>&1)
    case $got in
        "BMP3 16 16 8 PseudoClass"*) ;;
        *) echo "$f.bmp: $got, expected a 16 x 16 bitmap of 8 bits with a palette"; fail=1 ;;
    esac
done
got=$(identify -format '%m %w %h,' "$2/setup.ico" 2>&1)
[ "$got" = "ICO 32 32,ICO 16 16," ] || { echo "setup.ico: $got, expected icons of 32 and 16 pixels"; fail=1; }
# the three tree images differ, and a folder's outline is drawn on white
[ "$(md5sum < "$2/folder_open.bmp")" != "$(md5sum < "$2/folder_closed.bmp")" ] || { echo "open and closed folders are the same"; fail=1; }
corner=$(convert "$2/folder_closed.bmp" -format '%[pixel:p{0,0}]' info: 2>&1)
[ "$corner" = "white" ] || [ "$corner" = "srgb(255,255,255)" ] || { echo "the folder's corner is $corner, not white"; fail=1; }
[ $fail = 0 ] && echo "images: three 16 x 16 bitmaps of 8 bits and a 32 and 16 pixel icon"
exit $fail
