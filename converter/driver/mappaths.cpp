// Texture search paths and texture lookup.
#include "driver/mappaths.h"

#include <cstring>
#include <filesystem>
#include <string>

#include "driver/console.h"

char mapPaths[kMaxMapPaths][kPathChars];
int mapPathCount;

void resetMapPaths() { mapPathCount = 0; }

static int asciiLower(int c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

static bool sameIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (asciiLower((unsigned char)*a) != asciiLower((unsigned char)*b)) return false;
    return *a == *b;
}

static void slashes(char* s) {
    for (; *s; ++s)
        if (*s == '\\') *s = '/';
}

// Copies at most kPathChars - 1 characters of text (or len characters when
// given) into dst; a longer text is cut with a warning.
static void copyPath(char* dst, const char* text, size_t len) {
    if (len >= (size_t)kPathChars) {
        say("attention : chemin trop long coupe a %d caracteres : %.*s\n", kPathChars - 1,
            kPathChars - 1, text);
        len = kPathChars - 1;
    }
    memcpy(dst, text, len);
    dst[len] = 0;
}

static void needSlot() {
    if (mapPathCount >= kMaxMapPaths)
        stopConversion("erreur : plus de %d chemins de textures dans le projet\n", kMaxMapPaths);
}

void addProjectDirectory(const char* path) {
    needSlot();
    char* entry = mapPaths[mapPathCount];
    copyPath(entry, path, strlen(path));
    slashes(entry);
    char* last = strrchr(entry, '/');
    if (last)
        last[1] = 0;
    else
        entry[0] = 0;
    say("map path : %s\n", entry);
    ++mapPathCount;
}

int addMapPath(const char* text) {
    char entry[kPathChars];
    size_t len = strlen(text);
    if (len + 1 >= (size_t)kPathChars) {
        say("attention : chemin trop long coupe a %d caracteres : %.*s\n", kPathChars - 2,
            kPathChars - 2, text);
        len = kPathChars - 2;
    }
    memcpy(entry, text, len);
    entry[len] = '/';
    entry[len + 1] = 0;
    slashes(entry);
    for (int i = 0; i < mapPathCount; ++i)
        if (sameIgnoringCase(mapPaths[i], entry)) return -1;
    needSlot();
    memcpy(mapPaths[mapPathCount], entry, len + 2);
    say("map path : %s\n", entry);
    ++mapPathCount;
    return 0;
}

int scanProjectFile(const char* path) {
    say("ouverture du fichier projet : %s\n", path);
    FILE* f = fopen(path, "rb");
    if (!f) {
        say("ficher %s introuvable\n", path);
        return -1;
    }
    static unsigned char bytes[kProjectScanBytes];
    int n = (int)fread(bytes, 1, sizeof bytes, f);
    fclose(f);
    char text[kProjectScanBytes + 1];
    // a ":\" whose backslash is the last byte read starts no path
    for (int i = 1; i < n - 2; ++i) {
        if (bytes[i] != ':' || bytes[i + 1] != '\\') continue;
        // the path runs from its drive letter to the next NUL, or to the end
        // of the bytes read
        int end = i - 1;
        while (end < n && bytes[end] != 0) ++end;
        memcpy(text, bytes + i - 1, end - (i - 1));
        text[end - (i - 1)] = 0;
        addMapPath(text);
    }
    return 0;
}

static bool fileExists(const char* path) {
    FILE* f = fopen(path, "rb");
    if (!f) return false;
    fclose(f);
    return true;
}

#ifndef _WIN32
// Scenes come from Windows, where file names match ignoring case. When the
// path does not exist as written, look each component up ignoring ASCII case.
static bool existsIgnoringCase(const char* path) {
    namespace fs = std::filesystem;
    std::string p(path);
    std::string current;
    size_t pos = 0;
    if (!p.empty() && p[0] == '/') {
        current = "/";
        pos = 1;
    }
    while (pos <= p.size()) {
        size_t slash = p.find('/', pos);
        std::string part = p.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
        bool last = slash == std::string::npos;
        if (!part.empty()) {
            std::error_code ec;
            std::string dir = current.empty() ? "." : current;
            std::string exact = current + part;
            if (fs::exists(exact, ec)) {
                current = exact;
            } else {
                bool found = false;
                for (fs::directory_iterator it(dir, ec), endIt; !ec && it != endIt; it.increment(ec)) {
                    std::string name = it->path().filename().string();
                    if (sameIgnoringCase(name.c_str(), part.c_str())) {
                        current += name;
                        found = true;
                        break;
                    }
                }
                if (!found) return false;
            }
            if (!last) current += '/';
        }
        if (last) break;
        pos = slash + 1;
    }
    return fileExists(current.c_str());
}
#endif

int resolveMapName(char* name) {
    char combined[kPathChars];
    size_t nameLen = strlen(name);
    for (int i = 0; i < mapPathCount; ++i) {
        size_t entryLen = strlen(mapPaths[i]);
        if (entryLen + nameLen >= (size_t)kPathChars) {
            say("attention : chemin %s%s trop long, ignore\n", mapPaths[i], name);
            continue;
        }
        memcpy(combined, mapPaths[i], entryLen);
        memcpy(combined + entryLen, name, nameLen + 1);
        bool found = fileExists(combined);
#ifndef _WIN32
        if (!found) found = existsIgnoringCase(combined);
#endif
        if (found) {
            memcpy(name, combined, entryLen + nameLen + 1);
            return 0;
        }
    }
    say("map %s not found\n", name);
    return -1;
}
