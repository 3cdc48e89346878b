// Writes the benchmark scenes: from a single triangle up to the converter's
// capacities. Usage: gen_scenes <folder>
#include <cstdio>
#include <random>
#include <string>

#include "scene_builder.h"
#include <fstream>

using namespace sb;

// n x n quads split into triangle pairs along hidden diagonals, with about
// one vertex in ten moved onto its neighbour's position (duplicates).
static Bytes grid(const std::string& name, int n, std::mt19937& rng, bool duplicates) {
    std::vector<V3> vs;
    std::vector<UV> uvs;
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x) {
            int px = duplicates && x > 0 && rng() % 10 == 0 ? x - 1 : x;  // same place as the vertex before
            vs.push_back({px * 16.0f, y * 16.0f, float((px * 31 + y * 17) % 64)});
            uvs.push_back({float(x) / n, float(y) / n});
        }
    std::vector<Tri> tris = gridTriangles(n);
    return meshObject(name, vs, tris, {}, uvs);
}

// One object of exactly v vertices and f triangles: a strip over a noisy
// surface, every other diagonal hidden, ~10% duplicate positions.
static Bytes strip(const std::string& name, int v, int f, std::mt19937& rng) {
    std::vector<V3> vs;
    for (int i = 0; i < v; ++i) {
        int k = (rng() % 10 == 0 && i > 0) ? i - 1 : i;
        vs.push_back({float(k % 256) * 8, float(k / 256) * 8, float((k * 7919) % 97)});
    }
    std::vector<Tri> tris;
    for (int i = 0; i < f; ++i) {
        int a = i % (v - 2);
        tris.push_back(i % 2 ? Tri{a, a + 2, a + 1, 3} : Tri{a, a + 1, a + 2, 6});
    }
    // no smoothing groups, so that 100,000 vertices fit in a 2,000,000-byte file
    return object(name, {mesh({vertexList(vs), faceList(tris)})});
}

static void put(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: gen_scenes <folder>\n");
        return 2;
    }
    std::string dir = argv[1];
    std::mt19937 rng(7);
    put(dir + "/tiny.3ds", scene({meshObject("tri", {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}}, {{0, 1, 2, 7}})}, false));
    // doubling series of split-quad grids
    const int sizes[] = {45, 64, 90, 128, 181};
    for (int n : sizes) put(dir + "/grid" + std::to_string(2 * n * n) + ".3ds", scene({grid("grid", n, rng, true)}));
    put(dir + "/max_object.3ds", scene({strip("big", 65535, 65535, rng)}));
    Bytes several;
    for (int k = 0; k < 4; ++k) several += strip("part" + std::to_string(k), 25000, 24000, rng);  // what fits 2,000,000 bytes
    put(dir + "/vertices100k.3ds", scene({several}));
    return 0;
}
