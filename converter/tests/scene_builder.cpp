#include "scene_builder.h"

namespace sb {

std::vector<Tri> boxTriangles(bool inwardInTables) {
    // Quads wound counter-clockwise seen from outside in the file's axes;
    // swapping Y and Z on reading mirrors them, so the tables see them
    // wound with normals pointing in.
    static const int quads[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                    {2, 3, 7, 6}, {0, 4, 7, 3}, {1, 2, 6, 5}};
    std::vector<Tri> tris;
    for (const auto& q : quads) {
        int a = q[0], b = q[1], c = q[2], d = q[3];
        if (!inwardInTables) {
            b = q[3];
            d = q[1];
        }
        // split along the hidden diagonal a-c
        tris.push_back({a, b, c, 6});
        tris.push_back({a, c, d, 3});
    }
    return tris;
}

std::vector<Tri> gridTriangles(int n) {
    std::vector<Tri> tris;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            int a = y * (n + 1) + x, b = a + 1, c = a + n + 2, d = a + n + 1;
            tris.push_back({a, b, c, 6});
            tris.push_back({a, c, d, 3});
        }
    return tris;
}

}  // namespace sb
