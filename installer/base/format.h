// Formatting. Two kinds, never mixed:
// - formatText: a stored text (a message key's value, a script's text) used as
//   a format. Its conversions cannot be checked, so only a plain %s is filled
//   and nothing can read a missing argument, write memory or overflow.
// - formatString: the program's own printf formats, checked by the compiler;
//   a stored text is only ever one of its arguments, never its format.
#pragma once
#include <cstdarg>
#include <cstddef>
#include <string>
#include <vector>

#if defined(__GNUC__)
#define SETUP_PRINTF(f, a) __attribute__((format(printf, f, a)))
#else
#define SETUP_PRINTF(f, a)
#endif

const size_t kFormatBytes = 4096;

// Formats text with the given text arguments into out (size bytes, always
// terminated, the result cut when longer). Each conversion except "%%" takes
// the next argument: "%s" prints it (flags, width and precision honoured);
// any other conversion (also "%ls" and the like), and any conversion left without an argument, is
// copied as written. Nothing is ever written through "%n".
// Returns the length of the result.
size_t formatText(char* out, size_t size, const char* text, const char* const* args, int argCount);

// The conversions of a stored text as formatText reads them, in order: each
// takes the next argument, and only a plain "%s" (flags, width and precision
// allowed) is ever filled; the others, and a lone "%" at the end, are shown as
// written. "%%" is a percent sign, not a conversion.
struct TextConversion {
    std::string written;  // "%-10s", "%d", "% o", "%"
    bool fillable;        // a plain %s
};
std::vector<TextConversion> textConversions(const char* text);

// Replaces, in place, every backslash followed by the letter n with a carriage
// return and a line feed.
void convertLineBreaks(char* text);

// printf into a string, for the program's own formats only.
std::string formatString(const char* format, ...) SETUP_PRINTF(1, 2);
std::string formatStringV(const char* format, va_list args);
