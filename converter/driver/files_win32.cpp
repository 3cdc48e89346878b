// The converter's files and memory on Windows: names already match ignoring
// case, the scene is read into its buffer rather than mapped, and tables
// keep ordinary pages.
#include <sys/stat.h>
#include <sys/types.h>

#include "driver/files.h"

FILE* openInput(const char* path) { return fopen(path, "rb"); }

long long inputSize(FILE* f) {
    struct _stati64 st;
    if (_fstati64(_fileno(f), &st) != 0 || !(st.st_mode & _S_IFREG)) return -1;
    return (long long)st.st_size;
}

const unsigned char* mapInput(FILE*, size_t) { return nullptr; }
void unmapInput() {}
void removeOnInputFault(const char*) {}

void adviseHugePages(void*, size_t) {}
