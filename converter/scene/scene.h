// Scene tables: the whole scene of one run, in fixed-capacity static tables
// filled once by the chunk reader and consumed in place by the writers.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int kMaxMaterials = 256;
constexpr int kMaxObjects = 10000;
constexpr int kMaxVertices = 100000;
constexpr int kMaxFaces = 100000;
constexpr int kSceneBytes = 2000000;
constexpr int kNameChars = 32;   // 31 characters and the terminator
constexpr int kPathChars = 256;  // 255 characters and the terminator

struct SceneMaterial {
    char name[kNameChars];
    char mapName[kPathChars];
    char mapFirstChar;
    int32_t written;
    int32_t color;         // 0xRRGGBB
    int32_t transparency;  // 0..255
    int32_t flags;         // 0x80: two-sided
};

struct SceneObject {
    char name[kNameChars];
    int32_t firstVertex;
    int32_t firstFace;
    int32_t vertexCount;
    int32_t faceCount;
    // Offset in the scene image of the vertex records as the file gives
    // them (floats), for telling what truncation merged; 0 when the object
    // was not read from a file (no record starts there).
    int32_t vertexRecords;
};

struct SceneVertex {
    int32_t x, y, z;  // Y-up: the file's x, z, y
    int16_t u, v;     // texture coordinates in 1/256
    int32_t merged;
};

// Corners are global vertex indices. They are kept in 32 bits so that every
// vertex up to the table's capacity can be referenced.
struct SceneFace {
    int16_t flags;      // 1 when read, | material flags; 0x08 quad; -1 removed or written
    int16_t edgeFlags;  // 4: corner0-corner1 visible, 2: corner1-corner2, 1: corner2-corner0
    int32_t material;
    int32_t corner0, corner1, corner2, corner3;
};

constexpr int16_t kFaceGone = -1;
constexpr int16_t kFaceQuad = 0x08;
constexpr int16_t kFaceTwoSided = 0x80;

// The scene image the reader reads: sceneData points at sceneSize bytes,
// either sceneBuffer or the scene file mapped in memory.
extern unsigned char sceneBuffer[kSceneBytes];
extern const unsigned char* sceneData;
extern int32_t sceneSize;

// One more record than the capacity: the record under construction always
// has a slot, and the capacity is checked when it is committed.
extern SceneMaterial materials[kMaxMaterials + 1];
extern SceneObject objects[kMaxObjects + 1];
extern SceneVertex vertices[kMaxVertices];
extern SceneFace faces[kMaxFaces];
extern int32_t materialCount, objectCount, vertexTotal, faceTotal;

extern int32_t materialsWritten, meshesWritten;
extern int32_t verticesWritten, verticesInput;
extern int32_t polygonsWritten, facesInput;

// Zeroes the counts and the statistics (the records stay as they are).
void resetSceneCounts();

// Large scenes: from kLargeSceneBytes of scene file on, the tables fill
// hundreds of kilobytes or more, and where the system has huge pages they are
// then backed with them: one page fault per 2 MB instead of one per 4 KB, and
// those faults are most of the run time of a large scene in a fresh process.
// Smaller scenes keep ordinary pages, since a huge page is cleared whole on
// first use (bench/run.sh measures both sides). The large tables start on a
// kLargeTableAlign boundary (driver/files.h).
constexpr int32_t kLargeSceneBytes = 150000;
// Advises the scene tables when sceneSize makes the scene large.
void prepareSceneTables();
