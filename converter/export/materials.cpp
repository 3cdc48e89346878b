// Material blocks of the .m3d file.
#include <cstring>

#include "driver/console.h"
#include "export/meshfile.h"
#include "scene/scene.h"

FILE* meshFile;

int exportName(char* dst, const char* src) {
    int i = 0;
    for (; i < kNameChars - 1 && src[i]; ++i) dst[i] = src[i] == ' ' ? '_' : src[i];
    dst[i] = 0;
    return 0;
}

static int asciiLower(int c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

const char* vexaRelativePath(const char* path) {
    static const char kSegment[] = "/vexa/";
    int len = (int)strlen(path);
    for (int i = 0; i < len - 6; ++i) {
        int k = 0;
        while (k < 6 && asciiLower((unsigned char)path[i + k]) == kSegment[k]) ++k;
        if (k < 6) continue;
        const char* slash = strchr(path + i + 6, '/');
        if (slash) return slash + 1;
    }
    say(">>WARNING : '%s' is not a Vexa file\n", path);
    return path;
}

int writeMaterialBlock(int index) {
    SceneMaterial& m = materials[index];
    progressMark('m');
    ++materialsWritten;
    char name[kNameChars];
    exportName(name, m.name);
    if (m.color == 0) m.color = 0xC0C0C0;
    fprintf(meshFile, "material %s {\ncolor %06x\n", name, (unsigned)m.color);
    if (m.mapName[0]) {
        fprintf(meshFile, "texture %s\n", vexaRelativePath(m.mapName));
        if (m.mapFirstChar == '_') {
            if (m.transparency)
                fprintf(meshFile, "type TRANSPARENCY%d\n", m.transparency);
            else
                fputs("type TRANSPARENCY\n", meshFile);
        }
        fputs("}\n", meshFile);
    } else {
        if (m.transparency) fprintf(meshFile, "type TRANSPARENCY%d\n", m.transparency);
        fputs("type LIGHT\n}\n", meshFile);
    }
    return 0;
}
