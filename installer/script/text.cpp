#include "text.h"
#include <cstring>

bool textEqualNoCase(const char* a, const char* b) {
    for (;; a++, b++) {
        if (lowerAscii(*a) != lowerAscii(*b)) return false;
        if (!*a) return true;
    }
}

bool textPrefixNoCase(const char* text, const char* prefix, size_t n) {
    for (size_t i = 0; i < n; i++) {
        if (lowerAscii(text[i]) != lowerAscii(prefix[i])) return false;
        if (!text[i]) return true;
    }
    return true;
}

bool textContainsNoCase(const char* text, const char* needle) {
    size_t n = std::strlen(needle);
    for (const char* p = text; *p; p++)
        if (textPrefixNoCase(p, needle, n)) return true;
    return n == 0;
}

int copyText(char* out, size_t size, const char* text) {
    if (size == 0) return -1;
    size_t n = std::strlen(text);
    if (n >= size) {
        std::memcpy(out, text, size - 1);
        out[size - 1] = 0;
        return -1;
    }
    std::memcpy(out, text, n + 1);
    return 0;
}
