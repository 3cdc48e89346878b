// The .3ds chunk reader. Every field is read by assembling little-endian
// bytes inside the bounds of the chunk that holds it.
#include "scene/chunks.h"

#include <cmath>
#include <cstring>

#include "collision/boxes.h"
#include "collision/obbtree.h"
#include "driver/console.h"
#include "driver/mappaths.h"
#include "export/meshfile.h"
#include "scene/scene.h"

namespace {

// Real files nest a handful of levels; a deeper nesting is damage.
constexpr int kMaxDepth = 32;
int depth;
// The object and the material under construction, if any: a record is never
// started inside one of its own kind (only a damaged file nests them).
bool objectOpen, materialOpen;

uint16_t read16(int32_t at) { return (uint16_t)(sceneData[at] | sceneData[at + 1] << 8); }

uint32_t read32(int32_t at) {
    return (uint32_t)sceneData[at] | (uint32_t)sceneData[at + 1] << 8 |
           (uint32_t)sceneData[at + 2] << 16 | (uint32_t)sceneData[at + 3] << 24;
}

float readFloat(int32_t at) {
    uint32_t bits = read32(at);
    float f;
    memcpy(&f, &bits, sizeof f);
    return f;
}

// Float to integer, truncated toward zero; values outside the 32-bit range
// saturate and NaN gives 0.
int32_t truncateFloat(float f) {
    if (std::isnan(f)) return 0;
    if (f >= 2147483648.0f) return INT32_MAX;
    if (f <= -2147483648.0f) return INT32_MIN;
    return (int32_t)f;
}

// Copies the NUL-terminated text at [at, end) of chunk id at p into dst of
// size cap. A text with no terminator before end stops at end, with a
// warning. Returns the text's length in the file (not counting the
// terminator), so the caller can step past it.
int32_t readName(uint16_t id, int32_t p, int32_t at, int32_t end, char* dst, int cap, const char* what) {
    int32_t len = 0;
    while (at + len < end && sceneData[at + len] != 0) ++len;
    int32_t kept = len < cap ? len : cap - 1;
    memcpy(dst, sceneData + at, kept);
    dst[kept] = 0;
    if (at + len >= end)
        say("attention : bloc %04x a l'octet %d : %s non termine, coupe a la fin du bloc : %s\n", id, p, what,
            dst);
    if (kept < len)
        say("attention : %s trop long coupe a %d caracteres : %s\n", what, cap - 1, dst);
    return len;
}

// A chunk whose data cannot hold its fixed fields is skipped.
bool tooShort(uint16_t id, int32_t p, int32_t end, int32_t dataBytes) {
    if (end - p - 6 >= dataBytes) return false;
    say("attention : bloc %04x a l'octet %d trop court, ignore\n", id, p);
    return true;
}

// Number of whole records of size recordSize present from at to end, with a
// warning when the count announced runs past the chunk.
int32_t recordsPresent(uint16_t id, int32_t chunkStart, int32_t at, int32_t end, int32_t count,
                       int32_t recordSize) {
    int32_t room = end > at ? (end - at) / recordSize : 0;
    if (count <= room) return count;
    say("attention : bloc %04x a l'octet %d : %d elements annonces, %d presents\n", id,
        chunkStart, count, room);
    return room;
}

void readMaterial(int32_t p, int32_t end) {
    if (materialCount >= kMaxMaterials)
        stopConversion("erreur : capacite depassee : plus de %d materiaux\n", kMaxMaterials);
    SceneMaterial& m = materials[materialCount];
    m.name[0] = 0;
    m.mapName[0] = 0;
    m.mapFirstChar = 0;
    m.color = 0xC0C0C0;
    m.transparency = 0;
    m.flags = 0;
    m.written = 0;
    materialOpen = true;
    readChunks(p + 6, end);
    materialOpen = false;
    ++materialCount;
}

void readTextureName(int32_t p, int32_t end) {
    SceneMaterial& m = materials[materialCount];
    readName(0xA300, p, p + 6, end, m.mapName, kPathChars, "nom de texture");
    m.mapFirstChar = m.mapName[0];
    resolveMapName(m.mapName);
    size_t len = strlen(m.mapName);
    if (len >= 3) {
        char* ext = m.mapName + len - 3;
        bool jpg = (ext[0] | 0x20) == 'j' && (ext[1] | 0x20) == 'p' && (ext[2] | 0x20) == 'g';
        if (!jpg) memcpy(ext, "bmp", 3);
    }
}

// A face with a corner outside the object's vertices is kept as a removed
// face, so that the face-material indices still name the faces of the file.
void dropFacesOutsideObject(const SceneObject& o) {
    int32_t last = o.firstVertex + o.vertexCount;
    for (int32_t i = 0; i < o.faceCount; ++i) {
        SceneFace& f = faces[o.firstFace + i];
        if (f.corner0 < last && f.corner1 < last && f.corner2 < last) continue;
        say("attention : objet %s, face %d : sommet hors de l'objet, face ignoree\n", o.name, i);
        f.flags = kFaceGone;
        f.corner0 = f.corner1 = f.corner2 = o.firstVertex;
    }
}

void readObject(int32_t p, int32_t end) {
    SceneObject& o = objects[objectCount];
    int32_t len = readName(0x4000, p, p + 6, end, o.name, kNameChars, "nom d'objet");
    o.firstVertex = vertexTotal;
    o.firstFace = faceTotal;
    o.vertexCount = 0;
    o.faceCount = 0;
    o.vertexRecords = 0;
    objectOpen = true;
    readChunks(p + 6 + len + 1, end);
    objectOpen = false;
    if (o.vertexCount == 0 || o.faceCount == 0) return;  // lights, cameras, empty objects
    dropFacesOutsideObject(o);
    if (objectCount >= kMaxObjects)
        stopConversion("erreur : capacite depassee : plus de %d objets\n", kMaxObjects);
    vertexTotal += o.vertexCount;
    faceTotal += o.faceCount;
    ++objectCount;
}

void readVertices(int32_t p, int32_t end) {
    if (tooShort(0x4110, p, end, 2)) return;
    SceneObject& o = objects[objectCount];
    int32_t n = recordsPresent(0x4110, p, p + 8, end, read16(p + 6), 12);
    if (o.firstVertex + n > kMaxVertices)
        stopConversion("erreur : capacite depassee : plus de %d sommets\n", kMaxVertices);
    o.vertexCount = n;
    o.vertexRecords = p + 8;
    for (int32_t i = 0; i < n; ++i) {
        int32_t at = p + 8 + 12 * i;
        SceneVertex& v = vertices[o.firstVertex + i];
        v.x = truncateFloat(readFloat(at));
        v.y = truncateFloat(readFloat(at + 8));
        v.z = truncateFloat(readFloat(at + 4));
        v.u = 0;
        v.v = 0;
    }
}

// Low 16 bits of the truncated value: a u of 200.0 gives 51,200, kept as -14,336.
int16_t textureUnits(float t) { return (int16_t)(uint16_t)(uint32_t)truncateFloat(t * 256.0f); }

void readTextureCoordinates(int32_t p, int32_t end) {
    if (tooShort(0x4140, p, end, 2)) return;
    SceneObject& o = objects[objectCount];
    int32_t n = recordsPresent(0x4140, p, p + 8, end, read16(p + 6), 8);
    // The count is the chunk's own; slots past the table cannot be filled.
    if (o.firstVertex + n > kMaxVertices) n = kMaxVertices - o.firstVertex;
    for (int32_t i = 0; i < n; ++i) {
        int32_t at = p + 8 + 8 * i;
        SceneVertex& v = vertices[o.firstVertex + i];
        v.u = textureUnits(readFloat(at));
        v.v = textureUnits(readFloat(at + 4));
    }
}

void readFaces(int32_t p, int32_t end) {
    if (tooShort(0x4120, p, end, 2)) return;
    SceneObject& o = objects[objectCount];
    int32_t announced = read16(p + 6);
    int32_t n = recordsPresent(0x4120, p, p + 8, end, announced, 8);
    if (o.firstFace + n > kMaxFaces)
        stopConversion("erreur : capacite depassee : plus de %d faces\n", kMaxFaces);
    o.faceCount = n;
    for (int32_t i = 0; i < n; ++i) {
        int32_t at = p + 8 + 8 * i;
        SceneFace& f = faces[o.firstFace + i];
        int32_t a = read16(at), b = read16(at + 2), c = read16(at + 4);
        f.flags = 1;
        f.material = -1;
        f.edgeFlags = (int16_t)(read16(at + 6) & 7);
        f.corner0 = o.firstVertex + a;
        f.corner1 = o.firstVertex + b;
        f.corner2 = o.firstVertex + c;
    }
    // sub-chunks follow the records; a cut list has none
    if (n == announced) readChunks(p + 8 + 8 * n, end);
}

void readFaceMaterial(int32_t p, int32_t end) {
    SceneObject& o = objects[objectCount];
    char name[kNameChars];
    int32_t len = readName(0x4130, p, p + 6, end, name, kNameChars, "nom de materiau");
    int32_t at = p + 6 + len + 1;
    if (end - at < 2) {
        say("attention : bloc 4130 a l'octet %d trop court, ignore\n", p);
        return;
    }
    int32_t m = recordsPresent(0x4130, p, at + 2, end, read16(at), 2);
    int32_t flags;
    int index = findMaterial(name, &flags);
    // A name that no material read so far carries leaves the listed faces
    // without material (and their flags as they are), even those that an
    // earlier group gave one.
    if (index < 0)
        say("attention : objet %s : materiau %s inconnu a ce point du fichier, ses faces restent sans materiau\n",
            o.name, name);
    for (int32_t k = 0; k < m; ++k) {
        int32_t f = (int16_t)read16(at + 2 + 2 * k);
        if (f < 0 || f >= o.faceCount) {
            say("attention : objet %s, materiau %s : face %d hors de l'objet, ignoree\n", o.name,
                name, f);
            continue;
        }
        SceneFace& face = faces[o.firstFace + f];
        face.material = index;
        face.flags = (int16_t)(face.flags | flags);
    }
}

void resetScene() {
    resetSceneCounts();
    boxCount = 0;
    orientedBoxCount = 0;
}

}  // namespace

void resetChunkReader() {
    depth = 0;
    objectOpen = false;
    materialOpen = false;
}

int checkSceneImage() {
    if (sceneSize >= 2 && (read16(0) == 0x4D4D || read16(0) == 0x3D3D)) return 0;
    if (sceneSize == 0)
        say("erreur : le fichier source est vide : ce n'est pas une scene 3D Studio\n");
    else if (sceneSize == 1)
        say("erreur : le fichier source n'a qu'un octet : ce n'est pas une scene 3D Studio\n");
    else
        say("erreur : le fichier source n'est pas une scene 3D Studio (premier bloc %04x, attendu 4d4d)\n",
            read16(0));
    return -1;
}

int findMaterial(const char* name, int32_t* flags) {
    for (int i = 0; i < materialCount; ++i) {
        if (strcmp(materials[i].name, name) != 0) continue;
        if (!materials[i].written) {
            writeMaterialBlock(i);
            materials[i].written = 1;
        }
        *flags = materials[i].flags;
        return i;
    }
    *flags = 0;
    return -1;
}

int readChunks(int32_t start, int32_t end) {
    if (end > sceneSize) end = sceneSize;
    int32_t p = start;
    while (p < end) {
        if (end - p < 6) {
            say("attention : en-tete de bloc coupe a l'octet %d, fin de la lecture de ce niveau\n", p);
            return 0;
        }
        uint16_t id = read16(p);
        uint32_t length = read32(p + 2);
        if (length < 6) {
            say("attention : bloc %04x a l'octet %d de longueur %u invalide, fin de la lecture de ce niveau\n",
                id, p, length);
            return 0;
        }
        int32_t chunkEnd;
        bool cut = length > (uint32_t)(end - p);
        if (cut) {
            say("attention : bloc %04x a l'octet %d de longueur %u depasse son parent (octet %d), lu jusqu'a cette limite\n",
                id, p, length, end);
            chunkEnd = end;
        } else {
            chunkEnd = p + (int32_t)length;
        }
        if (depth >= kMaxDepth) {
            say("attention : bloc %04x a l'octet %d imbrique trop profondement, ignore\n", id, p);
            return 0;
        }
        // Records are never nested in one of their own kind, a scene is never
        // reset under a record, and geometry belongs to an object: such
        // chunks only come from damage and would overwrite what is read.
        const char* misplaced = nullptr;
        if (id == 0x4000 && objectOpen)
            misplaced = "imbrique dans un objet";
        else if (id == 0xAFFF && materialOpen)
            misplaced = "imbrique dans un materiau";
        else if (id == 0x3D3D && (objectOpen || materialOpen))
            misplaced = objectOpen ? "imbrique dans un objet" : "imbrique dans un materiau";
        else if ((id == 0x4110 || id == 0x4140 || id == 0x4120 || id == 0x4130) && !objectOpen)
            misplaced = "hors d'un objet";
        if (misplaced) {
            say("attention : bloc %04x a l'octet %d %s, ignore\n", id, p, misplaced);
            if (cut) return 0;
            p = chunkEnd;
            continue;
        }
        ++depth;
        switch (id) {
            case 0x4D4D:  // file root
            case 0xA010:  // ambient colour
            case 0xA050:  // transparency
            case 0xA200:  // first texture map
            case 0x4100:  // triangle mesh
                readChunks(p + 6, chunkEnd);
                break;
            case 0x3D3D:  // scene data
                resetScene();
                readChunks(p + 6, chunkEnd);
                break;
            case 0xAFFF:
                readMaterial(p, chunkEnd);
                break;
            case 0xA000:
                readName(0xA000, p, p + 6, chunkEnd, materials[materialCount].name, kNameChars, "nom de materiau");
                break;
            case 0x0011:  // 24-bit colour
                if (!tooShort(id, p, chunkEnd, 3))
                    materials[materialCount].color =
                        sceneData[p + 6] << 16 | sceneData[p + 7] << 8 | sceneData[p + 8];
                break;
            case 0x0030:  // integer percentage
                if (!tooShort(id, p, chunkEnd, 2))
                    materials[materialCount].transparency = (int16_t)read16(p + 6) * 255 / 100;
                break;
            case 0xA081:  // two-sided
                materials[materialCount].flags |= kFaceTwoSided;
                break;
            case 0xA300:
                readTextureName(p, chunkEnd);
                break;
            case 0x4000:
                readObject(p, chunkEnd);
                break;
            case 0x4110:
                readVertices(p, chunkEnd);
                break;
            case 0x4140:
                readTextureCoordinates(p, chunkEnd);
                break;
            case 0x4120:
                readFaces(p, chunkEnd);
                break;
            case 0x4130:
                readFaceMaterial(p, chunkEnd);
                break;
            default:  // everything else, with its sub-chunks
                break;
        }
        --depth;
        if (cut) return 0;
        p = chunkEnd;
    }
    return 0;
}
