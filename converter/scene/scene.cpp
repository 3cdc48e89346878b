// Scene tables: storage and reset.
#include "scene/scene.h"

#ifdef __linux__
#include <sys/mman.h>
#endif

unsigned char sceneBuffer[kSceneBytes];
const unsigned char* sceneData = sceneBuffer;
int32_t sceneSize;

SceneMaterial materials[kMaxMaterials + 1];
SceneObject objects[kMaxObjects + 1];
TABLE_ALIGN SceneVertex vertices[kMaxVertices];
TABLE_ALIGN SceneFace faces[kMaxFaces];
int32_t materialCount, objectCount, vertexTotal, faceTotal;

int32_t materialsWritten, meshesWritten;
int32_t verticesWritten, verticesInput;
int32_t polygonsWritten, facesInput;

void resetSceneCounts() {
    materialCount = objectCount = vertexTotal = faceTotal = 0;
    materialsWritten = meshesWritten = 0;
    verticesWritten = verticesInput = 0;
    polygonsWritten = facesInput = 0;
}

void adviseHugePages(void* table, size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    madvise(table, bytes, MADV_HUGEPAGE);  // advice only: a refusal changes nothing
#else
    (void)table;
    (void)bytes;
#endif
}

void prepareSceneTables() {
    if (sceneSize < kLargeSceneBytes) return;
    adviseHugePages(vertices, sizeof vertices);
    adviseHugePages(faces, sizeof faces);
}
