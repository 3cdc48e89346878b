// Console output and the capacity stop.
#include "driver/console.h"

#include <cstdarg>
#include <cstring>

FILE* consoleOut = stdout;

void say(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    vfprintf(consoleOut, fmt, ap);
    va_end(ap);
}

void sayCause(int error) { say("cause : %s\n", strerror(error)); }

void progressMark(char mark) {
    fputc(mark, consoleOut);
    fflush(nullptr);
}

void stopConversion(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    vfprintf(consoleOut, fmt, ap);
    va_end(ap);
    fflush(consoleOut);
    throw ConversionStopped();
}
