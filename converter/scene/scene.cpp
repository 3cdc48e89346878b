// Scene tables: storage and reset.
#include "scene/scene.h"

unsigned char sceneBuffer[kSceneBytes];
const unsigned char* sceneData = sceneBuffer;
int32_t sceneSize;

SceneMaterial materials[kMaxMaterials + 1];
SceneObject objects[kMaxObjects + 1];
SceneVertex vertices[kMaxVertices];
SceneFace faces[kMaxFaces];
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
