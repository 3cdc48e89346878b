// Command lines as Windows programs read them, and the quoting that the
// freedesktop Exec key asks for.
#pragma once
#include <string>
#include <vector>

// Splits the arguments of a command line as the Windows C runtime does:
// blanks (space, tab) separate arguments outside double quotes; 2n
// backslashes before a double quote give n backslashes and the quote opens or
// closes quoting; 2n+1 backslashes before it give n backslashes and a literal
// quote; two double quotes inside quoting give one literal quote; other
// backslashes are kept. An absent text gives no arguments.
std::vector<std::string> splitCommandLine(const char* text);

// One argument of a freedesktop Exec key: kept as it is when it holds no
// reserved character, otherwise in double quotes with ", `, $ and \ escaped
// by a backslash. A percent sign is doubled either way. The result is the
// argument's text before the general escaping of string values.
std::string quoteExecArgument(const std::string& argument);

// The value of a string key of a desktop entry: backslash, line feed, tab and
// carriage return escaped as \\, \n, \t and \r.
std::string escapeDesktopValue(const std::string& value);
