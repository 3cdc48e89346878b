// Start-up of the installer and the run of its script.
#pragma once

// Start-up before the main window exists: shutdown privilege, the program's
// directory made current, the command line (switches or a source directory),
// the "setup.txt" uninstall marker, and an empty variable store.
void setupStartUp(const char* commandLine);
// Applies the command line: "/UNINSTALL", "/MINI" or "/SILENT" compared whole
// ignoring case, otherwise a directory to make current (ignored when missing).
void applyCommandLine(const char* commandLine);
// Runs "setup.ini": the section "Uninstall" or "Setup" between the install
// marks. Returns the quit code (0, or -1 when "setup.ini" cannot be opened).
int runSetupScript();
// After the run: clears the failure mark unless a failure is known, and
// passes on a restart request.
void finishSetupScript();
