// Opening input files with Windows name matching.
#include "driver/files.h"

#include <filesystem>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

static int asciiLower(int c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

bool sameIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (asciiLower((unsigned char)*a) != asciiLower((unsigned char)*b)) return false;
    return *a == *b;
}

#ifndef _WIN32
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
#endif

#ifndef _WIN32
// A directory opens for reading here but not on Windows: it is no file.
static FILE* openFile(const char* path) {
    FILE* f = fopen(path, "rb");
    struct stat st;
    if (f && fstat(fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
        fclose(f);
        return nullptr;
    }
    return f;
}
#endif

FILE* openInput(const char* path) {
#ifdef _WIN32
    return fopen(path, "rb");
#else
    FILE* f = openFile(path);
    if (!f) {
        std::string actual = matchIgnoringCase(path);
        if (!actual.empty()) f = openFile(actual.c_str());
    }
    return f;
#endif
}
