// Files, directories, language and system paths on Windows.
#include "files.h"
#include "files_stdio.h"
#include "unlogged.h"
#include "../base/log.h"
#include "../base/text.h"
#include "system.h"
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

std::string platTextFromUtf8(const std::string& text) {
    if (text.empty()) return text;
    int wide = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (wide <= 0) return text;  // not UTF-8 after all: as it stands
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &w[0], wide);
    int bytes = WideCharToMultiByte(CP_ACP, 0, w.data(), wide, nullptr, 0, "?", nullptr);
    if (bytes <= 0) return text;
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), wide, &out[0], bytes, "?", nullptr);
    return out;
}

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

namespace {
// Why the last failed operation failed, for platFailureText.
std::string lastFailure;

int failWith(const char* why) {
    lastFailure = why;
    return -1;
}
// The system's words for the last error.
int failLastError() {
    DWORD error = GetLastError();
    char text[256];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                             sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == '.')) n--;
    lastFailure.assign(text, n);
    if (lastFailure.empty()) lastFailure = "error " + std::to_string(error);
    SetLastError(error);
    return -1;
}
}  // namespace

const char* platFailureText() { return lastFailure.c_str(); }

PlatFile* unloggedFileOpen(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        failWith("a directory, not a file");
        return nullptr;
    }
    // the C library's mode without the letters it does not know
    char streamMode[8];
    size_t n = 0;
    for (const char* m = mode; *m && n + 1 < sizeof streamMode; m++)
        if (*m != 'x') streamMode[n++] = *m;
    streamMode[n] = 0;
    FILE* f = nullptr;
    if (mode[0] == 'w' && std::strchr(mode, 'x')) {
        // a new file only: an existing file or link of that name is an error
        HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            failLastError();
            return nullptr;
        }
        int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), std::strchr(mode, 'b') ? _O_BINARY : _O_TEXT);
        if (fd < 0) {
            CloseHandle(h);
            failWith("cannot open the new file");
            return nullptr;
        }
        f = _fdopen(fd, streamMode);
        if (!f) _close(fd);
    } else if (mode[0] == 'r' && !std::strchr(mode, '+')) {
        // read with every sharing allowed: the uninstall deletes the very
        // script it reads (the name goes now, the file once it is closed)
        HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            failLastError();
            return nullptr;
        }
        int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), (std::strchr(mode, 'b') ? _O_BINARY : _O_TEXT) | _O_RDONLY);
        if (fd < 0) {
            CloseHandle(h);
            failWith("cannot open the file");
            return nullptr;
        }
        f = _fdopen(fd, streamMode);
        if (!f) _close(fd);
    } else {
        f = std::fopen(path, streamMode);
    }
    if (!f) {
        failWith(std::strerror(errno));
        return nullptr;
    }
    // only files on a disk: a device name (CON, a serial port) could wait forever
    if (GetFileType(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)))) != FILE_TYPE_DISK) {
        std::fclose(f);
        failWith("not a regular file (a device)");
        return nullptr;
    }
    return new PlatFile{f};
}

int platFileSync(PlatFile* file) {
    if (!file || std::fflush(file->stream) != 0 || _commit(_fileno(file->stream)) != 0)
        return failWith("cannot write the file through to the disk");
    return 0;
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

int unloggedCreateTempFile(const char* dir, const char* prefix, char* out, int size) {
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

int unloggedCreateDir(const char* path) {
    if (CreateDirectoryA(path, nullptr)) return 0;
    DWORD error = GetLastError();
    DWORD attributes = GetFileAttributesA(path);
    if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return 1;
    SetLastError(error);
    return failLastError();
}

int platClearAttributes(const char* path) {
    return SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL) ? 0 : -1;
}

namespace {
// Files deleted by this run (a file still open goes once it is closed) and
// files and folders in use (the running setup.exe, its current folder) that
// Windows deletes at the next restart instead, as it allows nothing else.
std::set<std::string> goingAway;

std::string lowerPath(const char* path) {
    std::string p = path ? path : "";
    for (char& c : p) {
        if (c == '/') c = '\\';
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return p;
}

// After a failed deletion: a file or folder in use goes at the next restart.
// A read-only file stays, as it always does. 0 when it is scheduled.
int deleteAtRestart(const char* path, DWORD error, bool folder) {
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION && !(folder && error == ERROR_DIR_NOT_EMPTY))
        return -1;
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return -1;
    // a file that is read-only stays, and a folder is never deleted as a file
    bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isFolder != folder || (!folder && (attributes & FILE_ATTRIBUTE_READONLY))) return -1;
    if (folder && error == ERROR_DIR_NOT_EMPTY) {
        // only when everything left in it goes at the restart too
        std::string pattern = std::string(path) + "\\*";
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(pattern.c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return -1;
        bool allGoing = true;
        do {
            if (!std::strcmp(data.cFileName, ".") || !std::strcmp(data.cFileName, "..")) continue;
            if (!goingAway.count(lowerPath((std::string(path) + "\\" + data.cFileName).c_str()))) allGoing = false;
        } while (allGoing && FindNextFileA(find, &data));
        FindClose(find);
        if (!allGoing) return -1;
    }
    std::string doomed = path;
    if (!folder) {
        // a file that can be renamed (a running program) first gets a name
        // of its own, so that a new file of its name, installed before the
        // restart, stays
        char dir[MAX_PATH];
        char temp[MAX_PATH];
        std::string p = path;
        size_t cut = p.find_last_of("\\/");
        copyText(dir, sizeof dir, cut == std::string::npos ? "." : p.substr(0, cut).c_str());
        if (GetTempFileNameA(dir, "del", 0, temp) != 0) {
            if (MoveFileExA(path, temp, MOVEFILE_REPLACE_EXISTING)) doomed = temp;
            else DeleteFileA(temp);
        }
    }
    if (!MoveFileExA(doomed.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return -1;
    goingAway.insert(lowerPath(path));
    goingAway.insert(lowerPath(doomed.c_str()));
    logChange(folder ? "folder removed at the next restart (in use)" : "file deleted at the next restart (in use)", path,
              nullptr, 0);
    return 0;
}
}  // namespace

int unloggedDeleteFile(const char* path) {
    if (DeleteFileA(path)) {
        goingAway.insert(lowerPath(path));
        return 0;
    }
    DWORD error = GetLastError();
    int result = failLastError();
    if (deleteAtRestart(path, error, false) == 0) failWith("in use: Windows deletes it at the next restart");
    return result;
}

int unloggedRemoveDir(const char* path) {
    if (RemoveDirectoryA(path)) return 0;
    DWORD error = GetLastError();
    int result = failLastError();
    if (deleteAtRestart(path, error, true) == 0) failWith("in use: Windows removes it at the next restart");
    return result;
}

int unloggedRemoveLink(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return failLastError();
    // a junction or directory link goes with RemoveDirectory, which never enters it
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return RemoveDirectoryA(path) ? 0 : failLastError();
    return DeleteFileA(path) ? 0 : failLastError();
}

namespace {
// Puts temp in place of to in one step. A read-only target cannot be
// replaced: its read-only bit goes first, and comes back when the
// replacement fails, so a failed copy or move leaves the target as it was.
bool replaceTarget(const char* temp, const char* to, DWORD flags) {
    DWORD old = GetFileAttributesA(to);
    bool readOnly = old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY) &&
                    !(old & FILE_ATTRIBUTE_DIRECTORY);
    if (readOnly) SetFileAttributesA(to, old & ~FILE_ATTRIBUTE_READONLY);
    if (MoveFileExA(temp, to, flags)) return true;
    failLastError();
    DWORD error = GetLastError();
    if (readOnly) SetFileAttributesA(to, old);
    SetLastError(error);
    return false;
}
}  // namespace

int unloggedCopyFile(const char* from, const char* to) {
    if (!from || !to) return failWith("a path is missing");
    DWORD sourceAttributes = GetFileAttributesA(from);
    if (sourceAttributes == INVALID_FILE_ATTRIBUTES) return failLastError();
    if (sourceAttributes & FILE_ATTRIBUTE_DIRECTORY) return failWith("a directory, not a file");
    char dir[MAX_PATH];
    char temp[MAX_PATH];
    directoryOf(to, dir, sizeof dir);
    // copied beside the target under a temporary name, then renamed over it
    if (GetTempFileNameA(dir, "cpy", 0, temp) == 0) return failLastError();
    if (!CopyFileA(from, temp, FALSE)) {
        failLastError();
        DeleteFileA(temp);
        return -1;
    }
    SetFileAttributesA(temp, FILE_ATTRIBUTE_NORMAL);  // a read-only copy could not be renamed away on failure
    if (!replaceTarget(temp, to, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temp);
        return -1;
    }
    return 0;
}

int unloggedMoveFile(const char* from, const char* to) {
    if (!from || !to) return failWith("a path is missing");
    if (replaceTarget(from, to, MOVEFILE_REPLACE_EXISTING)) return 0;
    if (GetLastError() != ERROR_NOT_SAME_DEVICE) return -1;
    // another volume: copy beside the target first, so a failure keeps the old one
    if (unloggedCopyFile(from, to) != 0) return -1;
    return DeleteFileA(from) ? 0 : failLastError();
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

// ---- tree walks: each directory is checked for a reparse point as it is
// entered, so a junction or directory link is never followed

struct PlatTreeDir {
    std::string path;
    HANDLE find;
    WIN32_FIND_DATAA data;
    bool started;
};

namespace {
std::string childPath(const PlatTreeDir* dir, const char* name) {
    const std::string& p = dir->path;
    bool separated = !p.empty() && (p.back() == '\\' || p.back() == '/');
    return p + (separated ? "" : "\\") + name;
}

PlatTreeDir* openTreePath(const std::string& path, int followLink, bool isRoot, PlatTreeStatus* status) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        failLastError();
        // below the root an entry just listed exists: any failure to reach it is a failure to read it
        *status = isRoot && (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? TreeMissing
                                                                                              : TreeUnreadable;
        return nullptr;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        *status = TreeNotDir;
        return nullptr;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !followLink) {
        *status = TreeIsLink;
        return nullptr;
    }
    *status = TreeOpened;
    PlatTreeDir* dir = new PlatTreeDir;
    dir->path = path;
    dir->find = INVALID_HANDLE_VALUE;
    dir->started = false;
    return dir;
}
}  // namespace

PlatTreeDir* platTreeOpen(const char* path, int followLink, PlatTreeStatus* status) {
    if (!path || !*path) {
        *status = TreeMissing;
        return nullptr;
    }
    return openTreePath(path, followLink, true, status);
}

PlatTreeDir* platTreeOpenSub(PlatTreeDir* dir, const char* name, PlatTreeStatus* status) {
    return openTreePath(childPath(dir, name), 0, false, status);
}

PlatTreeDir* platTreeMakeSub(PlatTreeDir* dir, const char* name, PlatTreeStatus* status) {
    std::string path = childPath(dir, name);
    if (CreateDirectoryA(path.c_str(), nullptr)) {
        logChange("folder created", path.c_str(), nullptr, 0);
    } else if (GetLastError() != ERROR_ALREADY_EXISTS) {
        failLastError();
        logChange("folder created", path.c_str(), nullptr, -1, platFailureText());
        *status = TreeUnreadable;
        return nullptr;
    }
    return openTreePath(path, 0, false, status);
}

void platTreeClose(PlatTreeDir* dir) {
    if (!dir) return;
    if (dir->find != INVALID_HANDLE_VALUE) FindClose(dir->find);
    delete dir;
}

int platTreeRead(PlatTreeDir* dir, PlatDirEntry* entry) {
    for (;;) {
        if (!dir->started) {
            dir->started = true;
            std::string pattern = childPath(dir, "*.*");
            dir->find = FindFirstFileA(pattern.c_str(), &dir->data);
            if (dir->find == INVALID_HANDLE_VALUE) return 0;
        } else if (dir->find == INVALID_HANDLE_VALUE || !FindNextFileA(dir->find, &dir->data)) {
            return 0;
        }
        const char* name = dir->data.cFileName;
        if (!std::strcmp(name, ".") || !std::strcmp(name, "..")) continue;
        std::strcpy(entry->name, name);
        entry->isDir = (dir->data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
        entry->isLink = (dir->data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ? 1 : 0;
        return 1;
    }
}

int platTreeDeleteFile(PlatTreeDir* dir, const char* name) {
    return platDeleteFile(childPath(dir, name).c_str());
}

int platTreeRemoveDir(PlatTreeDir* dir, const char* name) {
    return platRemoveDir(childPath(dir, name).c_str());
}

int platTreeRemoveLink(PlatTreeDir* dir, const char* name) {
    return platRemoveLink(childPath(dir, name).c_str());
}

int platTreeCopyFile(PlatTreeDir* from, const char* name, PlatTreeDir* to, const char* toName) {
    std::string source = childPath(from, name);
    DWORD attributes = GetFileAttributesA(source.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return failWith("a link, not a file");
    return platCopyFile(source.c_str(), childPath(to, toName).c_str());
}

std::string loggedPath(const char* path) { return path; }
