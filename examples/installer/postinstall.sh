#!/bin/sh
# The example's last install step on Linux, run by RunWait in the source
# folder: a product would register or prepare something here. Its exit
# status tells the script whether it went well.
[ -f version.txt ] || exit 1
exit 0
