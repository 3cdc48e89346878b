// Scene tables: storage and reset.
#include "scene/scene.h"

#include "driver/files.h"

unsigned char sceneBuffer[kSceneBytes];
const unsigned char* sceneData = sceneBuffer;
int32_t sceneSize;

SceneMaterial materials[kMaxMaterials + 1];
SceneObject objects[kMaxObjects + 1];
alignas(kLargeTableAlign) SceneVertex vertices[kMaxVertices];
alignas(kLargeTableAlign) SceneFace faces[kMaxFaces];
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

void prepareSceneTables() {
    if (sceneSize < kLargeSceneBytes) return;
    adviseHugePages(vertices, sizeof vertices);
    adviseHugePages(faces, sizeof faces);
}
