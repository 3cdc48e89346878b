@echo off
rem The example's last install step on Windows, run by RunWait in the source
rem folder: a product would register or prepare something here. Its exit
rem status tells the script whether it went well.
if not exist version.txt exit 1
exit 0
