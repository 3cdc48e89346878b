// Oriented boxes and the bounding-sphere tree.
#include "collision/obbtree.h"

#include <cmath>
#include <cstdlib>

#include "driver/console.h"
#include "export/meshfile.h"
#include "export/textout.h"
#include "scene/scene.h"

OrientedBox orientedBoxes[kMaxOrientedBoxes];
int orientedBoxCount;
int32_t orientedBoxList = -1;

// Half an edge component, rounded toward minus infinity; -1, 0 and 1 become 0.
static int32_t halfEdge(int64_t d) {
    int32_t h = (int32_t)(d >> 1);
    return h >= -1 && h <= 1 ? 0 : h;
}

void buildOrientedBox(int object, int32_t cx, int32_t cy, int32_t cz) {
    const SceneObject& o = objects[object];
    progressMark('O');
    if (orientedBoxCount >= kMaxOrientedBoxes)
        stopConversion("erreur : capacite depassee : plus de %d boites orientees\n", kMaxOrientedBoxes);
    OrientedBox& box = orientedBoxes[orientedBoxCount];
    box.center[0] = cx;
    box.center[1] = cy;
    box.center[2] = cz;
    // vertices 1, 3 and 4 are taken as the corners next to vertex 0
    const SceneVertex& origin = vertices[o.firstVertex];
    const int adjacent[3] = {1, 3, 4};
    for (int k = 0; k < 3; ++k) {
        const SceneVertex& v = vertices[o.firstVertex + adjacent[k]];
        box.halfAxis[k][0] = halfEdge((int64_t)v.x - origin.x);
        box.halfAxis[k][1] = halfEdge((int64_t)v.y - origin.y);
        box.halfAxis[k][2] = halfEdge((int64_t)v.z - origin.z);
    }
    box.next = orientedBoxList;
    orientedBoxList = orientedBoxCount;
    ++orientedBoxCount;
}

void splitList(int32_t head, int axis, int32_t value, int32_t* low, int32_t* high) {
    *low = *high = -1;
    for (int32_t i = head; i != -1;) {
        int32_t next = orientedBoxes[i].next;
        int32_t* side = orientedBoxes[i].center[axis] < value ? low : high;
        orientedBoxes[i].next = *side;
        *side = i;
        i = next;
    }
}

BoundingSphere boundingSphere(int32_t head) {
    BoundingSphere s;
    int64_t lo[3], hi[3];
    for (int a = 0; a < 3; ++a) lo[a] = hi[a] = orientedBoxes[head].center[a];
    for (int32_t i = head; i != -1; i = orientedBoxes[i].next)
        for (int a = 0; a < 3; ++a) {
            int64_t c = orientedBoxes[i].center[a];
            if (c < lo[a]) lo[a] = c;
            if (c > hi[a]) hi[a] = c;
        }
    for (int a = 0; a < 3; ++a) {
        s.center[a] = (int32_t)((lo[a] + hi[a]) >> 1);
        s.halfExtent[a] = (int32_t)((hi[a] - lo[a]) >> 1);
    }
    float largest = 0;
    for (int32_t i = head; i != -1; i = orientedBoxes[i].next) {
        const OrientedBox& b = orientedBoxes[i];
        float far[3];
        for (int a = 0; a < 3; ++a) {
            double sum = std::fabs((double)b.center[a] - s.center[a]);
            for (int k = 0; k < 3; ++k) sum += std::fabs((double)b.halfAxis[k][a]);
            far[a] = (float)sum;
        }
        float length2 = (float)((double)far[0] * far[0] + (double)far[1] * far[1] +
                                (double)far[2] * far[2]);
        if (length2 > largest) largest = length2;
    }
    double r = std::sqrt((double)largest);
    s.radius = r >= 2147483647.0 ? INT32_MAX : (int32_t)r;
    return s;
}

void writeObbLeaf(int32_t head) {
    meshText("Obb\n");
    for (int32_t i = head; i != -1; i = orientedBoxes[i].next) {
        const OrientedBox& b = orientedBoxes[i];
        for (int a = 0; a < 3; ++a) {
            meshChar(' ');
            meshInt(b.center[a]);
        }
        for (int k = 0; k < 3; ++k)
            for (int a = 0; a < 3; ++a) {
                meshChar(' ');
                meshInt(b.halfAxis[k][a]);
            }
        meshChar('\n');
    }
}

int writeTreeNode(int32_t head) {
    if (head == -1) return -1;
    BoundingSphere s = boundingSphere(head);
    meshText("Sph\n");
    for (int a = 0; a < 3; ++a) {
        meshChar(' ');
        meshInt(s.center[a]);
    }
    meshChar(' ');
    meshInt(s.radius);
    meshChar('\n');
    // axes by decreasing half-extent; only a strictly greater one moves up
    int axis[3] = {0, 1, 2};
    auto extent = [&](int slot) { return s.halfExtent[axis[slot]]; };
    auto swapSlots = [&](int a, int b) {
        int t = axis[a];
        axis[a] = axis[b];
        axis[b] = t;
    };
    if (extent(2) > extent(1)) swapSlots(1, 2);
    if (extent(2) > extent(0)) swapSlots(0, 2);
    if (extent(1) > extent(0)) swapSlots(0, 1);
    int32_t low, high, list = head;
    for (int slot = 0; slot < 3; ++slot) {
        splitList(list, axis[slot], s.center[axis[slot]], &low, &high);
        if (low != -1 && high != -1) break;
        list = low != -1 ? low : high;
    }
    meshText("(\n");
    if (low == -1 || high == -1) {
        writeObbLeaf(low != -1 ? low : high);
    } else {
        writeTreeNode(low);
        meshText("|\n");
        writeTreeNode(high);
    }
    meshText(")\n");
    return 0;
}

void writeCollisionTree(int32_t head) {
    if (head == -1) return;
    meshText("coll obb {\n 0 0 0 0 0 0\n");
    writeTreeNode(head);
    meshText("}\n");
}
