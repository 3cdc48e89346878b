// Buffered text output of the .m3d file: integers are formatted by hand and
// written in large blocks through meshFile.
#pragma once
#include <cstdint>

void meshText(const char* text);
void meshChar(char c);
void meshInt(int64_t value);  // as %d
void meshHex6(uint32_t value);  // as %06x
// Writes what is buffered to meshFile.
void meshFlush();
