// What the two systems share of the converter's file handling.
#include "driver/files.h"


static int asciiLower(int c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

bool sameIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (asciiLower((unsigned char)*a) != asciiLower((unsigned char)*b)) return false;
    return *a == *b;
}
