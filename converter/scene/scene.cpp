// Scene tables: storage and reset.
#include "scene/scene.h"

#ifdef __linux__
#include <sys/mman.h>
#endif

// The large tables start on 2 MB boundaries so that the kernel can back
// them with huge pages (see prepareSceneTables).

alignas(kTableAlignment) unsigned char sceneBuffer[kSceneBytes];
int32_t sceneSize;

SceneMaterial materials[kMaxMaterials + 1];
SceneObject objects[kMaxObjects + 1];
alignas(kTableAlignment) SceneVertex vertices[kMaxVertices];
alignas(kTableAlignment) SceneFace faces[kMaxFaces];
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
#ifdef __linux__
    // A huge page is cleared whole on first touch: worth it only when the
    // part in use fills a good share of it. The advice covers whole huge
    // pages, up to the 2 MB boundary that follows the part in use.
    if (bytes < kHugePage / 2) return;
    madvise(table, (bytes + kHugePage - 1) & ~(kHugePage - 1), MADV_HUGEPAGE);
#else
    (void)table;
    (void)bytes;
#endif
}

void prepareSceneTables(long sceneBytes) {
    // A large scene touches megabytes of the tables page by page; in a
    // virtual machine each first touch of a 4 KB page costs microseconds.
    // Huge pages make that a handful of faults. The file's size bounds what
    // the tables can use: a vertex takes at least 12 of its bytes, a face 8.
    size_t bytes = sceneBytes < kSceneBytes ? (size_t)sceneBytes : (size_t)kSceneBytes;
    size_t vertexCount = bytes / 12 < (size_t)kMaxVertices ? bytes / 12 : (size_t)kMaxVertices;
    size_t faceCount = bytes / 8 < (size_t)kMaxFaces ? bytes / 8 : (size_t)kMaxFaces;
    adviseHugePages(sceneBuffer, bytes);
    adviseHugePages(vertices, vertexCount * sizeof(SceneVertex));
    adviseHugePages(faces, faceCount * sizeof(SceneFace));
}
