// The converter's files and memory as the operating system gives them.
// Everything system-specific lives in files_posix.cpp or files_win32.cpp,
// which the build chooses; files.cpp holds what both share.
#pragma once
#include <cstddef>
#include <cstdio>

// Alignment of the large static tables, set by the build for the system: the
// huge-page size where the tables are backed with huge pages (Linux), a cache
// line elsewhere (PE objects cannot hold a larger alignment).
constexpr size_t kLargeTableAlign = VEXA_LARGE_TABLE_ALIGN;

// True when a and b are equal ignoring ASCII letter case.
bool sameIgnoringCase(const char* a, const char* b);

// Opens an input file for reading ("rb"). Scenes, projects and textures
// come from Windows, where file names match ignoring case: when the path
// does not exist as written, each of its components is looked up ignoring
// ASCII letter case. A directory is no input file. Returns nullptr, with
// errno telling why, when no such file can be opened.
FILE* openInput(const char* path);

// Size in bytes of an open regular file; -1 when it cannot be told.
long long inputSize(FILE* f);

// Maps the whole of an open input file of the given size into memory,
// read-only, so that its bytes are read from the system's file cache rather
// than copied. Returns nullptr where files are not mapped (Windows) or the
// mapping fails: the caller then reads the file. One mapping at a time:
// mapping again or unmapInput releases the previous one.
// Should another program cut the file short while it is mapped, reading the
// lost part ends the process with status -1 and a message (and removes the
// file named by removeOnInputFault) instead of a crash.
const unsigned char* mapInput(FILE* f, size_t size);
void unmapInput();
void removeOnInputFault(const char* path);  // nullptr: nothing to remove

// Asks for huge pages over a table (nothing where the system has none).
// Advice only: a refusal changes nothing.
void adviseHugePages(void* table, size_t bytes);

// Flushes and closes an output file written to path. firstError is the
// errno of a write that already failed (0 when none did). When a write, the
// flush or the close failed (a full disk), says so on the console, removes
// the file and returns -1; else returns 0.
int finishOutput(FILE* f, int firstError, const char* path);
