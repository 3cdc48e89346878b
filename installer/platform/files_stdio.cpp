// Reading and writing an open file through its C stream, for both real
// platform layers.
#include "files.h"
#include "files_stdio.h"
#include <cstring>

int platFileClose(PlatFile* file) {
    if (!file) return -1;
    bool ok = !std::ferror(file->stream);
    ok = std::fclose(file->stream) == 0 && ok;
    delete file;
    return ok ? 0 : -1;
}

int platFileGetc(PlatFile* file) {
    int c = std::fgetc(file->stream);
    return c == EOF ? -1 : c;
}

void platFileUngetc(PlatFile* file, int c) { std::ungetc(c, file->stream); }

size_t platFileRead(PlatFile* file, void* buffer, size_t size) { return std::fread(buffer, 1, size, file->stream); }

int platFileWrite(PlatFile* file, const char* data, size_t size) {
    return std::fwrite(data, 1, size, file->stream) == size ? 0 : -1;
}

int platFilePuts(PlatFile* file, const char* text) { return platFileWrite(file, text, std::strlen(text)); }

long platFileTell(PlatFile* file) { return std::ftell(file->stream); }

int platFileSeek(PlatFile* file, long offset, int whence) {
    std::clearerr(file->stream);
    return std::fseek(file->stream, offset, whence) == 0 ? 0 : -1;
}

int platFileAtEnd(PlatFile* file) { return std::feof(file->stream) ? 1 : 0; }
