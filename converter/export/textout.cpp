// Buffered text output of the .m3d file.
#include "export/textout.h"

#include <cstdio>
#include <cstring>

#include "export/meshfile.h"

namespace {

constexpr size_t kBufferBytes = 1 << 16;
char buffer[kBufferBytes];
size_t used;

inline void room(size_t bytes) {
    if (used + bytes > kBufferBytes) meshFlush();
}

}  // namespace

void meshFlush() {
    if (used && meshFile) fwrite(buffer, 1, used, meshFile);
    used = 0;
}

void meshText(const char* text) {
    size_t n = strlen(text);
    if (n > kBufferBytes / 2) {
        meshFlush();
        fwrite(text, 1, n, meshFile);
        return;
    }
    room(n);
    memcpy(buffer + used, text, n);
    used += n;
}

void meshChar(char c) {
    room(1);
    buffer[used++] = c;
}

void meshInt(int64_t value) {
    room(24);
    uint64_t u = value < 0 ? 0 - (uint64_t)value : (uint64_t)value;
    char digits[24];
    int n = 0;
    do {
        digits[n++] = (char)('0' + u % 10);
        u /= 10;
    } while (u);
    if (value < 0) buffer[used++] = '-';
    while (n) buffer[used++] = digits[--n];
}

void meshHex6(uint32_t value) {
    room(8);
    static const char kDigits[] = "0123456789abcdef";
    char digits[8];
    int n = 0;
    do {
        digits[n++] = kDigits[value & 15];
        value >>= 4;
    } while (value);
    while (n < 6) digits[n++] = '0';
    while (n) buffer[used++] = digits[--n];
}
