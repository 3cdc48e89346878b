// Collision boxes: plane-bounded boxes built from "box_" objects, and the
// boxes file that lists them with their contact links.
#pragma once
#include <cstdint>

#include "scene/scene.h"

constexpr int kMaxBoxes = 1000;
constexpr int32_t kUnit = 16384;  // fixed-point unit of normals and sub-unit positions

struct CollisionBox {
    char name[kNameChars];  // the object's whole name
    int32_t id;
    int16_t planeNormal[6][3];
    int32_t planeOffset[6];
    int32_t corner[8][3];
};

extern CollisionBox boxes[kMaxBoxes];
extern int boxCount;

// Builds the box of an object that has 8 distinct vertices and 6 faces.
void buildCollisionBox(int object);
// Unit normal of the face (a, b, c), scaled to 16384, in 32-bit arithmetic.
void faceNormal(int32_t a, int32_t b, int32_t c, int16_t normal[3]);
// Radius of a sphere inside the box in scene units (0 when degenerate);
// center receives the corners' mean times 16384.
int32_t innerRadius(const CollisionBox& box, int32_t center[3]);
// 1 when one box has a corner inside, or within 2 units of, the other.
int boxesOverlap(const CollisionBox& p, const CollisionBox& q);
// Writes the boxes file; -1 when it cannot be created.
int writeBoxesFile(const char* path);
