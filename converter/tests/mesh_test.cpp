// Mesh blocks: vertex merge, face merge into quads, material groups,
// two-sided faces and the statistics.
#include <gtest/gtest.h>

#include <cstring>

#include "driver/run.h"
#include "export/mesh.h"
#include "scene/scene.h"
#include "scene_builder.h"
#include "support.h"

using namespace sb;

namespace {

const char kTrailerCube[] = "#materials= 1\n#meshes   = 1\n#vertices = 8 (/8)\n#polygons = 6 (/12)\n";

TEST(MeshBlock, CubeOfTwelveTrianglesBecomesSixQuads) {
    ScratchDir dir;
    RunResult run;
    std::vector<Tri> tris = boxTriangles(true);
    std::vector<int> all;
    for (int i = 0; i < 12; ++i) all.push_back(i);
    std::string m3d = convertScene(
        dir, scene({material("m"), meshObject("cube", boxVertices(0, 0, 0, 10, 6, 4), tris, {faceMaterial("m", all)})}), &run);
    EXPECT_EQ(
        "material m {\ncolor c0c0c0\ntype LIGHT\n}\n"
        "mesh cube {\n 5 2 3  0 0 0\n"
        " -5 -2 -3\n 5 -2 -3\n 5 -2 3\n -5 -2 3\n -5 2 -3\n 5 2 -3\n 5 2 3\n -5 2 3\n"
        "m\n"
        "3 0 0  2 0 0  1 0 0  0 0 0  \n"
        "5 0 0  6 0 0  7 0 0  4 0 0  \n"
        "1 0 0  5 0 0  4 0 0  0 0 0  \n"
        "3 0 0  7 0 0  6 0 0  2 0 0  \n"
        "4 0 0  7 0 0  3 0 0  0 0 0  \n"
        "2 0 0  6 0 0  5 0 0  1 0 0  \n"
        "}\n" +
            std::string(kTrailerCube),
        m3d);
    EXPECT_EQ(0, run.status);
}

TEST(MeshBlock, CubeOfTwentyFourVerticesStillHasEightVertexLines) {
    static const int quads[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {2, 3, 7, 6}, {0, 4, 7, 3}, {1, 2, 6, 5}};
    std::vector<V3> corners = boxVertices(0, 0, 0, 10, 6, 4), vs;
    std::vector<Tri> tris;
    for (int k = 0; k < 6; ++k) {
        for (int c = 0; c < 4; ++c) vs.push_back(corners[quads[k][c]]);
        tris.push_back({4 * k, 4 * k + 1, 4 * k + 2, 6});
        tris.push_back({4 * k, 4 * k + 2, 4 * k + 3, 3});
    }
    ScratchDir dir;
    std::string m3d = convertScene(dir, scene({meshObject("cube", vs, tris)}));
    EXPECT_NE(std::string::npos, m3d.find("\n\n1 0 0  2 0 0  3 0 0  0 0 0  \n"));  // empty material line, first quad
    EXPECT_NE(std::string::npos, m3d.find("#vertices = 8 (/24)\n#polygons = 6 (/12)\n"));
}

TEST(MeshBlock, DegenerateTwoSidedUnassignedAndOwnTextureCoordinates) {
    ScratchDir dir;
    RunResult run;
    std::string m3d = convertScene(
        dir,
        scene({material("first"), material("two", {twoSided()}),
               meshObject("t", {{-5, 0, 0}, {8, 0, 0}, {0, 0, 10}, {8, 0, 0}},
                          {{0, 1, 2, 7}, {1, 3, 2, 7}, {0, 3, 2, 7}, {2, 1, 0, 7}}, {faceMaterial("two", {0, 3})},
                          {{0, 0}, {1, 0}, {0, 1}, {0.5f, 0.5f}})}),
        &run);
    EXPECT_EQ(
        "material two {\ncolor c0c0c0\ntype LIGHT\n}\n"
        "mesh t {\n 1 5 0  0 0 0\n -6 -5 0\n 7 -5 0\n -1 5 0\n"
        "two\n"
        "0 0 0  1 256 0  2 0 256  \n0 0 0  2 0 256  1 256 0  \n"
        "2 0 256  1 256 0  0 0 0  \n2 0 256  0 0 0  1 256 0  \n"
        "first\n"
        "0 0 0  1 128 128  2 0 256  \n"
        "}\n"
        "#materials= 1\n#meshes   = 1\n#vertices = 3 (/4)\n#polygons = 5 (/4)\n",
        m3d);
    EXPECT_NE(std::string::npos, run.console.find("mo\nmaterials= 1\nmeshes   = 1\nvertices = 3 (/4)\npolygons = 5 (/4)\n"));
}

// Face 1 is listed in mat_1's group, then in a group naming a material the
// file never defines: it loses mat_1, is written in the group without
// material (under the first material's name) and does not join face 0
// across their hidden edge.
TEST(MeshBlock, GroupOfAnUnknownMaterialTakesTheFacesOutOfTheirMaterial) {
    ScratchDir dir;
    RunResult run;
    std::string m3d = convertScene(
        dir,
        scene({material("mat_0"), material("mat_1"),
               meshObject("pair", {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, {{0, 1, 2, 6}, {0, 2, 3, 3}},
                          {faceMaterial("mat_1", {0, 1}), faceMaterial("undefined", {1})})}),
        &run);
    EXPECT_EQ(
        "material mat_1 {\ncolor c0c0c0\ntype LIGHT\n}\n"
        "mesh pair {\n 5 0 5  0 0 0\n -5 0 -5\n 5 0 -5\n 5 0 5\n -5 0 5\n"
        "mat_1\n0 0 0  1 0 0  2 0 0  \n"
        "mat_0\n0 0 0  2 0 0  3 0 0  \n"
        "}\n"
        "#materials= 1\n#meshes   = 1\n#vertices = 4 (/4)\n#polygons = 2 (/2)\n",
        m3d);
    EXPECT_EQ(0, run.status);
}

// Truncating positions to whole units merges vertices; when a quarter or
// more of the positions the file tells apart are lost, the model was made in
// too small a unit and the object gets one warning after its "o".
TEST(MeshBlock, WarnsWhenTruncationMergesManyPositions) {
    const std::vector<V3> tiny = {{0.1f, 0.2f, 0.3f}, {0.9f, 0.1f, 0.5f}, {0.4f, 0.8f, 0.2f}, {0.7f, 0.7f, 0.7f}};
    struct Case {
        const char* what;
        std::vector<V3> vs;
        const char* warning;  // nullptr: none
    };
    // Exact repeats of a position (as corners repeated per face) count once
    // in the file too, and make the positions be counted rather than bounded.
    const V3 a{0, 0, 0}, b{10, 0, 0}, c{0, 10, 0}, d{10, 10, 0};
    const Case cases[] = {
        {"four positions become one", tiny, "3 sommets"},
        // four positions of which two merge: 1 x 4 >= 4 (the merged one
        // repeated is still one position)
        {"one in four lost", {a, {0.5f, 0, 0}, b, c, a, {0.5f, 0, 0}, c, {0.5f, 0, 0}}, "1 sommets"},
        // five positions of which two merge: 1 x 4 < 5
        {"one in five lost", {a, {0.5f, 0, 0}, b, c, d, a, b, c}, nullptr},
        {"exact repeats only", {a, a, b, b, c}, nullptr},
        // -0 and 0 are one value
        {"signed zeros", {a, {-0.0f, 0, -0.0f}, b, c}, nullptr},
        {"whole units", {a, b, c}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        RunResult run;
        std::string m3d = convertScene(dir, scene({meshObject("small part", c.vs, {{0, 1, 2, 7}})}), &run);
        EXPECT_EQ(0, run.status);
        size_t o = run.console.find("creation du fichier m3d");
        ASSERT_NE(std::string::npos, o);
        std::string progress = run.console.substr(run.console.find('\n', o) + 1);
        std::string expected = c.warning ? std::string("oattention : objet small part : ") + c.warning +
                                               " confondus par l'arrondi des coordonnees a l'unite (modele trop "
                                               "petit ?)\n\nmaterials="
                                         : "o\nmaterials=";
        EXPECT_EQ(expected, progress.substr(0, expected.size()));
    }
    // collision objects are not meshes: no warning for them
    ScratchDir dir;
    RunResult run;
    convertScene(dir, scene({meshObject("obb_small", boxVertices(0, 0, 0, 0.5f, 0.5f, 0.5f), boxTriangles(true))}), &run);
    EXPECT_EQ(std::string::npos, run.console.find("attention")) << run.console;
}

TEST(MeshBlock, CentreTruncatesTowardZero) {
    ScratchDir dir;
    std::string m3d = convertScene(dir, scene({meshObject("n", {{-5, -5, -1}, {0, 0, -2}, {-2, 0, -4}}, {{0, 1, 2, 7}})}));
    // x from -5 to 0 gives -2, y (file z) from -4 to -1 gives -2, z from -5 to 0 gives -2
    EXPECT_NE(std::string::npos, m3d.find("mesh n {\n -2 -2 -2  0 0 0\n -3 1 -3\n 2 0 2\n 0 -2 2\n\n"));
}

TEST(MeshBlock, KindComesFromTheCaseSensitivePrefix) {
    EXPECT_EQ(KindBox, meshKind("box_1"));
    EXPECT_EQ(KindOrientedBox, meshKind("obb_x"));
    EXPECT_EQ(KindOrdinary, meshKind("Box_1"));
    EXPECT_EQ(KindOrdinary, meshKind("box"));
    EXPECT_EQ(KindOrdinary, meshKind("OBB_2"));
}

TEST(MeshBlock, CollisionObjectsOfTheWrongShapeAreReported) {
    ScratchDir dir;
    RunResult run;
    std::string m3d = convertScene(dir, scene({meshObject("box_ 1", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2, 7}}),
                                               meshObject("obb_a", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2, 7}})}),
                                   &run);
    EXPECT_NE(std::string::npos, run.console.find("erreur format : box_ 1\nerreur format : obb_a\n"));
    EXPECT_EQ("#materials= 0\n#meshes   = 0\n#vertices = 0 (/0)\n#polygons = 0 (/0)\n", m3d);
    EXPECT_FALSE(fileExists(dir / "scene.box"));
}

// The partner rules of the triangle-pair join, each in isolation: face j
// (index 0) is absorbed into face i (index 1).
TEST(MergeFaces, PairRules) {
    enum { A, B, C, D };
    struct Case {
        const char* rule;
        int i[3], iEdges, j[3], jEdges;
        int quad[4];  // -1: no join
    };
    const Case cases[] = {
        {"1a", {A, C, D}, 3, {A, B, C}, 6, {B, C, D, A}},
        {"1b", {A, C, D}, 3, {B, C, A}, 5, {B, C, D, A}},
        {"1c", {A, C, D}, 3, {C, A, B}, 3, {B, C, D, A}},
        {"2a", {A, C, D}, 6, {D, B, A}, 6, {A, C, D, B}},
        {"2b", {A, C, D}, 6, {B, A, D}, 5, {A, C, D, B}},
        {"2c", {A, C, D}, 6, {A, D, B}, 3, {A, C, D, B}},
        {"3a", {A, C, D}, 5, {C, B, D}, 6, {A, C, B, D}},
        {"3b", {A, C, D}, 5, {B, D, C}, 5, {A, C, B, D}},
        {"3c", {A, C, D}, 5, {D, C, B}, 3, {A, C, B, D}},
        {"j's edge visible", {A, C, D}, 3, {A, B, C}, 7, {-1}},
        {"same direction", {A, C, D}, 3, {C, B, A}, 6, {-1}},
        {"set 1 wins over set 2", {A, C, D}, 2, {D, B, A}, 6, {-1}},
        {"all edges visible", {A, C, D}, 7, {A, B, C}, 6, {-1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        resetConverter();
        objects[0] = SceneObject{"o", 0, 0, 4, 2, 0};
        objectCount = 1;
        for (int v = 0; v < 4; ++v) vertices[v] = SceneVertex{v, v * v, 0, 0, 0, 0};
        faces[0] = makeFace(1, 0, c.j[0], c.j[1], c.j[2], 0, (int16_t)c.jEdges);
        faces[1] = makeFace(1, 0, c.i[0], c.i[1], c.i[2], 0, (int16_t)c.iEdges);
        EXPECT_EQ(4, mergeVertices(0));
        int left = mergeFaces(0);
        if (c.quad[0] < 0) {
            EXPECT_EQ(2, left);
            EXPECT_EQ(1, faces[0].flags);
            EXPECT_EQ(1, faces[1].flags);
            continue;
        }
        EXPECT_EQ(1, left);
        EXPECT_EQ(-1, faces[0].flags);
        EXPECT_EQ(1 | 0x08, faces[1].flags);
        EXPECT_EQ(c.quad[0], faces[1].corner0);
        EXPECT_EQ(c.quad[1], faces[1].corner1);
        EXPECT_EQ(c.quad[2], faces[1].corner2);
        EXPECT_EQ(c.quad[3], faces[1].corner3);
    }
}

TEST(MergeFaces, PartnersMustShareFlagsAndMaterial) {
    struct Case { const char* what; int16_t jFlags; int32_t jMaterial; int expectLeft; };
    const Case cases[] = {{"same", 1, 0, 1}, {"two-sided partner", 1 | 0x80, 0, 2}, {"other material", 1, 1, 2},
                          {"already a quad", 1 | 0x08, 0, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        resetConverter();
        objects[0] = SceneObject{"o", 0, 0, 4, 2, 0};
        for (int v = 0; v < 4; ++v) vertices[v] = SceneVertex{v, 0, v * 3, 0, 0, 0};
        faces[0] = makeFace(c.jFlags, c.jMaterial, 0, 1, 2, 0, 6);
        faces[1] = makeFace(1, 0, 0, 2, 3, 0, 3);
        mergeVertices(0);
        EXPECT_EQ(c.expectLeft, mergeFaces(0));
    }
}

}  // namespace
