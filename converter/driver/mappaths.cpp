// Texture search paths and texture lookup.
#include "driver/mappaths.h"

#include <cstring>

#include "driver/console.h"
#include "driver/files.h"

char mapPaths[kMaxMapPaths][kPathChars];
int mapPathCount;

void resetMapPaths() { mapPathCount = 0; }


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

void scanProjectBytes(const unsigned char* bytes, int n) {
    static char text[kProjectScanBytes + 1];
    if (n > kProjectScanBytes) n = kProjectScanBytes;
    // a colon and backslash whose backslash is the last byte read start no path
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
}

int scanProjectFile(const char* path) {
    say("ouverture du fichier projet : %s\n", path);
    FILE* f = openInput(path);
    if (!f) {
        say("ficher %s introuvable\n", path);
        return -1;
    }
    static unsigned char bytes[kProjectScanBytes];
    int n = (int)fread(bytes, 1, sizeof bytes, f);
    fclose(f);
    scanProjectBytes(bytes, n);
    return 0;
}

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
        FILE* f = openInput(combined);
        if (f) {
            fclose(f);
            memcpy(name, combined, entryLen + nameLen + 1);
            return 0;
        }
    }
    say("map %s not found\n", name);
    return -1;
}
