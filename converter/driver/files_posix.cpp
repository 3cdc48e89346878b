// The converter's files and memory on Linux and other POSIX systems: input
// names matched ignoring case as on Windows, the scene read through a file
// mapping guarded against a file cut short, huge pages for large tables.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include "driver/files.h"

// The path with each component replaced by the directory entry that
// matches it ignoring case; empty when some component has no match.
static std::string matchIgnoringCase(const std::string& path) {
    namespace fs = std::filesystem;
    std::string current;
    size_t pos = 0;
    if (!path.empty() && path[0] == '/') {
        current = "/";
        pos = 1;
    }
    while (pos <= path.size()) {
        size_t slash = path.find('/', pos);
        bool last = slash == std::string::npos;
        std::string part = path.substr(pos, last ? std::string::npos : slash - pos);
        if (!part.empty()) {
            std::error_code ec;
            if (fs::exists(current + part, ec)) {
                current += part;
            } else {
                bool found = false;
                fs::directory_iterator it(current.empty() ? "." : current, ec), end;
                for (; !ec && it != end; it.increment(ec)) {
                    std::string name = it->path().filename().string();
                    if (sameIgnoringCase(name.c_str(), part.c_str())) {
                        current += name;
                        found = true;
                        break;
                    }
                }
                if (!found) return std::string();
            }
            if (!last) current += '/';
        }
        if (last) break;
        pos = slash + 1;
    }
    return current;
}

// A directory opens for reading here but not on Windows: it is no file.
static FILE* openFile(const char* path) {
    FILE* f = fopen(path, "rb");
    struct stat st;
    if (f && fstat(fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
        fclose(f);
        errno = EISDIR;
        return nullptr;
    }
    return f;
}

FILE* openInput(const char* path) {
    FILE* f = openFile(path);
    if (f) return f;
    int why = errno;  // the reason for the name as given, not for the search
    std::string actual = matchIgnoringCase(path);
    if (!actual.empty() && actual != path) {
        f = openFile(actual.c_str());
        if (f) return f;
        why = errno;
    }
    errno = why;
    return nullptr;
}

long long inputSize(FILE* f) {
    struct stat st;
    if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return (long long)st.st_size;
}

static void* mapped;
static size_t mappedSize;
static char faultRemoves[4096];

// Only async-signal-safe calls: the process ends here.
static void inputCutShort(int) {
    static const char kMessage[] = "\nerreur : le fichier source a ete coupe pendant sa lecture\n";
    if (faultRemoves[0]) unlink(faultRemoves);
    ssize_t ignored = write(STDOUT_FILENO, kMessage, sizeof kMessage - 1);
    (void)ignored;
    _exit(255);
}

const unsigned char* mapInput(FILE* f, size_t size) {
    unmapInput();
    if (size == 0) return nullptr;
    void* p = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fileno(f), 0);
    if (p == MAP_FAILED) return nullptr;
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_handler = inputCutShort;
    sigemptyset(&action.sa_mask);
    sigaction(SIGBUS, &action, nullptr);
    mapped = p;
    mappedSize = size;
    return (const unsigned char*)p;
}

void unmapInput() {
    if (!mapped) return;
    munmap(mapped, mappedSize);
    mapped = nullptr;
    signal(SIGBUS, SIG_DFL);
}

void removeOnInputFault(const char* path) {
    faultRemoves[0] = 0;
    if (path && strlen(path) < sizeof faultRemoves) strcpy(faultRemoves, path);
}

void adviseHugePages(void* table, size_t bytes) {
#ifdef MADV_HUGEPAGE
    madvise(table, bytes, MADV_HUGEPAGE);  // advice only: a refusal changes nothing
#else
    (void)table;
    (void)bytes;
#endif
}
