// Mesh blocks of the .m3d file.
#include "export/mesh.h"

#include <cstring>

#include "collision/boxes.h"
#include "collision/obbtree.h"
#include "driver/console.h"
#include "export/meshfile.h"
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

int mergeVertices(int object) {
    const SceneObject& o = objects[object];
    int32_t first = o.firstVertex, end = o.firstVertex + o.vertexCount;
    int distinct = 0;
    for (int32_t i = first; i < end; ++i) {
        SceneVertex& v = vertices[i];
        for (int32_t j = i; j >= first; --j)
            if (vertices[j].x == v.x && vertices[j].y == v.y && vertices[j].z == v.z) v.merged = j;
        if (v.merged == i) ++distinct;
    }
    return distinct;
}

namespace {

// One partner rule: which hidden edge of face j it needs, which corners of
// i and j must coincide, and where j's far corner goes in the quad.
struct PairRule {
    int jHiddenBit;     // edge flag of j that must be clear
    int iA, jA, iB, jB; // corner i[iA] == j[jA] and i[iB] == j[jB]
    int jFar;           // j's corner that joins the quad
};

struct PairRuleSet {
    PairRule rule[3];
};

// Set 1: i's edge corner0-corner1 hidden; set 2: corner2-corner0; set 3:
// corner1-corner2. Rules are tried in order (a), (b), (c).
const PairRuleSet kRuleSets[3] = {
    {{{1, 0, 0, 1, 2, 1}, {2, 0, 2, 1, 1, 0}, {4, 0, 1, 1, 0, 2}}},
    {{{1, 2, 0, 0, 2, 1}, {2, 2, 2, 0, 1, 0}, {4, 2, 1, 0, 0, 2}}},
    {{{1, 1, 0, 2, 2, 1}, {2, 1, 2, 2, 1, 0}, {4, 1, 1, 2, 0, 2}}},
};

void joinQuad(SceneFace& f, int set, int32_t far) {
    int32_t i0 = f.corner0, i1 = f.corner1, i2 = f.corner2;
    switch (set) {
        case 0:  // far corner before the shared edge i0-i1
            f.corner0 = far; f.corner1 = i1; f.corner2 = i2; f.corner3 = i0;
            break;
        case 1:  // far corner after i2, closing on i0
            f.corner3 = far;
            break;
        default:  // far corner between i1 and i2
            f.corner2 = far; f.corner3 = i2;
            break;
    }
}

}  // namespace

int mergeFaces(int object) {
    const SceneObject& o = objects[object];
    int32_t first = o.firstFace, end = o.firstFace + o.faceCount;
    int count = o.faceCount;
    for (int32_t i = first; i < end; ++i) {
        SceneFace& f = faces[i];
        int32_t m0 = vertices[f.corner0].merged, m1 = vertices[f.corner1].merged,
                m2 = vertices[f.corner2].merged;
        if (m0 == m1 || m1 == m2 || m2 == m0) {  // degenerate face
            f.flags = kFaceGone;
            --count;
            continue;
        }
        int set;
        if (!(f.edgeFlags & 4))
            set = 0;
        else if (!(f.edgeFlags & 1))
            set = 1;
        else if (!(f.edgeFlags & 2))
            set = 2;
        else
            continue;  // every edge visible
        const int32_t ic[3] = {f.corner0, f.corner1, f.corner2};
        for (int32_t j = first; j < i; ++j) {
            SceneFace& g = faces[j];
            if (g.flags != f.flags || g.material != f.material) continue;
            const int32_t jc[3] = {g.corner0, g.corner1, g.corner2};
            const PairRule* hit = nullptr;
            for (const PairRule& r : kRuleSets[set].rule) {
                if (!(g.edgeFlags & r.jHiddenBit) && ic[r.iA] == jc[r.jA] && ic[r.iB] == jc[r.jB]) {
                    hit = &r;
                    break;
                }
            }
            if (!hit) continue;
            joinQuad(f, set, jc[hit->jFar]);
            f.flags = (int16_t)(f.flags | kFaceQuad);
            g.flags = kFaceGone;
            --count;
            break;
        }
    }
    return count;
}

static void writeCorner(int32_t corner) {
    const SceneVertex& v = vertices[corner];
    fprintf(meshFile, "%d %d %d  ", vertices[corner].merged, v.u, v.v);
}

void writePolygon(int face) {
    const SceneFace& f = faces[face];
    bool quad = f.flags & kFaceQuad;
    writeCorner(f.corner0);
    writeCorner(f.corner1);
    writeCorner(f.corner2);
    if (quad) writeCorner(f.corner3);
    fputc('\n', meshFile);
    if (!(f.flags & kFaceTwoSided)) return;
    // the back side: reversed winding
    writeCorner(f.corner0);
    if (quad) writeCorner(f.corner3);
    writeCorner(f.corner2);
    writeCorner(f.corner1);
    fputc('\n', meshFile);
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
    verticesWritten += distinct;
    polygonsWritten += polygons;
    verticesInput += o.vertexCount;
    facesInput += o.faceCount;

    char name[kNameChars];
    exportName(name, o.name);
    fprintf(meshFile, "mesh %s {\n %d %d %d  0 0 0\n", name, c.x, c.y, c.z);
    int32_t n = 0;
    for (int32_t i = o.firstVertex; i < o.firstVertex + o.vertexCount; ++i) {
        SceneVertex& v = vertices[i];
        if (v.merged == i) {
            fprintf(meshFile, " %lld %lld %lld\n", (long long)v.x - c.x, (long long)v.y - c.y,
                    (long long)v.z - c.z);
            v.merged = n++;
        } else {
            v.merged = vertices[v.merged].merged;
        }
    }
    for (int32_t j = o.firstFace; j < faceEnd; ++j) {
        if (faces[j].flags == kFaceGone) continue;
        int32_t m = faces[j].material;
        // faces without material go under the first material's name
        const char* groupName = m >= 0 ? materials[m].name : materialCount > 0 ? materials[0].name : "";
        exportName(name, groupName);
        fprintf(meshFile, "%s\n", name);
        for (int32_t k = j; k < faceEnd; ++k) {
            if (faces[k].flags == kFaceGone || faces[k].material != m) continue;
            writePolygon(k);
            faces[k].flags = kFaceGone;
        }
    }
    ++meshesWritten;
    return 1;
}

int exportObject(int object) {
    if (writeMesh(object) == 1) fputs("}\n", meshFile);
    return 0;
}
