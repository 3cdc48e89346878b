// Files, directories, language and system paths on Windows.
#include "platform.h"
#include <windows.h>
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

FILE* platOpenFile(const char* path, const char* mode) {
    if (!path) return nullptr;
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return nullptr;
    return std::fopen(path, mode);
}

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
