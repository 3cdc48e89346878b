// Mesh blocks: merge equal vertices, drop degenerate faces, join triangle
// pairs into quads, and write each ordinary object as a block of the .m3d file.
#pragma once
#include <cstdint>

enum MeshKind { KindOrdinary, KindBox, KindOrientedBox };

struct MeshPoint {
    int32_t x, y, z;
};

MeshKind meshKind(const char* name);

// Writes the object's block, or builds its collision record. Returns 0.
int exportObject(int object);
// Returns 1 when a mesh block header was written (the caller closes it).
int writeMesh(int object);
MeshPoint meshCenter(int object);
// Fills merged with the lowest index of the same position; returns the
// number of distinct vertices.
int mergeVertices(int object);
// After mergeVertices: how many more distinct positions the object's
// vertices have as the file gives them (float values) than once truncated
// to whole units; -1 when the object was not read from a file.
int positionsLostToTruncation(int object);
// Removes degenerate faces and joins triangle pairs across hidden edges;
// returns the number of faces left.
int mergeFaces(int object);

// Advises the merge tables when sceneSize makes the scene large (see
// prepareSceneTables).
void prepareMergeTables();
void writePolygon(int face);
