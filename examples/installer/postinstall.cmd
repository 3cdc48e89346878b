@echo off
rem The example's last install step on Windows, run by RunWait: a line in the
rem installation log.
echo post-install step done>> "%TEMP%\vexa-setup.log"
