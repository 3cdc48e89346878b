// The .3ds chunk reader: walks the scene image and fills the scene tables.
#pragma once
#include <cstdint>

// Reads the chunks lying one after another from start up to end of
// sceneBuffer. Damaged chunks end the level with a warning; nothing outside
// [start, end) is read. Returns 0.
int readChunks(int32_t start, int32_t end);

// Index of the first material named exactly name, or -1; flags receives its
// flags (0 when none). Writes the material's block the first time it is found.
int findMaterial(const char* name, int32_t* flags);

// Returns 0 when the scene image starts as a 3D Studio file does (a file
// root or scene data chunk); otherwise says why it is no scene and returns -1.
int checkSceneImage();

// Clears the reader's own state (its nesting depth, the records under
// construction) before a new scene.
void resetChunkReader();
