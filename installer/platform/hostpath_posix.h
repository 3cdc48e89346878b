// Turning the Windows-form paths of portable code into Linux paths.
#pragma once
#include <string>

// Backslashes become slashes; each component that does not exist as written
// is looked up ignoring ASCII case (as Windows does). Components that match
// nothing are kept as written, so a new file gets the name the script gave.
std::string hostPath(const char* windowsPath);
// A text of the run as UTF-8 for the terminal: every valid UTF-8 sequence
// (a text from a UTF-8 language or script file, a file name the system
// gave) is kept as it is; every other byte above 127 is Windows-1252.
std::string toUtf8(const char* text);
// Text typed at a UTF-8 terminal as Windows-1252 (a character it lacks
// becomes "?"); bytes that are not UTF-8 are kept as they are.
std::string fromUtf8(const std::string& text);
// Creates the host directory dir and the directories above it, private to
// the user (as the base directory specification asks for the user's data);
// true when it is a directory afterwards (errno says why not).
bool makeHostDirs(const std::string& dir);
