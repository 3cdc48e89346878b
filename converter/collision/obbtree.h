// Oriented boxes from "obb_" objects, and the bounding-sphere tree written
// at the end of the .m3d file.
#pragma once
#include <cstdint>

constexpr int kMaxOrientedBoxes = 1000;

struct OrientedBox {
    int32_t center[3];
    int32_t halfAxis[3][3];
    int32_t next;  // next record of the list holding this one, -1 at the end
};

extern OrientedBox orientedBoxes[kMaxOrientedBoxes];
extern int orientedBoxCount;
extern int32_t orientedBoxList;  // head of the list of all boxes, -1 when empty

struct BoundingSphere {
    int32_t center[3];
    int32_t radius;
    int32_t halfExtent[3];
};

// Builds the oriented box of an object with 8 distinct vertices and 6 faces,
// and puts it at the front of orientedBoxList.
void buildOrientedBox(int object, int32_t cx, int32_t cy, int32_t cz);
// Splits a list on an axis: centres strictly below value go to low.
void splitList(int32_t head, int axis, int32_t value, int32_t* low, int32_t* high);
BoundingSphere boundingSphere(int32_t head);
int writeTreeNode(int32_t head);
void writeObbLeaf(int32_t head);
// Writes the "coll obb" block, or nothing for an empty list.
void writeCollisionTree(int32_t head);
