// The install log file named by $SETUP_LOG.
#pragma once
#include <string>

// Converts a text of the run (8-bit, as the script gives it) into the log's
// encoding; nullptr keeps it as it is.
typedef std::string (*LogTextConversion)(const char* text);

// Opens path for appending (created when missing) and makes it the install
// log; each line gets the local date and time. Called before the program
// makes its own folder current, so a relative path is taken from the folder
// it was started from. 0, or -1 (said on standard error) when the file cannot
// be opened: the run then goes on without a log.
int openInstallLog(const char* path, LogTextConversion convert);
// Writes the last line and closes the log.
void closeInstallLog(int exitStatus);
