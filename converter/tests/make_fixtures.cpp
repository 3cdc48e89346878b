// Writes the end-to-end scenes into a folder: the bundled example (with its
// project file and textures) and a few scenes that exercise the reader's
// edge cases. Usage: make_fixtures <folder>
#include <cstdio>
#include <filesystem>
#include <string>

#include "scene_builder.h"
#include "support.h"

using namespace sb;
namespace fs = std::filesystem;

namespace {

// A tiny uncompressed image of w x h pixels in BMP or TGA form.
std::string bmpImage(int w, int h, uint32_t rgb) {
    int row = (w * 3 + 3) & ~3;
    std::string pixels;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) pixels += Bytes{char(rgb & 0xFF), char((rgb >> 8) & 0xFF), char(rgb >> 16)};
        pixels += Bytes(row - w * 3, '\0');
    }
    return "BM" + u32(54 + pixels.size()) + u32(0) + u32(54) + u32(40) + u32(w) + u32(h) + u16(1) + u16(24) +
           u32(0) + u32(pixels.size()) + u32(2835) + u32(2835) + u32(0) + u32(0) + pixels;
}

std::string tgaImage(int w, int h, uint32_t rgb) {
    std::string out = Bytes{0, 0, 2} + Bytes(9, '\0') + u16(w) + u16(h) + Bytes{24, 0};
    for (int i = 0; i < w * h; ++i) out += Bytes{char(rgb & 0xFF), char((rgb >> 8) & 0xFF), char(rgb >> 16)};
    return out;
}

// A flat grid of n x n quads in the file's XY plane, each split into two
// triangles along a hidden diagonal.
Bytes grid(const std::string& name, int n, float step, const std::string& materialName) {
    std::vector<V3> vs;
    std::vector<UV> uvs;
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x) {
            vs.push_back({x * step, y * step, 0});
            uvs.push_back({float(x) / n, float(y) / n});
        }
    std::vector<Tri> tris = gridTriangles(n);
    std::vector<int> all;
    for (size_t i = 0; i < tris.size(); ++i) all.push_back((int)i);
    if (materialName.empty()) return meshObject(name, vs, tris, {}, uvs);
    return meshObject(name, vs, tris, {faceMaterial(materialName, all)}, uvs);
}

// A closed box in table coordinates (Y up) from low to high corner.
Bytes tableBox(const std::string& name, float x0, float y0, float z0, float x1, float y1, float z1) {
    return meshObject(name, boxVertices(x0, z0, y0, x1, z1, y1), boxTriangles(true));
}

Bytes houseScene() {
    std::vector<int> walls;
    for (int i = 0; i < 12; ++i) walls.push_back(i);
    return scene({
        material("brick wall", {ambient(180, 80, 60), diffuse(200, 90, 70), textureMap("BRICK.TGA")}),
        material("glass", {ambient(40, 60, 200), transparency(50), twoSided()}),
        material("fence", {ambient(90, 90, 90), transparency(30), textureMap("_grid.bmp", 80)}),
        material("sky", {ambient(100, 150, 255), textureMap("SKY.JPG")}),
        material("unused", {ambient(1, 2, 3)}),
        camera("Camera01"),
        light("Sun"),
        meshObject("walls", boxVertices(-200, -150, 0, 200, 150, 250), boxTriangles(false), {faceMaterial("brick wall", walls)},
                   {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}, {1, 0}, {1, 1}, {0, 1}}),
        meshObject("window", {{-50, -151, 100}, {50, -151, 100}, {50, -151, 180}, {-50, -151, 180}},
                   {{0, 1, 2, 6}, {0, 2, 3, 3}}, {faceMaterial("glass", {0, 1})}),
        grid("fence", 4, 25, "fence"),
        grid("ground", 8, 100, ""),
        meshObject("sky dome", {{-1000, -1000, 500}, {1000, -1000, 500}, {0, 1000, 500}}, {{0, 2, 1, 7}},
                   {faceMaterial("sky", {0})}),
        tableBox("box_1", -200, 0, -150, 0, 250, 150),
        tableBox("box_2", 0, 0, -150, 200, 250, 150),
        tableBox("box_3", 200, 0, -50, 300, 100, 50),
        tableBox("box_4", 600, 0, 0, 700, 100, 100),
        tableBox("obb_1", -200, 0, -150, 200, 250, 150),
        tableBox("obb_2", 300, 0, 0, 340, 60, 40),
        tableBox("obb_3", 301, 1, 1, 341, 61, 41),
        tableBox("obb_4", -600, 0, 400, -500, 30, 460),
    });
}

void put(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    writeFile(path.string(), bytes);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: make_fixtures <folder>\n");
        return 2;
    }
    fs::path root = argv[1];
    fs::path demo = root / "vexa" / "demo";
    put(demo / "house.3ds", houseScene());
    put(demo / "house.prj", std::string("3DS project") + '\0' + "C:\\3DSMAX\\MAPS" + '\0' + "c:\\3dsmax\\maps" + '\0' +
                                "D:\\VEXA\\DEMO" + '\0');
    put(demo / "brick.tga", tgaImage(2, 2, 0xB4503C));
    put(demo / "brick.bmp", bmpImage(2, 2, 0xB4503C));
    put(demo / "_grid.bmp", bmpImage(2, 2, 0x5A5A5A));

    put(root / "plain" / "tri.3ds", scene({meshObject("tri", {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}}, {{0, 1, 2, 7}})}, false));
    Bytes cut = houseScene();
    cut.resize(cut.size() - 7);
    put(root / "damaged" / "cut.3ds", cut);
    put(root / "damaged" / "zero.3ds",
        scene({material("m"), rawChunk(0x4000, 0, Bytes(8, '\0')), grid("after", 2, 10, "m")}) + rawChunk(0, 0, ""));
    // a face listed in a material's group, then in a group of an unknown one
    put(root / "plain" / "unknown-material.3ds",
        scene({material("mat_0"), material("mat_1"),
               meshObject("pair", {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, {{0, 1, 2, 6}, {0, 2, 3, 3}},
                          {faceMaterial("mat_1", {0, 1}), faceMaterial("undefined", {1})})}));
    // a grid made in a unit too small for whole-unit positions
    put(root / "plain" / "small-units.3ds", scene({grid("small", 4, 0.25f, "")}));
    put(root / "damaged" / "nested.3ds",
        scene({material("outer", {material("inner"), ambient(1, 2, 3)}),
               object("a", {mesh({vertexList({{0, 0, 0}, {10, 0, 0}, {0, 10, 0}}), grid("b", 1, 10, ""),
                                  faceList({{0, 1, 2, 7}}, {faceMaterial("outer", {0})})})}),
               vertexList({{5, 5, 5}})}));
    put(root / "damaged" / "empty.3ds", "");
    put(root / "damaged" / "text.3ds", "This is no scene.\n");
    put(root / "big" / "grid.3ds", scene({grid("grid", 120, 10, ""), tableBox("box_9", 0, 0, 0, 10, 10, 10)}));
    return 0;
}
