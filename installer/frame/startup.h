// Start-up of the installer and the run of its script.
#pragma once
#include <string>

// What a command line asks for: a run mode, and the folder holding the
// script (empty: setup's own folder).
enum SetupSwitch { NoSwitch, SwitchUninstall, SwitchMini, SwitchSilent };
struct SetupCommandLine {
    SetupSwitch mode;
    std::string directory;
};
// Reads a command line: "/UNINSTALL", "/MINI" or "/SILENT" compared whole
// ignoring case; such a switch, blanks, then a source directory; or else the
// whole line as a source directory. A line holding two switches is no switch
// but a directory name. A directory in double quotes loses them.
SetupCommandLine parseSetupCommandLine(const char* commandLine);
// True for a command line that asks for the usage: "--help", "-h", "-?",
// "/?" or "/HELP" (ignoring case).
bool isHelpRequest(const char* commandLine);
// The usage: switches, environment variables and exit statuses, followed by
// the lines about this platform's own variables.
std::string setupUsage(const char* platformLines);

// Start-up before the main window exists: shutdown privilege, the program's
// directory made current, the command line (switches and a source directory,
// a relative one taken from the folder setup was started from), the
// "setup.txt" uninstall marker, and an empty variable store.
void setupStartUp(const char* commandLine);
// Applies the command line: sets the mode, and makes the directory current
// when it exists, a relative one being taken from startFolder (the folder
// setup was started from; nullptr: the current one). A directory that does
// not exist is said on standard error and leaves the current folder as it is.
void applyCommandLine(const char* commandLine, const char* startFolder = nullptr);
// Runs "setup.ini": the section "Uninstall" or "Setup" between the install
// marks. Returns the quit code (0, or -1 when "setup.ini" cannot be opened).
int runSetupScript();
// After the run: clears the failure mark unless a failure is known, and
// passes on a restart request.
void finishSetupScript();
