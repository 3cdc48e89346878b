// Buffered text output of the .m3d file: integers are formatted by hand and
// written in large blocks through meshFile.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace textout {
constexpr size_t kBufferBytes = 1 << 16;
extern char buffer[kBufferBytes];
extern size_t used;
void flushFull();
inline void room(size_t bytes) {
    if (used + bytes > kBufferBytes) flushFull();
}
void putUnsigned(uint64_t value);
}  // namespace textout

// Writes what is buffered to meshFile (drops it when no file is open).
void meshFlush();
// errno of the first write to meshFile that failed, 0 while none has.
extern int meshWriteError;
void meshText(const char* text);
void meshHex6(uint32_t value);  // as %06x

inline void meshChar(char c) {
    textout::room(1);
    textout::buffer[textout::used++] = c;
}

// As %d.
inline void meshInt(int64_t value) {
    textout::room(24);
    if (value < 0) {
        textout::buffer[textout::used++] = '-';
        textout::putUnsigned(0 - (uint64_t)value);
    } else {
        textout::putUnsigned((uint64_t)value);
    }
}
