// Safe printf-style formatting of stored texts (message texts and script texts).
#pragma once
#include <cstddef>

const size_t kFormatBytes = 4096;

// Formats text with the given text arguments into out (size bytes, always
// terminated, the result cut when longer). Each conversion except "%%" takes
// the next argument: "%s" prints it (flags, width and precision honoured);
// any other conversion (also "%ls" and the like), and any conversion left without an argument, is
// copied as written. Nothing is ever written through "%n".
// Returns the length of the result.
size_t formatText(char* out, size_t size, const char* text, const char* const* args, int argCount);

// Replaces, in place, every backslash followed by the letter n with a carriage
// return and a line feed.
void convertLineBreaks(char* text);
