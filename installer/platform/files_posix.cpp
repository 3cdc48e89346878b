// Files, directories, language and system paths on Linux.
#include "files.h"
#include "files_stdio.h"
#include "unlogged.h"
#include "hostpath_posix.h"
#include "system.h"
#include "../base/log.h"
#include "../base/text.h"
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool exists(const std::string& p) {
    struct stat st;
    return lstat(p.c_str(), &st) == 0;
}

// Finds an entry of dir equal to name ignoring case; "" when none.
std::string findNoCase(const std::string& dir, const std::string& name) {
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return "";
    std::string found;
    while (dirent* e = readdir(d))
        if (textEqualNoCase(e->d_name, name.c_str())) {
            found = e->d_name;
            break;
        }
    closedir(d);
    return found;
}

void copyOut(char* out, int size, const std::string& s) {
    if (size <= 0) return;
    size_t n = s.size() < static_cast<size_t>(size - 1) ? s.size() : static_cast<size_t>(size - 1);
    std::memcpy(out, s.data(), n);
    out[n] = 0;
}
}  // namespace

std::string hostPath(const char* windowsPath) {
    std::string p = windowsPath ? windowsPath : "";
    for (char& c : p)
        if (c == '\\') c = '/';
    if (p.empty() || exists(p)) return p;
    // the usual case of a new file in an existing directory: only the last name
    // is looked up, and a lookup repeated before the directory changes is remembered
    size_t slash = p.find_last_of('/');
    std::string parent = slash == std::string::npos ? "." : (slash == 0 ? "/" : p.substr(0, slash));
    std::string last = slash == std::string::npos ? p : p.substr(slash + 1);
    struct stat dirStat;
    if (!last.empty() && stat(parent.c_str(), &dirStat) == 0 && S_ISDIR(dirStat.st_mode)) {
        static std::string memoPath, memoResult;
        static struct timespec memoTime;
        static ino_t memoInode;
        if (p == memoPath && dirStat.st_ino == memoInode && dirStat.st_mtim.tv_sec == memoTime.tv_sec &&
            dirStat.st_mtim.tv_nsec == memoTime.tv_nsec)
            return memoResult;
        std::string found = findNoCase(parent, last);
        std::string result = found.empty() ? p : (slash == std::string::npos ? found : p.substr(0, slash + 1) + found);
        memoPath = p;
        memoResult = result;
        memoTime = dirStat.st_mtim;
        memoInode = dirStat.st_ino;
        return result;
    }
    // resolve component by component
    std::string result;
    size_t i = 0;
    if (p[0] == '/') {
        result = "/";
        i = 1;
    }
    while (i <= p.size()) {
        size_t j = p.find('/', i);
        if (j == std::string::npos) j = p.size();
        std::string comp = p.substr(i, j - i);
        if (!comp.empty()) {
            std::string base = result;
            std::string candidate = base + comp;
            if (!exists(candidate)) {
                std::string found = findNoCase(base.empty() ? "." : base, comp);
                if (!found.empty()) candidate = base + found;
            }
            result = candidate;
        }
        if (j < p.size()) result += '/';
        i = j + 1;
    }
    return result;
}

namespace {
// The length of the valid UTF-8 sequence of two to four bytes starting at p
// (overlong forms, surrogates and code points past U+10FFFF are not valid), or 0.
size_t utf8SequenceAt(const unsigned char* p) {
    unsigned c = p[0];
    size_t n;
    unsigned low = 0x80, high = 0xBF;  // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        if (c == 0xE0) low = 0xA0;
        if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        if (c == 0xF0) low = 0x90;
        if (c == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (p[1] < low || p[1] > high) return 0;
    for (size_t k = 2; k < n; k++)
        if ((p[k] & 0xC0) != 0x80) return 0;
    return n;
}
}  // namespace

std::string toUtf8(const char* text) {
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text ? text : ""); *p; p++) {
        unsigned c = *p;
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        // a text from a UTF-8 file (or a name the system gave) is shown as it is
        if (size_t n = utf8SequenceAt(p)) {
            out.append(reinterpret_cast<const char*>(p), n);
            p += n - 1;
            continue;
        }
        if (c < 0xA0) c = kWindows1252High[c - 0x80];
        if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string platTextFromUtf8(const std::string& text) { return text; }

std::string fromUtf8(const std::string& text) { return windows1252FromUtf8(text, true); }

bool makeHostDirs(const std::string& dir) {
    struct stat st;
    if (stat(dir.c_str(), &st) != 0) {
        size_t slash = dir.find_last_of('/');
        if (slash != std::string::npos && slash > 0 && !makeHostDirs(dir.substr(0, slash))) return false;
        if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (stat(dir.c_str(), &st) != 0) return false;
    }
    if (S_ISDIR(st.st_mode)) return true;
    errno = ENOTDIR;
    return false;
}

int platProgramPath(char* out, int size) {
    ssize_t n = readlink("/proc/self/exe", out, static_cast<size_t>(size - 1));
    if (n <= 0 || n >= size - 1) return -1;
    out[n] = 0;
    return 0;
}

int platSetCurrentDir(const char* dir) {
    std::string p = hostPath(dir);
    return chdir(p.c_str()) == 0 ? 0 : -1;
}

int platGetCurrentDir(char* out, int size) {
    return getcwd(out, static_cast<size_t>(size)) ? 0 : -1;
}

namespace {
// Why the last failed operation failed, for platFailureText.
std::string lastFailure;

int failWith(const char* why) {
    lastFailure = why;
    return -1;
}
int failErrno() {
    int saved = errno;
    lastFailure = std::strerror(saved);
    errno = saved;
    return -1;
}

// Opens path without waiting (a pipe with no writer, a device) and keeps the
// descriptor only when it is a regular file; -1 otherwise.
int openRegular(int dirFd, const char* path, int flags, mode_t mode, struct stat* st) {
    int fd = openat(dirFd, path, flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
    // a pipe that nobody reads refuses a writer that will not wait
    if (fd < 0 && errno == ENXIO) return failWith("not a regular file (a pipe, socket or device)");
    if (fd < 0) return failErrno();
    if (fstat(fd, st) != 0) {
        failErrno();
        close(fd);
        return -1;
    }
    if (!S_ISREG(st->st_mode)) {
        close(fd);
        errno = EINVAL;
        return failWith(S_ISDIR(st->st_mode) ? "a directory, not a file" : "not a regular file (a pipe, socket or device)");
    }
    // reads and writes of a regular file may wait for the disk as usual (of
    // the open flags, F_SETFL takes only the status ones)
    fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}
}  // namespace

const char* platFailureText() { return lastFailure.c_str(); }

PlatFile* unloggedFileOpen(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    std::string p = hostPath(path);
    bool plus = std::strchr(mode, '+') != nullptr;
    bool exclusive = std::strchr(mode, 'x') != nullptr;
    int flags;
    const char* streamMode;
    switch (mode[0]) {
    case 'r':
        flags = plus ? O_RDWR : O_RDONLY;
        streamMode = plus ? "r+" : "r";
        break;
    case 'w':
        flags = (plus ? O_RDWR : O_WRONLY) | O_CREAT | (exclusive ? O_EXCL | O_NOFOLLOW : 0);
        streamMode = plus ? "w+" : "w";
        break;
    case 'a':
        flags = (plus ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND;
        streamMode = plus ? "a+" : "a";
        break;
    default:
        failWith("unknown open mode");
        return nullptr;
    }
    struct stat st;
    int fd = openRegular(AT_FDCWD, p.c_str(), flags, 0666, &st);
    if (fd < 0) return nullptr;
    // emptied only once it is known to be a regular file
    if (mode[0] == 'w' && !exclusive && ftruncate(fd, 0) != 0) {
        failErrno();
        close(fd);
        return nullptr;
    }
    FILE* f = fdopen(fd, streamMode);
    if (!f) {
        failErrno();
        close(fd);
        return nullptr;
    }
    return new PlatFile{f};
}

int platFileSync(PlatFile* file) {
    if (!file || std::fflush(file->stream) != 0 || fsync(fileno(file->stream)) != 0) return failErrno();
    return 0;
}

int platPathMatches(const char* pattern) {
    std::string p = pattern ? pattern : "";
    for (char& c : p)
        if (c == '\\') c = '/';
    size_t slash = p.rfind('/');
    std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : p.substr(0, slash));
    std::string last = slash == std::string::npos ? p : p.substr(slash + 1);
    if (last.find_first_of("*?") == std::string::npos) return exists(hostPath(pattern)) ? 1 : 0;
    DIR* d = opendir(hostPath(dir.c_str()).c_str());
    if (!d) return 0;
    int found = 0;
    while (dirent* e = readdir(d)) {
        if (!std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, "..")) continue;
        if (wildcardMatchNoCase(last.c_str(), e->d_name)) {
            found = 1;
            break;
        }
    }
    closedir(d);
    return found;
}

int platFileNonEmpty(const char* path) {
    struct stat st;
    std::string p = hostPath(path);
    return stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
}

int unloggedCreateTempFile(const char* dir, const char* prefix, char* out, int size) {
    std::string hostDir = hostPath(dir);
    std::string windowsDir = dir;
    if (!windowsDir.empty() && windowsDir.back() != '\\' && windowsDir.back() != '/') windowsDir += '\\';
    std::string pre = std::string(prefix).substr(0, 3);
    unsigned start = static_cast<unsigned>(std::time(nullptr) ^ (static_cast<unsigned>(getpid()) << 4)) & 0xFFFF;
    for (unsigned k = 0; k < 0x10000; k++) {
        unsigned unique = (start + k) & 0xFFFF;
        if (!unique) continue;
        char name[32];
        std::snprintf(name, sizeof name, "%s%X.tmp", pre.c_str(), unique);
        std::string host = hostDir + (hostDir.empty() || hostDir.back() == '/' ? "" : "/") + name;
        int fd = open(host.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
        if (fd >= 0) {
            close(fd);
            std::string result = windowsDir + name;
            if (result.size() >= static_cast<size_t>(size)) {
                unlink(host.c_str());
                return -1;
            }
            copyOut(out, size, result);
            return 0;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

const char* platEnv(const char* name) { return std::getenv(name); }

void platSystemDir(char* out, int size) { copyOut(out, size, "/usr/lib"); }
void platWindowsDir(char* out, int size) { copyOut(out, size, "/usr"); }

void platTempDir(char* out, int size) {
    const char* t = std::getenv("TMPDIR");
    std::string dir = (t && *t) ? t : "/tmp";
    if (dir.back() != '/') dir += '/';  // as Windows gives it, with the final separator
    copyOut(out, size, dir);
}

unsigned platUserLanguage() {
    const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::string locale;
    for (const char* n : names) {
        const char* v = std::getenv(n);
        if (v && *v) {
            locale = v;
            break;
        }
    }
    if (locale.empty() || locale == "C" || locale == "POSIX" || locale.compare(0, 2, "C.") == 0)
        return 0x0409;  // English
    size_t cut = locale.find_first_of("_.@");
    std::string lang = locale.substr(0, cut);
    std::string country;
    if (cut != std::string::npos && locale[cut] == '_') country = locale.substr(cut + 1, 2);
    struct LangId {
        const char* iso;
        unsigned id;
    };
    static const LangId ids[] = {
        {"ar", 1}, {"bg", 2}, {"ca", 3}, {"zh", 4}, {"cs", 5}, {"da", 6}, {"de", 7}, {"el", 8},
        {"en", 9}, {"es", 10}, {"fi", 11}, {"fr", 12}, {"he", 13}, {"hu", 14}, {"is", 15},
        {"it", 16}, {"ja", 17}, {"ko", 18}, {"nl", 19}, {"nb", 20}, {"nn", 20}, {"no", 20},
        {"pl", 21}, {"pt", 22}, {"rm", 23}, {"ro", 24}, {"ru", 25}, {"hr", 26}, {"sr", 26},
        {"bs", 26}, {"sk", 27}, {"sq", 28}, {"sv", 29}, {"th", 30}, {"tr", 31}, {"ur", 32},
        {"id", 33}, {"uk", 34}, {"be", 35}, {"sl", 36}, {"et", 37}, {"lv", 38}, {"lt", 39},
        {"tg", 40}, {"fa", 41}, {"vi", 42}, {"hy", 43}, {"az", 44}, {"eu", 45}, {"mk", 47},
        {"af", 54}, {"ka", 55}, {"fo", 56}, {"hi", 57}, {"mt", 58}, {"ms", 62}, {"kk", 63},
        {"ky", 64}, {"sw", 65}, {"uz", 67}, {"tt", 68}, {"bn", 69}, {"pa", 70}, {"gu", 71},
        {"or", 72}, {"ta", 73}, {"te", 74}, {"kn", 75}, {"ml", 76}, {"as", 77}, {"mr", 78},
        {"sa", 79}, {"kok", 87}, {"mni", 88}, {"sd", 89}, {"ks", 96}, {"ne", 97},
    };
    unsigned primary = 0;  // neutral when the language is unknown
    for (const LangId& l : ids)
        if (lang == l.iso) primary = l.id;
    unsigned sub = 1;  // the default sublanguage
    if (primary == 4) {
        if (country == "TW") sub = 1;        // traditional
        else if (country == "HK") sub = 3;
        else if (country == "SG") sub = 4;
        else if (country == "MO") sub = 5;
        else sub = 2;                        // simplified (zh_CN, or no country)
    }
    return (sub << 10) | primary;
}

// ---- file operations

namespace {
// Copies the bytes of an open file into another; false on any error.
bool copyBytes(int in, int out) {
    for (;;) {
        ssize_t n = copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
        if (n == 0) return true;
        if (n < 0) break;  // not supported here: plain reads and writes
    }
    static char buffer[1 << 18];
    for (;;) {
        ssize_t n = read(in, buffer, sizeof buffer);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        for (ssize_t done = 0; done < n;) {
            ssize_t w = write(out, buffer + done, static_cast<size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            done += w;
        }
    }
}

// Creates a new temporary file in the directory dirFd, never through a link;
// its name goes to name.
int createTemp(int dirFd, std::string& name) {
    // names differ between processes and runs by the seed, within a run by
    // the counter (asked of the system once, not for each of a tree's files)
    static const unsigned seed = static_cast<unsigned>(getpid()) * 2654435761u ^
                                 static_cast<unsigned>(std::time(nullptr)) ^ static_cast<unsigned>(clock());
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; attempt++) {
        unsigned mix = seed ^ (++counter * 40503u);
        char text[32];
        std::snprintf(text, sizeof text, ".setup%06x", mix & 0xFFFFFF);
        int fd = openat(dirFd, text, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            name = text;
            return fd;
        }
        if (errno != EEXIST) return failErrno();
    }
    return failErrno();
}

// Copies the open regular file in (of the given status) to toName in the
// directory dirFd. A new file is written in place: nothing was there to keep,
// and a failed copy removes it again. Over an existing name (a link too) it is
// written beside it under a temporary name, then renamed over it, so whatever
// was there is replaced, never written through, and stays as it was when the
// copy fails.
int copyInto(int in, const struct stat& st, int dirFd, const char* toName) {
    std::string temp;
    int out = openat(dirFd, toName, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    bool inPlace = out >= 0;
    if (!inPlace) {
        if (errno != EEXIST) return failErrno();
        out = createTemp(dirFd, temp);
        if (out < 0) return -1;
    }
    // the source's permission bits, and writable by its owner
    bool ok = copyBytes(in, out) && fchmod(out, (st.st_mode & 0777) | S_IWUSR) == 0;
    if (!ok) failErrno();
    if (close(out) != 0 && ok) {
        failErrno();
        ok = false;
    }
    if (ok && (inPlace || renameat(dirFd, temp.c_str(), dirFd, toName) == 0)) return 0;
    if (ok) failErrno();
    int saved = errno;
    unlinkat(dirFd, inPlace ? toName : temp.c_str(), 0);
    errno = saved;
    return -1;
}

// Splits a Linux path into its directory and its last name ("" when it ends
// with a slash).
void splitLast(const std::string& path, std::string& dir, std::string& name) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        dir = ".";
        name = path;
    } else {
        dir = slash == 0 ? "/" : path.substr(0, slash);
        name = path.substr(slash + 1);
    }
}

// Copies host file from onto host file to.
int copyHostFile(const std::string& from, const std::string& to) {
    std::string dir, name;
    splitLast(to, dir, name);
    if (name.empty() || name == "." || name == "..") return failWith("the target is a directory");
    struct stat st;
    int in = openRegular(AT_FDCWD, from.c_str(), O_RDONLY, 0, &st);
    if (in < 0) return -1;
    int dirFd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        failErrno();
        close(in);
        return -1;
    }
    int result = copyInto(in, st, dirFd, name.c_str());
    close(dirFd);
    close(in);
    return result;
}

}  // namespace

struct PlatDirList {
    DIR* dir;
    std::string path;
    dev_t device;
};

int unloggedCreateDir(const char* path) {
    std::string p = hostPath(path);
    if (mkdir(p.c_str(), 0755) == 0) return 0;
    struct stat st;
    if (errno == EEXIST && stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return 1;
    return failErrno();
}

int platClearAttributes(const char* path) {
    std::string p = hostPath(path);
    struct stat st;
    if (lstat(p.c_str(), &st) != 0 || S_ISLNK(st.st_mode)) return -1;
    if (st.st_mode & S_IWUSR) return 0;
    return chmod(p.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0 ? 0 : -1;
}

int unloggedDeleteFile(const char* path) {
    std::string p = hostPath(path);
    struct stat st;
    if (lstat(p.c_str(), &st) != 0) return failErrno();
    if (S_ISDIR(st.st_mode)) return failWith("a directory, not a file");
    if (S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR)) {
        errno = EACCES;  // read-only, as on Windows
        return failWith("read-only");
    }
    return unlink(p.c_str()) == 0 ? 0 : failErrno();
}

int unloggedRemoveDir(const char* path) {
    std::string p = hostPath(path);
    return rmdir(p.c_str()) == 0 ? 0 : failErrno();
}

int unloggedRemoveLink(const char* path) {
    std::string p = hostPath(path);
    while (p.size() > 1 && p.back() == '/') p.pop_back();  // "link/" would name what it leads to
    struct stat st;
    if (lstat(p.c_str(), &st) != 0) return failErrno();
    if (S_ISLNK(st.st_mode)) return unlink(p.c_str()) == 0 ? 0 : failErrno();
    // a mount point: only an empty directory would go
    return rmdir(p.c_str()) == 0 ? 0 : failErrno();
}

int unloggedCopyFile(const char* from, const char* to) {
    if (!from || !to) return failWith("a path is missing");
    return copyHostFile(hostPath(from), hostPath(to));
}

int unloggedMoveFile(const char* from, const char* to) {
    if (!from || !to) return failWith("a path is missing");
    std::string source = hostPath(from);
    std::string target = hostPath(to);
    struct stat st;
    if (lstat(source.c_str(), &st) != 0) return failErrno();
    if (rename(source.c_str(), target.c_str()) == 0) return 0;
    if (errno != EXDEV || !S_ISREG(st.st_mode)) return failErrno();
    // another file system: copy, then delete the source
    if (copyHostFile(source, target) != 0) return -1;
    return unlink(source.c_str()) == 0 ? 0 : failErrno();
}

PlatDirList* platOpenDir(const char* dir) {
    std::string p = hostPath(dir);
    if (p.empty()) p = ".";
    struct stat st;
    if (stat(p.c_str(), &st) != 0) return nullptr;
    DIR* d = opendir(p.c_str());
    if (!d) return nullptr;
    return new PlatDirList{d, p, st.st_dev};
}

int platReadDir(PlatDirList* l, PlatDirEntry* entry) {
    while (dirent* e = readdir(l->dir)) {
        if (std::strlen(e->d_name) >= sizeof entry->name) continue;  // cannot be named here
        std::strcpy(entry->name, e->d_name);
        entry->isDir = 0;
        entry->isLink = 0;
        if (!std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, "..")) {
            entry->isDir = 1;
            return 1;
        }
        std::string full = l->path + (l->path.back() == '/' ? "" : "/") + e->d_name;
        struct stat st;
        if (lstat(full.c_str(), &st) != 0) continue;  // gone meanwhile
        if (S_ISLNK(st.st_mode)) {
            struct stat target;
            entry->isLink = 1;
            entry->isDir = stat(full.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
        } else if (S_ISDIR(st.st_mode)) {
            entry->isDir = 1;
            entry->isLink = st.st_dev != l->device;  // a mount point
        }
        return 1;
    }
    return 0;
}

void platCloseDir(PlatDirList* l) {
    if (!l) return;
    closedir(l->dir);
    delete l;
}

int platFixedDrives(char (*roots)[kPathBytes], int max) {
    int count = 0;
    auto add = [&](const std::string& root) {
        if (count >= max || root.empty() || root.size() >= static_cast<size_t>(kPathBytes)) return;
        for (int i = 0; i < count; i++)
            if (root == roots[i]) return;
        std::strcpy(roots[count++], root.c_str());
    };
    const char* override = std::getenv("SETUP_SEARCH_ROOTS");
    if (override) {
        std::string list = override;
        size_t start = 0;
        while (start <= list.size()) {
            size_t end = list.find(':', start);
            if (end == std::string::npos) end = list.size();
            add(list.substr(start, end - start));
            start = end + 1;
        }
        return count;
    }
    // local disk file systems; removable media are mounted under /media and /run/media
    static const char* const diskTypes[] = {"ext2", "ext3", "ext4", "xfs", "btrfs", "f2fs", "jfs",
                                            "reiserfs", "zfs", "vfat", "exfat", "ntfs", "ntfs3", "fuseblk"};
    FILE* mounts = std::fopen("/proc/self/mounts", "r");
    if (!mounts) return 0;
    char line[4096];
    while (std::fgets(line, sizeof line, mounts)) {
        char device[1024], where[1024], type[64];
        if (std::sscanf(line, "%1023s %1023s %63s", device, where, type) != 3) continue;
        bool disk = false;
        for (const char* t : diskTypes)
            if (!std::strcmp(type, t)) disk = true;
        std::string point = where;
        // the mounts file writes a space as \040
        for (size_t at; (at = point.find("\\040")) != std::string::npos;) point.replace(at, 4, " ");
        if (!disk || point.compare(0, 7, "/media/") == 0 || point.compare(0, 11, "/run/media/") == 0) continue;
        add(point);
    }
    std::fclose(mounts);
    return count;
}

// ---- tree walks through directory descriptors

struct PlatTreeDir {
    int fd;
    DIR* listing;  // opened on the first read, on a copy of fd
    dev_t device;
    std::string path;  // for the install log only: never opened by its name
};

namespace {
// The path of an entry of a walked directory, as the install log shows it.
std::string treeChild(const PlatTreeDir* dir, const char* name) {
    return dir->path + (!dir->path.empty() && dir->path.back() == '/' ? "" : "/") + name;
}

// Why name (in dirFd) could not be opened as a directory.
PlatTreeStatus whyNotOpened(int dirFd, const char* name) {
    struct stat st;
    if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return (errno == ENOENT || errno == ENOTDIR) ? TreeMissing : TreeUnreadable;
    if (S_ISLNK(st.st_mode)) return TreeIsLink;
    if (!S_ISDIR(st.st_mode)) return TreeNotDir;
    return TreeUnreadable;
}

// Opens name of dirFd as a directory, never through a link in its last name.
PlatTreeDir* openTreeDir(int dirFd, const char* name, int followLink, const dev_t* parentDevice,
                         const std::string& shownPath, PlatTreeStatus* status) {
    int fd = openat(dirFd, name, O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW));
    if (fd < 0) {
        failErrno();
        *status = whyNotOpened(dirFd, name);
        return nullptr;
    }
    struct stat st;
    if (fstat(fd, &st) != 0) {
        failErrno();
        close(fd);
        *status = TreeUnreadable;
        return nullptr;
    }
    if (parentDevice && st.st_dev != *parentDevice) {
        close(fd);  // a mount point: another file system is never entered
        *status = TreeIsLink;
        return nullptr;
    }
    *status = TreeOpened;
    return new PlatTreeDir{fd, nullptr, st.st_dev, shownPath};
}
}  // namespace

PlatTreeDir* platTreeOpen(const char* path, int followLink, PlatTreeStatus* status) {
    std::string p = hostPath(path);
    // a final slash would follow a link of that name
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    if (p.empty()) {
        *status = TreeMissing;
        return nullptr;
    }
    return openTreeDir(AT_FDCWD, p.c_str(), followLink, nullptr, p, status);
}

PlatTreeDir* platTreeOpenSub(PlatTreeDir* dir, const char* name, PlatTreeStatus* status) {
    return openTreeDir(dir->fd, name, 0, &dir->device, treeChild(dir, name), status);
}

PlatTreeDir* platTreeMakeSub(PlatTreeDir* dir, const char* name, PlatTreeStatus* status) {
    if (mkdirat(dir->fd, name, 0755) != 0) {
        if (errno != EEXIST) {
            failErrno();
            logChange("folder created", treeChild(dir, name).c_str(), nullptr, -1, platFailureText());
            *status = whyNotOpened(dir->fd, name);
            if (*status == TreeMissing) *status = TreeUnreadable;
            return nullptr;
        }
    } else {
        logChange("folder created", treeChild(dir, name).c_str(), nullptr, 0);
    }
    return platTreeOpenSub(dir, name, status);
}

void platTreeClose(PlatTreeDir* dir) {
    if (!dir) return;
    if (dir->listing) closedir(dir->listing);
    close(dir->fd);
    delete dir;
}

int platTreeRead(PlatTreeDir* dir, PlatDirEntry* entry) {
    if (!dir->listing) {
        int copy = dup(dir->fd);
        if (copy < 0) {
            failErrno();
            return 0;
        }
        dir->listing = fdopendir(copy);
        if (!dir->listing) {
            failErrno();
            close(copy);
            return 0;
        }
    }
    while (dirent* e = readdir(dir->listing)) {
        if (!std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, "..")) continue;
        if (std::strlen(e->d_name) >= sizeof entry->name) continue;  // longer than any composed path
        struct stat st;
        if (fstatat(dir->fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;  // gone meanwhile
        std::strcpy(entry->name, e->d_name);
        entry->isDir = 0;
        entry->isLink = 0;
        if (S_ISLNK(st.st_mode)) {
            struct stat target;
            entry->isLink = 1;
            entry->isDir = fstatat(dir->fd, e->d_name, &target, 0) == 0 && S_ISDIR(target.st_mode);
        } else if (S_ISDIR(st.st_mode)) {
            entry->isDir = 1;
            entry->isLink = st.st_dev != dir->device;  // a mount point
        }
        return 1;
    }
    return 0;
}

static int unloggedTreeDeleteFile(PlatTreeDir* dir, const char* name) {
    struct stat st;
    if (fstatat(dir->fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return failErrno();
    if (S_ISDIR(st.st_mode)) return failWith("a directory, not a file");
    if (S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR)) {
        errno = EACCES;  // read-only, as on Windows
        return failWith("read-only");
    }
    // unlinkat never follows a link: a link swapped in meanwhile goes itself
    return unlinkat(dir->fd, name, 0) == 0 ? 0 : failErrno();
}

static int unloggedTreeRemoveDir(PlatTreeDir* dir, const char* name) {
    return unlinkat(dir->fd, name, AT_REMOVEDIR) == 0 ? 0 : failErrno();
}

static int unloggedTreeRemoveLink(PlatTreeDir* dir, const char* name) {
    struct stat st;
    if (fstatat(dir->fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return failErrno();
    // a mount point: only an empty directory would go
    int flags = S_ISDIR(st.st_mode) ? AT_REMOVEDIR : 0;
    return unlinkat(dir->fd, name, flags) == 0 ? 0 : failErrno();
}

static int unloggedTreeCopyFile(PlatTreeDir* from, const char* name, PlatTreeDir* to, const char* toName) {
    struct stat st;
    int in = openRegular(from->fd, name, O_RDONLY | O_NOFOLLOW, 0, &st);
    if (in < 0) return -1;
    int result = copyInto(in, st, to->fd, toName);
    close(in);
    return result;
}

// ---- what the install log sees of a tree walk (the other files are logged in logged.cpp)

std::string loggedPath(const char* path) { return hostPath(path); }

int platTreeDeleteFile(PlatTreeDir* dir, const char* name) {
    int result = unloggedTreeDeleteFile(dir, name);
    if (logEnabled()) logChange("file deleted", treeChild(dir, name).c_str(), nullptr, result, platFailureText());
    return result;
}

int platTreeRemoveDir(PlatTreeDir* dir, const char* name) {
    int result = unloggedTreeRemoveDir(dir, name);
    if (logEnabled()) logChange("folder removed", treeChild(dir, name).c_str(), nullptr, result, platFailureText());
    return result;
}

int platTreeRemoveLink(PlatTreeDir* dir, const char* name) {
    int result = unloggedTreeRemoveLink(dir, name);
    if (logEnabled()) logChange("link removed", treeChild(dir, name).c_str(), nullptr, result, platFailureText());
    return result;
}

int platTreeCopyFile(PlatTreeDir* from, const char* name, PlatTreeDir* to, const char* toName) {
    int result = unloggedTreeCopyFile(from, name, to, toName);
    if (logEnabled())
        logChange("file copied", treeChild(from, name).c_str(), treeChild(to, toName).c_str(), result, platFailureText());
    return result;
}
