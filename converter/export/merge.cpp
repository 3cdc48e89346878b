// Vertex and face merging of one object, in time linear in its size.
//
// Both merges give exactly the result of the plain scans: a vertex's merged
// index is the lowest index of the object at the same position, and a
// triangle joins the first earlier face (in index order) that has the same
// flags and material and holds the shared edge, reversed, as a hidden edge.
// Hash tables are static and sized once from the object capacity; each
// object uses and clears only the part its size needs. Every table is kept
// compact: on a fresh process each page first touched costs more than the
// work done in it.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "driver/files.h"
#include "export/mesh.h"
#include "scene/scene.h"

namespace {

constexpr int kMaxObjectVertices = 65535;  // counts are 16-bit in the file
constexpr int kMaxObjectFaces = 65535;

uint32_t mix(uint32_t h) {
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

// --- vertices: position -> lowest index (slots hold index + 1; 0 is empty)
constexpr uint32_t kVertexSlots = 1u << 17;  // at least twice the vertices of an object
alignas(kLargeTableAlign) int32_t vertexSlots[kVertexSlots];
uint32_t vertexMask = kVertexSlots - 1;

// --- faces: hidden directed edge (with flags and material) -> the faces
// holding it, oldest first. The hash slots only name a key record, so the
// part of the table an object touches stays small.
constexpr uint32_t kEdgeSlots = 1u << 19;  // at least twice three edges per face
constexpr int kMaxEdges = 3 * kMaxObjectFaces;
struct EdgeKey {
    int32_t from, to;
    int16_t flags;
    int16_t material;    // -1 to kMaxMaterials - 1
    int32_t head, tail;  // nodes in face order; head is advanced past absorbed faces
};
struct EdgeNode {
    int32_t face;
    int32_t next;
};
alignas(kLargeTableAlign) int32_t edgeSlots[kEdgeSlots];  // key index + 1; 0 is empty
alignas(kLargeTableAlign) EdgeKey edgeKeys[kMaxEdges];
alignas(kLargeTableAlign) EdgeNode edgeNodes[kMaxEdges];
int32_t edgeKeyCount, edgeNodeCount;
uint32_t edgeMask = kEdgeSlots - 1;
static_assert(kMaxMaterials <= INT16_MAX, "materials fit an edge key");

static_assert(kVertexSlots >= 2 * kMaxObjectVertices, "vertex table load");
static_assert(kEdgeSlots >= 2 * kMaxEdges, "edge table load");

// The part of a table an object uses: a power of two at least twice its
// entries, so a small object touches few pages of the table.
uint32_t maskFor(uint32_t entries, uint32_t slots) {
    uint32_t size = 64;
    while (size < 2 * entries && size < slots) size *= 2;
    return size - 1;
}

// Sizes the part of a table an object uses and clears it.
uint32_t startTable(int32_t* slots, uint32_t entries, uint32_t capacity) {
    uint32_t mask = maskFor(entries, capacity);
    memset(slots, 0, (mask + 1) * sizeof *slots);
    return mask;
}

EdgeKey* findEdge(int32_t from, int32_t to, int16_t flags, int32_t material, bool create) {
    uint32_t h = mix((uint32_t)from * 0x9E3779B1U ^ mix((uint32_t)to) ^ (uint32_t)material * 0x85EBCA77U ^
                     (uint16_t)flags);
    for (uint32_t i = h & edgeMask;; i = (i + 1) & edgeMask) {
        int32_t& slot = edgeSlots[i];
        if (slot == 0) {
            if (!create) return nullptr;
            slot = edgeKeyCount + 1;
            EdgeKey& k = edgeKeys[edgeKeyCount++];
            k = EdgeKey{from, to, flags, (int16_t)material, -1, -1};
            return &k;
        }
        EdgeKey& k = edgeKeys[slot - 1];
        if (k.from == from && k.to == to && k.flags == flags && k.material == material) return &k;
    }
}

void addHiddenEdge(int32_t face, int32_t from, int32_t to) {
    const SceneFace& f = faces[face];
    EdgeKey* k = findEdge(from, to, f.flags, f.material, true);
    EdgeNode& n = edgeNodes[edgeNodeCount];
    n.face = face;
    n.next = -1;
    if (k->tail >= 0)
        edgeNodes[k->tail].next = edgeNodeCount;
    else
        k->head = edgeNodeCount;
    k->tail = edgeNodeCount;
    ++edgeNodeCount;
}

// The oldest face still holding the edge, or -1. Faces that were absorbed
// into a quad are dropped from the front for good.
int32_t firstHolder(int32_t from, int32_t to, int16_t flags, int32_t material) {
    EdgeKey* k = findEdge(from, to, flags, material, false);
    if (!k) return -1;
    while (k->head >= 0 && faces[edgeNodes[k->head].face].flags == kFaceGone) k->head = edgeNodes[k->head].next;
    if (k->head < 0) {
        k->tail = -1;
        return -1;
    }
    return edgeNodes[k->head].face;
}

}  // namespace

int mergeVertices(int object) {
    const SceneObject& o = objects[object];
    vertexMask = startTable(vertexSlots, (uint32_t)o.vertexCount, kVertexSlots);
    int distinct = 0;
    for (int32_t i = o.firstVertex; i < o.firstVertex + o.vertexCount; ++i) {
        SceneVertex& v = vertices[i];
        uint32_t h = mix((uint32_t)v.x * 0x9E3779B1U ^ mix((uint32_t)v.y ^ mix((uint32_t)v.z)));
        for (uint32_t k = h & vertexMask;; k = (k + 1) & vertexMask) {
            int32_t& slot = vertexSlots[k];
            if (slot == 0) {  // first at this position
                slot = i + 1;
                v.merged = i;
                ++distinct;
                break;
            }
            const SceneVertex& w = vertices[slot - 1];
            if (w.x == v.x && w.y == v.y && w.z == v.z) {
                v.merged = slot - 1;
                break;
            }
        }
    }
    return distinct;
}

namespace {

// A float of a vertex record as its bits, with -0 taken as 0 so that equal
// values give equal bits.
uint32_t floatBits(int32_t at) {
    uint32_t b = (uint32_t)sceneData[at] | (uint32_t)sceneData[at + 1] << 8 | (uint32_t)sceneData[at + 2] << 16 |
                 (uint32_t)sceneData[at + 3] << 24;
    return b == 0x80000000u ? 0 : b;
}

bool sameRecord(int32_t a, int32_t b) {
    if (memcmp(sceneData + a, sceneData + b, 12) == 0) return true;  // the usual exact repeat
    return floatBits(a) == floatBits(b) && floatBits(a + 4) == floatBits(b + 4) && floatBits(a + 8) == floatBits(b + 8);
}

}  // namespace

int positionsLostToTruncation(int object) {
    const SceneObject& o = objects[object];
    if (o.vertexRecords == 0) return -1;
    // Positions equal in the file stay equal once truncated, so every
    // truncated position holds one or more file positions. A vertex whose
    // file position is that of the vertex it was merged into adds none;
    // only the others are hashed, which most objects have none of.
    auto record = [&](int32_t vertex) { return o.vertexRecords + 12 * (vertex - o.firstVertex); };
    uint32_t others = 0;
    for (int32_t i = o.firstVertex; i < o.firstVertex + o.vertexCount; ++i)
        if (vertices[i].merged != i && !sameRecord(record(i), record(vertices[i].merged))) ++others;
    if (others == 0) return 0;
    vertexMask = startTable(vertexSlots, others, kVertexSlots);
    int lost = 0;
    for (int32_t i = o.firstVertex; i < o.firstVertex + o.vertexCount; ++i) {
        if (vertices[i].merged == i) continue;
        int32_t at = record(i);
        if (sameRecord(at, record(vertices[i].merged))) continue;
        uint32_t h = mix(floatBits(at) * 0x9E3779B1U ^ mix(floatBits(at + 4) ^ mix(floatBits(at + 8))));
        for (uint32_t k = h & vertexMask;; k = (k + 1) & vertexMask) {
            int32_t& slot = vertexSlots[k];
            if (slot == 0) {  // a file position not met before
                slot = i + 1;
                ++lost;
                break;
            }
            if (sameRecord(record(slot - 1), at)) break;
        }
    }
    return lost;
}

// Number of hidden edges for each edge-flag value.
static const uint8_t kHiddenEdges[8] = {3, 2, 2, 1, 2, 1, 1, 0};

int mergeFaces(int object) {
    const SceneObject& o = objects[object];
    uint32_t hidden = 0;
    for (int32_t i = o.firstFace; i < o.firstFace + o.faceCount; ++i) hidden += kHiddenEdges[faces[i].edgeFlags & 7];
    edgeMask = startTable(edgeSlots, hidden, kEdgeSlots);
    edgeKeyCount = 0;
    edgeNodeCount = 0;
    int count = o.faceCount;
    for (int32_t i = o.firstFace; i < o.firstFace + o.faceCount; ++i) {
        SceneFace& f = faces[i];
        const int32_t c[3] = {f.corner0, f.corner1, f.corner2};
        int32_t m0 = vertices[c[0]].merged, m1 = vertices[c[1]].merged, m2 = vertices[c[2]].merged;
        if (m0 == m1 || m1 == m2 || m2 == m0) {  // degenerate face
            f.flags = kFaceGone;
            --count;
            continue;
        }
        // i's first hidden edge, in the order corner0-corner1, corner2-corner0,
        // corner1-corner2; its partner holds the same edge the other way
        int set = !(f.edgeFlags & 4) ? 0 : !(f.edgeFlags & 1) ? 1 : !(f.edgeFlags & 2) ? 2 : -1;
        if (set >= 0) {
            static const int kEdgeEnds[3][2] = {{0, 1}, {2, 0}, {1, 2}};
            int32_t from = c[kEdgeEnds[set][0]], to = c[kEdgeEnds[set][1]];
            int32_t j = firstHolder(to, from, f.flags, f.material);
            if (j >= 0) {
                SceneFace& g = faces[j];
                const int32_t jc[3] = {g.corner0, g.corner1, g.corner2};
                // j's far corner is the one not on the shared edge
                int32_t far = jc[0] != from && jc[0] != to ? jc[0] : jc[1] != from && jc[1] != to ? jc[1] : jc[2];
                switch (set) {
                    case 0: f.corner0 = far; f.corner1 = c[1]; f.corner2 = c[2]; f.corner3 = c[0]; break;
                    case 1: f.corner3 = far; break;
                    default: f.corner2 = far; f.corner3 = c[2]; break;
                }
                f.flags = (int16_t)(f.flags | kFaceQuad);
                g.flags = kFaceGone;
                --count;
                continue;  // a quad never joins again
            }
        }
        // a triangle left alone can take a later partner across its hidden edges
        if (!(f.edgeFlags & 4)) addHiddenEdge(i, c[0], c[1]);
        if (!(f.edgeFlags & 2)) addHiddenEdge(i, c[1], c[2]);
        if (!(f.edgeFlags & 1)) addHiddenEdge(i, c[2], c[0]);
    }
    return count;
}

void prepareMergeTables() {
    if (sceneSize < kLargeSceneBytes) return;
    adviseHugePages(vertexSlots, sizeof vertexSlots);
    adviseHugePages(edgeSlots, sizeof edgeSlots);
    adviseHugePages(edgeKeys, sizeof edgeKeys);
    adviseHugePages(edgeNodes, sizeof edgeNodes);
}
