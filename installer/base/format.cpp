// Safe formatting: a stored text is used as a format, but nothing in it can
// read a missing argument, write memory or overflow the result.
#include "format.h"
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {
struct Out {
    char* p;
    size_t size;
    size_t len;
    void put(char c) {
        if (len + 1 < size) p[len++] = c;
    }
    void put(const char* s, size_t n) {
        for (size_t i = 0; i < n; i++) put(s[i]);
    }
};

bool isFlag(char c) { return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLength(char c) { return c == 'h' || c == 'l' || c == 'L' || c == 'q' || c == 'j' || c == 'z' || c == 't' || c == 'I'; }

// Reads a decimal number, saturating well below anything that could overflow.
size_t readNumber(const char*& p) {
    size_t n = 0;
    while (isDigit(*p)) {
        if (n < 100000) n = n * 10 + static_cast<size_t>(*p - '0');
        p++;
    }
    return n;
}

// One conversion of a stored text, from its "%" to its conversion character.
struct Conversion {
    const char* end;    // after it
    bool left;
    size_t width;
    bool hasPrecision;
    size_t precision;
    bool plainText;     // a %s with no length and no "*": the one kind ever filled
};

// Reads the conversion starting at start (a "%" that does not begin "%%").
// false for a lone "%" (with its flags, width...) at the very end of the text.
bool readConversion(const char* start, Conversion& c) {
    const char* p = start + 1;
    c.left = false;
    while (isFlag(*p)) {
        if (*p == '-') c.left = true;
        p++;
    }
    bool starUsed = false;
    c.width = 0;
    if (*p == '*') { starUsed = true; p++; } else c.width = readNumber(p);
    c.hasPrecision = false;
    c.precision = 0;
    if (*p == '.') {
        p++;
        c.hasPrecision = true;
        if (*p == '*') { starUsed = true; p++; } else c.precision = readNumber(p);
    }
    bool sized = false;
    while (isLength(*p)) {
        sized = true;
        p++;
    }
    c.end = p;
    if (!*p) return false;
    c.plainText = *p == 's' && !sized && !starUsed;
    c.end = p + 1;
    return true;
}
}  // namespace

size_t formatText(char* out, size_t size, const char* text, const char* const* args, int argCount) {
    Out o{out, size, 0};
    if (size == 0) return 0;
    int next = 0;
    const char* p = text ? text : "";
    while (*p) {
        if (*p != '%') {
            o.put(*p++);
            continue;
        }
        if (p[1] == '%') {
            o.put('%');
            p += 2;
            continue;
        }
        const char* start = p;
        Conversion c;
        if (!readConversion(start, c)) {  // a lone "%" at the end: copy it as written
            o.put(start, static_cast<size_t>(c.end - start));
            break;
        }
        p = c.end;
        const char* arg = next < argCount ? args[next] : nullptr;
        next++;
        if (!c.plainText || !arg) {
            o.put(start, static_cast<size_t>(p - start));  // not a text conversion we can fill
            continue;
        }
        size_t n = std::strlen(arg);
        if (c.hasPrecision && c.precision < n) n = c.precision;
        size_t pad = c.width > n ? c.width - n : 0;
        if (!c.left) for (size_t i = 0; i < pad && o.len + 1 < o.size; i++) o.put(' ');
        o.put(arg, n);
        if (c.left) for (size_t i = 0; i < pad && o.len + 1 < o.size; i++) o.put(' ');
    }
    out[o.len] = 0;
    return o.len;
}

std::vector<TextConversion> textConversions(const char* text) {
    std::vector<TextConversion> found;
    const char* p = text ? text : "";
    while (*p) {
        if (*p != '%') {
            p++;
            continue;
        }
        if (p[1] == '%') {
            p += 2;
            continue;
        }
        Conversion c;
        bool complete = readConversion(p, c);
        found.push_back({std::string(p, static_cast<size_t>(c.end - p)), complete && c.plainText});
        if (!complete) break;
        p = c.end;
    }
    return found;
}

void convertLineBreaks(char* text) {
    if (!text) return;
    for (char* p = text; p[0]; p++)
        if (p[0] == '\\' && p[1] == 'n') {
            p[0] = '\r';
            p[1] = '\n';
            p++;
        }
}

std::string formatString(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = formatStringV(format, args);
    va_end(args);
    return out;
}

std::string formatStringV(const char* format, va_list args) {
    va_list again;
    va_copy(again, args);
    int n = std::vsnprintf(nullptr, 0, format, args);
    std::string out;
    if (n > 0) {
        out.resize(static_cast<size_t>(n) + 1);
        std::vsnprintf(&out[0], out.size(), format, again);
        out.resize(static_cast<size_t>(n));
    }
    va_end(again);
    return out;
}
