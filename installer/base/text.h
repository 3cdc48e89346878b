// Small text helpers with the script's rules for blanks and letter case. This
// is the installer's one ASCII case-insensitive comparison: every name that
// Windows compares ignoring case (command words, variables, registry keys and
// values, file names on Linux) goes through compareNoCase.
#pragma once
#include <cstddef>
#include <string>

// A character is blank when its code as a signed byte is at most 32: this
// covers controls and space, and also every byte from 128 to 255.
inline bool isScriptBlank(char c) { return static_cast<signed char>(c) <= 32; }

inline char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
// The text with its ASCII letters in lower case (a key for names compared
// ignoring case).
inline std::string lowerAsciiText(std::string text) {
    for (char& c : text) c = lowerAscii(c);
    return text;
}

// Compares at most n characters ignoring ASCII case, stopping after the end of
// either text: <0, 0 or >0 as the lower-cased bytes (unsigned) order them.
int compareNoCase(const char* a, const char* b, size_t n = static_cast<size_t>(-1));

inline bool textEqualNoCase(const char* a, const char* b) { return compareNoCase(a, b) == 0; }
inline bool textEqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && compareNoCase(a.c_str(), b.c_str(), a.size()) == 0;
}
// The first n characters of text and prefix are equal ignoring ASCII case
// (true also when both end together before n).
inline bool textPrefixNoCase(const char* text, const char* prefix, size_t n) {
    return compareNoCase(text, prefix, n) == 0;
}
// text begins with word (ignoring ASCII case) and is at least as long.
bool textStartsWithNoCase(const char* text, const char* word);
// Finds needle in text ignoring ASCII case.
bool textContainsNoCase(const char* text, const char* needle);
// Matches a name against a Windows wildcard pattern ("*" and "?"), ignoring
// ASCII case; "*.*" matches every name, as on Windows.
bool wildcardMatchNoCase(const char* pattern, const char* name);
// The UTF-8 byte-order mark that may start a text file.
const char kUtf8Bom[] = "\xEF\xBB\xBF";
inline bool startsWithUtf8Bom(const char* text) {
    return text && text[0] == kUtf8Bom[0] && text[1] == kUtf8Bom[1] && text[2] == kUtf8Bom[2];
}
// The text without the spaces and tabs around it (typed answers, words of
// the command line).
std::string trimmedBlanks(const std::string& text);
// Copies at most size-1 characters and terminates; returns 0, or -1 when cut.
int copyText(char* out, size_t size, const char* text);

// Windows-1252's characters 0x80 to 0x9F as Unicode code points (U+FFFD where
// the code page has none).
extern const unsigned short kWindows1252High[32];
// UTF-8 text in Windows-1252, as Windows converts it: a character the code
// page lacks becomes '?'; a byte that is no part of a UTF-8 sequence stays as
// it is (keepStrayBytes: a Windows-1252 text typed among UTF-8) or becomes '?'.
std::string windows1252FromUtf8(const std::string& text, bool keepStrayBytes);
