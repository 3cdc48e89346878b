// Small text helpers with the script's rules for blanks and letter case.
#pragma once
#include <cstddef>

// A character is blank when its code as a signed byte is at most 32: this
// covers controls and space, and also every byte from 128 to 255.
inline bool isScriptBlank(char c) { return static_cast<signed char>(c) <= 32; }

inline char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool textEqualNoCase(const char* a, const char* b);
// Compares the first n characters ignoring ASCII case (stops at the end of either).
bool textPrefixNoCase(const char* text, const char* prefix, size_t n);
// Finds needle in text ignoring ASCII case.
bool textContainsNoCase(const char* text, const char* needle);
// Copies at most size-1 characters and terminates; returns 0, or -1 when cut.
int copyText(char* out, size_t size, const char* text);
