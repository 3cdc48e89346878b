#include "text.h"
#include <cstring>

int compareNoCase(const char* a, const char* b, size_t n) {
    for (size_t i = 0; i < n; i++) {
        unsigned char x = static_cast<unsigned char>(lowerAscii(a[i]));
        unsigned char y = static_cast<unsigned char>(lowerAscii(b[i]));
        if (x != y) return x < y ? -1 : 1;
        if (!x) return 0;
    }
    return 0;
}

bool textStartsWithNoCase(const char* text, const char* word) {
    // a shorter text differs at its terminator
    return compareNoCase(text, word, std::strlen(word)) == 0;
}

bool textContainsNoCase(const char* text, const char* needle) {
    size_t n = std::strlen(needle);
    for (const char* p = text; *p; p++)
        if (compareNoCase(p, needle, n) == 0) return true;
    return n == 0;
}

bool wildcardMatchNoCase(const char* pattern, const char* name) {
    if (std::strcmp(pattern, "*.*") == 0) return true;
    if (!*pattern) return !*name;
    if (*pattern == '*') {
        for (const char* n = name;; n++) {
            if (wildcardMatchNoCase(pattern + 1, n)) return true;
            if (!*n) return false;
        }
    }
    if (!*name) return false;
    if (*pattern != '?' && compareNoCase(pattern, name, 1) != 0) return false;
    return wildcardMatchNoCase(pattern + 1, name + 1);
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
