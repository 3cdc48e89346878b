#!/bin/sh
# The example's last install step on Linux, run by RunWait: a line in the
# installation log.
echo "post-install step done" >> "${TMPDIR:-/tmp}/vexa-setup.log"
