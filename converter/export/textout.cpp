// Buffered text output of the .m3d file.
#include "export/textout.h"

#include <cerrno>
#include <cstdio>

#include "export/meshfile.h"

namespace textout {

char buffer[kBufferBytes];
size_t used;

void flushFull() { meshFlush(); }

// Two decimal digits at a time.
static const char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

static int digitCount(uint32_t v) {
    int n = 1;
    while (v >= 10000) {
        v /= 10000;
        n += 4;
    }
    return n + (v >= 10) + (v >= 100) + (v >= 1000);
}

void putUnsigned(uint64_t value) {
    if (value > 0xFFFFFFFFu) {  // rare: differences of extreme coordinates
        char digits[24];
        int n = 24;
        do {
            digits[--n] = (char)('0' + value % 10);
            value /= 10;
        } while (value);
        memcpy(buffer + used, digits + n, 24 - n);
        used += 24 - n;
        return;
    }
    uint32_t v = (uint32_t)value;
    int count = digitCount(v);
    char* end = buffer + used + count;
    used += count;
    while (v >= 100) {
        uint32_t pair = v % 100;
        v /= 100;
        *--end = kPairs[2 * pair + 1];
        *--end = kPairs[2 * pair];
    }
    if (v >= 10) {
        *--end = kPairs[2 * v + 1];
        *--end = kPairs[2 * v];
    } else {
        *--end = (char)('0' + v);
    }
}

}  // namespace textout

using textout::buffer;
using textout::kBufferBytes;
using textout::used;

int meshWriteError;

// Remembers why the first failed write failed.
static void meshWrite(const char* bytes, size_t n) {
    if (fwrite(bytes, 1, n, meshFile) != n && !meshWriteError) meshWriteError = errno ? errno : EIO;
}

void meshFlush() {
    if (used && meshFile) meshWrite(buffer, used);
    used = 0;
}

void meshText(const char* text) {
    size_t n = strlen(text);
    if (n > kBufferBytes / 2) {
        meshFlush();
        meshWrite(text, n);
        return;
    }
    textout::room(n);
    memcpy(buffer + used, text, n);
    used += n;
}

void meshHex6(uint32_t value) {
    textout::room(8);
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
