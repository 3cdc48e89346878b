// The system variables a script asks for with GetSystemVars.
#pragma once

// Sets SYSDIR, WINDIR, SRCDIR, DSTDIR, PROGRAMFILES, WINDOWSTEMP,
// NETSCAPEPATH, NETSCAPEDEFAULT and languagefile.
void GetSystemVars();
