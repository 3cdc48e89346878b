// File helpers shared by every implementation of the platform layer.
#include "files.h"
#include "../base/text.h"

int platFileReadPiece(PlatFile* file, char* buffer, int size) {
    int n = 0;
    while (n < size - 1) {
        int c = platFileGetc(file);
        if (c < 0) break;
        if (c == '\r') {
            int next = platFileGetc(file);
            if (next == '\n') c = '\n';
            else if (next >= 0) platFileUngetc(file, next);
        }
        buffer[n++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    buffer[n] = 0;
    return n;
}

int platFileHasUtf8Bom(PlatFile* file) {
    if (!file) return 0;
    long saved = platFileTell(file);
    platFileSeek(file, 0, SEEK_SET);
    char start[4] = {0, 0, 0, 0};
    for (int i = 0; i < 3; i++) {
        int c = platFileGetc(file);
        if (c < 0) break;
        start[i] = static_cast<char>(c);
    }
    platFileSeek(file, saved, SEEK_SET);
    return startsWithUtf8Bom(start) ? 1 : 0;
}

int platFileReadable(const char* path) {
    PlatFile* f = platFileOpen(path, "rb");
    if (!f) return 0;
    platFileClose(f);
    return 1;
}
