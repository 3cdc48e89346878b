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

const unsigned short kWindows1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

std::string windows1252FromUtf8(const std::string& text, bool keepStrayBytes) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 4;
        unsigned code = n == 0 ? c : n == 1 ? (c & 0x1Fu) : n == 2 ? (c & 0x0Fu) : (c & 0x07u);
        bool valid = n < 4 && i + n < text.size();
        for (size_t k = 1; valid && k <= n; k++) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            valid = (next >> 6) == 2;
            code = (code << 6) | (next & 0x3Fu);
        }
        if (!valid) {
            out += keepStrayBytes ? static_cast<char>(c) : '?';
            i++;
            continue;
        }
        i += n + 1;
        char mapped = '?';
        if (code < 0x80 || (code >= 0xA0 && code < 0x100)) mapped = static_cast<char>(code);
        for (unsigned k = 0; k < 32; k++)
            if (kWindows1252High[k] == code && code != 0xFFFD) mapped = static_cast<char>(0x80 + k);
        out += mapped;
    }
    return out;
}

std::string trimmedBlanks(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}
