// Turning the Windows-form paths of portable code into Linux paths.
#pragma once
#include <string>

// Backslashes become slashes; each component that does not exist as written
// is looked up ignoring ASCII case (as Windows does). Components that match
// nothing are kept as written, so a new file gets the name the script gave.
std::string hostPath(const char* windowsPath);
// Windows-1252 text as UTF-8 for the terminal.
std::string toUtf8(const char* text);
// Text typed at a UTF-8 terminal as Windows-1252 (a character it lacks
// becomes "?"); bytes that are not UTF-8 are kept as they are.
std::string fromUtf8(const std::string& text);
