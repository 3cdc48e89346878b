// Material blocks of the .m3d file.
#include <cstring>

#include "driver/console.h"
#include "export/textout.h"
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
    meshText("material ");
    meshText(name);
    meshText(" {\ncolor ");
    meshHex6((uint32_t)m.color);
    meshChar('\n');
    if (m.mapName[0]) {
        meshText("texture ");
        meshText(vexaRelativePath(m.mapName));
        meshChar('\n');
        if (m.mapFirstChar == '_') {
            meshText("type TRANSPARENCY");
            if (m.transparency) meshInt(m.transparency);
            meshChar('\n');
        }
        meshText("}\n");
    } else {
        if (m.transparency) {
            meshText("type TRANSPARENCY");
            meshInt(m.transparency);
            meshChar('\n');
        }
        meshText("type LIGHT\n}\n");
    }
    return 0;
}
