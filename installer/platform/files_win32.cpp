// Files, directories, language and system paths on Windows.
#include "files.h"
#include "system.h"
#include <windows.h>
#include <cstdlib>
#include <cstring>

int platProgramPath(char* out, int size) {
    DWORD n = GetModuleFileNameA(nullptr, out, static_cast<DWORD>(size));
    return (n == 0 || n >= static_cast<DWORD>(size)) ? -1 : 0;
}

int platSetCurrentDir(const char* dir) {
    return SetCurrentDirectoryA(dir) ? 0 : -1;
}

int platGetCurrentDir(char* out, int size) {
    DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(size), out);
    return (n == 0 || n >= static_cast<DWORD>(size)) ? -1 : 0;
}

const char* platEnv(const char* name) { return std::getenv(name); }

struct PlatFile {
    FILE* stream;
};

PlatFile* platFileOpen(const char* path, const char* mode) {
    if (!path) return nullptr;
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return nullptr;
    FILE* f = std::fopen(path, mode);
    return f ? new PlatFile{f} : nullptr;
}

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

int platPathMatches(const char* pattern) {
    // a directory written with its final backslash ("C:\\Temp\\") is still that directory
    char trimmed[1024];
    size_t n = std::strlen(pattern);
    if (n >= sizeof trimmed) return 0;
    std::memcpy(trimmed, pattern, n + 1);
    if (n > 1 && (trimmed[n - 1] == '\\' || trimmed[n - 1] == '/') && trimmed[n - 2] != ':') trimmed[n - 1] = 0;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(trimmed, &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    int found = 0;
    do {
        // "." and ".." are not matches of their own
        if (std::strcmp(data.cFileName, ".") != 0 && std::strcmp(data.cFileName, "..") != 0) found = 1;
    } while (!found && FindNextFileA(find, &data));
    FindClose(find);
    return found;
}

int platFileNonEmpty(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return 0;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
    return (data.nFileSizeLow != 0 || data.nFileSizeHigh != 0) ? 1 : 0;
}

int platCreateTempFile(const char* dir, const char* prefix, char* out, int size) {
    char path[MAX_PATH];
    if (GetTempFileNameA(dir, prefix, 0, path) == 0) return -1;
    if (std::strlen(path) >= static_cast<size_t>(size)) {
        DeleteFileA(path);
        return -1;
    }
    std::strcpy(out, path);
    return 0;
}

void platSystemDir(char* out, int size) {
    if (!GetSystemDirectoryA(out, static_cast<UINT>(size))) out[0] = 0;
}

void platWindowsDir(char* out, int size) {
    if (!GetWindowsDirectoryA(out, static_cast<UINT>(size))) out[0] = 0;
}

void platTempDir(char* out, int size) {
    if (!GetTempPathA(static_cast<DWORD>(size), out)) out[0] = 0;
}

unsigned platUserLanguage() {
    return GetUserDefaultLangID();
}

// ---- file operations

struct PlatDirList {
    HANDLE find;
    WIN32_FIND_DATAA data;
    bool pending;  // data holds an entry not handed out yet
};

namespace {
// The directory part of a path, without its last separator ("." when none).
void directoryOf(const char* path, char* out, size_t size) {
    const char* cut = nullptr;
    for (const char* p = path; *p; p++)
        if (*p == '\\' || *p == '/') cut = p;
    size_t n = cut ? static_cast<size_t>(cut - path) : 0;
    if (!cut) {
        std::strcpy(out, ".");
        return;
    }
    if (n == 0 || (n == 2 && path[1] == ':')) n++;  // keep the root's separator
    if (n >= size) n = size - 1;
    std::memcpy(out, path, n);
    out[n] = 0;
}
}  // namespace

int platCreateDir(const char* path) {
    if (CreateDirectoryA(path, nullptr)) return 0;
    DWORD error = GetLastError();
    DWORD attributes = GetFileAttributesA(path);
    if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return 1;
    return -1;
}

int platClearAttributes(const char* path) {
    return SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL) ? 0 : -1;
}

int platDeleteFile(const char* path) {
    return DeleteFileA(path) ? 0 : -1;
}

int platRemoveDir(const char* path) {
    return RemoveDirectoryA(path) ? 0 : -1;
}

int platRemoveLink(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return -1;
    // a junction or directory link goes with RemoveDirectory, which never enters it
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return RemoveDirectoryA(path) ? 0 : -1;
    return DeleteFileA(path) ? 0 : -1;
}

int platCopyFile(const char* from, const char* to) {
    DWORD sourceAttributes = GetFileAttributesA(from);
    if (sourceAttributes == INVALID_FILE_ATTRIBUTES || (sourceAttributes & FILE_ATTRIBUTE_DIRECTORY)) return -1;
    char dir[MAX_PATH];
    char temp[MAX_PATH];
    directoryOf(to, dir, sizeof dir);
    // copied beside the target under a temporary name, then renamed over it
    if (GetTempFileNameA(dir, "cpy", 0, temp) == 0) return -1;
    if (!CopyFileA(from, temp, FALSE)) {
        DeleteFileA(temp);
        return -1;
    }
    SetFileAttributesA(temp, FILE_ATTRIBUTE_NORMAL);  // a read-only copy could not be renamed away on failure
    if (!MoveFileExA(temp, to, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temp);
        return -1;
    }
    return 0;
}

int platMoveFile(const char* from, const char* to) {
    if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING)) return 0;
    if (GetLastError() != ERROR_NOT_SAME_DEVICE) return -1;
    // another volume: copy beside the target first, so a failure keeps the old one
    if (platCopyFile(from, to) != 0) return -1;
    return DeleteFileA(from) ? 0 : -1;
}

PlatDirList* platOpenDir(const char* dir) {
    char pattern[MAX_PATH + 8];
    size_t n = std::strlen(dir);
    if (n + 5 > sizeof pattern) return nullptr;
    std::memcpy(pattern, dir, n);
    std::strcpy(pattern + n, (n && (dir[n - 1] == '\\' || dir[n - 1] == '/')) ? "*.*" : "\\*.*");
    PlatDirList* list = new PlatDirList;
    list->find = FindFirstFileA(pattern, &list->data);
    if (list->find == INVALID_HANDLE_VALUE) {
        delete list;
        return nullptr;
    }
    list->pending = true;
    return list;
}

int platReadDir(PlatDirList* l, PlatDirEntry* entry) {
    if (!l->pending && !FindNextFileA(l->find, &l->data)) return 0;
    l->pending = false;
    std::strcpy(entry->name, l->data.cFileName);
    entry->isDir = (l->data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
    entry->isLink = (l->data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? 1 : 0;
    return 1;
}

void platCloseDir(PlatDirList* l) {
    if (!l) return;
    FindClose(l->find);
    delete l;
}

int platFixedDrives(char (*roots)[kPathBytes], int max) {
    int count = 0;
    char override[4096];
    DWORD n = GetEnvironmentVariableA("SETUP_SEARCH_ROOTS", override, sizeof override);
    if (n > 0 && n < sizeof override) {
        // a list given by whoever runs the installer (tests, unattended installs)
        char* start = override;
        for (char* p = override;; p++) {
            if (*p != ';' && *p) continue;
            bool last = !*p;
            *p = 0;
            if (*start && count < max && std::strlen(start) < static_cast<size_t>(kPathBytes))
                std::strcpy(roots[count++], start);
            if (last) break;
            start = p + 1;
        }
        return count;
    }
    DWORD mask = GetLogicalDrives();
    for (char letter = 'a'; mask && count < max; letter++, mask >>= 1) {
        char root[3] = {letter, ':', 0};
        // the root as two characters, without its backslash
        UINT type = GetDriveTypeA(root);
        if ((mask & 1) && type != DRIVE_UNKNOWN && type != DRIVE_REMOVABLE && type != DRIVE_REMOTE &&
            type != DRIVE_CDROM && type != DRIVE_RAMDISK)
            std::strcpy(roots[count++], root);
    }
    return count;
}
