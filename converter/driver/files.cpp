// What the two systems share of the converter's file handling.
#include "driver/files.h"

#include <cerrno>
#include <cstring>

#include "driver/console.h"

static int asciiLower(int c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

bool sameIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (asciiLower((unsigned char)*a) != asciiLower((unsigned char)*b)) return false;
    return *a == *b;
}

int finishOutput(FILE* f, int firstError, const char* path) {
    int error = firstError;
    if (fflush(f) != 0 && !error) error = errno ? errno : EIO;
    if (ferror(f) && !error) error = EIO;  // failed earlier, reason unknown
    if (fclose(f) != 0 && !error) error = errno ? errno : EIO;
    if (error == 0) return 0;
    say("erreur : ecriture du fichier %s impossible (%s), fichier supprime\n", path, strerror(error));
    remove(path);
    return -1;
}
