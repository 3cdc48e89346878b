// Mesh blocks of the .m3d file.
#include "export/mesh.h"

#include <cstring>

#include "collision/boxes.h"
#include "collision/obbtree.h"
#include "driver/console.h"
#include "export/meshfile.h"
#include "export/textout.h"
#include "scene/scene.h"

MeshKind meshKind(const char* name) {
    if (strncmp(name, "box_", 4) == 0) return KindBox;
    if (strncmp(name, "obb_", 4) == 0) return KindOrientedBox;
    return KindOrdinary;
}

MeshPoint meshCenter(int object) {
    const SceneObject& o = objects[object];
    const SceneVertex& first = vertices[o.firstVertex];
    int64_t lo[3] = {first.x, first.y, first.z}, hi[3] = {first.x, first.y, first.z};
    for (int32_t i = o.firstVertex; i < o.firstVertex + o.vertexCount; ++i) {
        const int32_t p[3] = {vertices[i].x, vertices[i].y, vertices[i].z};
        for (int a = 0; a < 3; ++a) {
            if (p[a] < lo[a]) lo[a] = p[a];
            if (p[a] > hi[a]) hi[a] = p[a];
        }
    }
    // (smallest + largest) / 2, truncated toward zero
    return MeshPoint{(int32_t)((lo[0] + hi[0]) / 2), (int32_t)((lo[1] + hi[1]) / 2),
                     (int32_t)((lo[2] + hi[2]) / 2)};
}

static void writeCorner(int32_t corner) {
    const SceneVertex& v = vertices[corner];
    meshInt(v.merged);
    meshChar(' ');
    meshInt(v.u);
    meshChar(' ');
    meshInt(v.v);
    meshText("  ");
}

void writePolygon(int face) {
    const SceneFace& f = faces[face];
    bool quad = f.flags & kFaceQuad;
    writeCorner(f.corner0);
    writeCorner(f.corner1);
    writeCorner(f.corner2);
    if (quad) writeCorner(f.corner3);
    meshChar('\n');
    if (!(f.flags & kFaceTwoSided)) return;
    // the back side: reversed winding
    writeCorner(f.corner0);
    if (quad) writeCorner(f.corner3);
    writeCorner(f.corner2);
    writeCorner(f.corner1);
    meshChar('\n');
}

// Faces grouped by material in the order each material first occurs, in
// face order within a group; faces without material go under the first
// material's name. One pass links each group's faces.
static void writeMaterialGroups(const SceneObject& o) {
    static int32_t groupHead[kMaxMaterials + 1], groupTail[kMaxMaterials + 1], nextInGroup[kMaxFaces];
    static int32_t groupOrder[kMaxMaterials + 1];
    int groups = 0;
    for (int g = 0; g <= kMaxMaterials; ++g) groupHead[g] = -1;
    int32_t faceEnd = o.firstFace + o.faceCount;
    for (int32_t k = o.firstFace; k < faceEnd; ++k) {
        if (faces[k].flags == kFaceGone) continue;
        int g = faces[k].material + 1;  // -1 (no material) is group 0
        if (groupHead[g] < 0) {
            groupHead[g] = k;
            groupOrder[groups++] = g;
        } else {
            nextInGroup[groupTail[g]] = k;
        }
        groupTail[g] = k;
        nextInGroup[k] = -1;
    }
    char name[kNameChars];
    for (int i = 0; i < groups; ++i) {
        int g = groupOrder[i];
        const char* groupName = g > 0 ? materials[g - 1].name : materialCount > 0 ? materials[0].name : "";
        exportName(name, groupName);
        meshText(name);
        meshChar('\n');
        for (int32_t k = groupHead[g]; k >= 0; k = nextInGroup[k]) {
            writePolygon(k);
            faces[k].flags = kFaceGone;
        }
    }
}

// Positions are truncated to whole units: a model made in too small a unit
// collapses. A few near-duplicate points that merge are expected; losing a
// quarter or more of the distinct positions is not, and is said once.
static void warnIfTruncationMerged(int object, int distinct) {
    const SceneObject& o = objects[object];
    // the file can hold at most vertexCount distinct positions: no need to
    // count them when even that many would stay below the threshold
    if (3 * (int64_t)o.vertexCount < 4 * (int64_t)distinct) return;
    int lost = positionsLostToTruncation(object);
    // D positions in the file, V once truncated: warn when (D - V) x 4 >= D
    int inFile = distinct + lost;
    if (lost <= 0 || lost * 4 < inFile) return;
    say("attention : objet %s : %d sommets confondus par l'arrondi des coordonnees a l'unite (modele trop petit ?)\n",
        o.name, lost);
}

int writeMesh(int object) {
    const SceneObject& o = objects[object];
    MeshKind kind = meshKind(o.name);
    MeshPoint c{0, 0, 0};
    if (kind != KindBox) c = meshCenter(object);
    int distinct = mergeVertices(object);
    int polygons = mergeFaces(object);
    int32_t faceEnd = o.firstFace + o.faceCount;
    if (kind != KindOrdinary) {
        if (polygons != 6 || distinct != 8) {
            say("erreur format : %s\n", o.name);
            return 0;
        }
        if (kind == KindBox)
            buildCollisionBox(object);
        else
            buildOrientedBox(object, c.x, c.y, c.z);
        return 0;
    }
    for (int32_t i = o.firstFace; i < faceEnd; ++i)
        if (faces[i].flags != kFaceGone && (faces[i].flags & kFaceTwoSided)) ++polygons;
    progressMark('o');
    warnIfTruncationMerged(object, distinct);
    verticesWritten += distinct;
    polygonsWritten += polygons;
    verticesInput += o.vertexCount;
    facesInput += o.faceCount;

    char name[kNameChars];
    exportName(name, o.name);
    meshText("mesh ");
    meshText(name);
    meshText(" {\n ");
    meshInt(c.x);
    meshChar(' ');
    meshInt(c.y);
    meshChar(' ');
    meshInt(c.z);
    meshText("  0 0 0\n");
    int32_t n = 0;
    for (int32_t i = o.firstVertex; i < o.firstVertex + o.vertexCount; ++i) {
        SceneVertex& v = vertices[i];
        if (v.merged == i) {
            meshChar(' ');
            meshInt((int64_t)v.x - c.x);
            meshChar(' ');
            meshInt((int64_t)v.y - c.y);
            meshChar(' ');
            meshInt((int64_t)v.z - c.z);
            meshChar('\n');
            v.merged = n++;
        } else {
            v.merged = vertices[v.merged].merged;
        }
    }
    writeMaterialGroups(o);
    ++meshesWritten;
    return 1;
}

int exportObject(int object) {
    if (writeMesh(object) == 1) meshText("}\n");
    return 0;
}
