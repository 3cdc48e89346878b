// Console and stop handling shared by every stage of a conversion.
#pragma once
#include <cstdio>

// The console stream (standard output; tests may point it elsewhere).
extern FILE* consoleOut;

// Prints a message on the console.
void say(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Prints the system's reason for a failure (an errno value) on the line
// after a bare "erreur".
void sayCause(int error);

// Prints a single progress character and flushes every output stream.
void progressMark(char mark);

// Thrown by stopConversion after its message is printed: the scene exceeds
// a capacity and cannot be converted whole. The run ends with status -1 and
// removes the partial mesh file.
struct ConversionStopped {};

[[noreturn]] void stopConversion(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
