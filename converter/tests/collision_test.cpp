// Collision boxes with their boxes file, and the oriented-box sphere tree.
#include <gtest/gtest.h>

#include "collision/boxes.h"
#include "collision/obbtree.h"
#include "driver/run.h"
#include "scene/scene.h"
#include "scene_builder.h"
#include "support.h"

using namespace sb;

namespace {

// A "box_" object in table coordinates from (x0,y0,z0) to (x1,y1,z1).
Bytes tableBox(const std::string& name, float x0, float y0, float z0, float x1, float y1, float z1,
               bool inward = true) {
    return meshObject(name, boxVertices(x0, z0, y0, x1, z1, y1), boxTriangles(inward));
}

const char kEmptyTrailer[] = "#materials= 0\n#meshes   = 0\n#vertices = 0 (/0)\n#polygons = 0 (/0)\n";

TEST(BoxesFile, SingleAxisAlignedBox) {
    ScratchDir dir;
    RunResult run;
    std::string m3d = convertScene(dir, scene({tableBox("box_7a", 0, 0, 0, 10, 4, 6)}), &run);
    EXPECT_EQ(kEmptyTrailer, m3d);
    EXPECT_EQ(
        "1\n 7  2\n  14000 8000 c000\n"
        "  0 4000 0 0\n  0 c000 0 10000\n  0 0 4000 0\n  0 0 c000 18000\n  4000 0 0 0\n  c000 0 0 28000\n"
        "\n\n-1 -1\n",
        unixLines(readFile(dir / "scene.box")));
    EXPECT_NE(std::string::npos,
              run.console.find("b\nmaterials= 0\nmeshes   = 0\nvertices = 0 (/0)\npolygons = 0 (/0)\n"
                               "creation du fichier boites : " + (dir / "scene.box") +
                               "\n.\n\nnbox=1 nlink=0 rmin=2 rmax=2\n"));
    EXPECT_EQ(0, run.status);
}

TEST(BoxesFile, TenLinkedPairsFillOneLineAndStartTheNext) {
    Bytes all;
    for (int k = 0; k < 11; ++k) all += tableBox("box_" + std::to_string(k), 10.0f * k, 0, 0, 10.0f * k + 10, 4, 6);
    ScratchDir dir;
    RunResult run;
    convertScene(dir, scene({all}), &run);
    std::string box = unixLines(readFile(dir / "scene.box"));
    EXPECT_EQ("\n1 0  2 1  3 2  4 3  5 4  6 5  7 6  8 7  9 8\n10 9  \n-1 -1\n", box.substr(box.find("\n\n") + 1));
    EXPECT_NE(std::string::npos, run.console.find("nbox=11 nlink=10 rmin=2 rmax=2\n"));
}

TEST(BoxesFile, LinksWithinTwoUnits) {
    struct Case { float gap; int links; };
    const Case cases[] = {{0, 1}, {2, 1}, {3, 0}, {-5, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gap);
        ScratchDir dir;
        RunResult run;
        convertScene(dir, scene({tableBox("box_1", 0, 0, 0, 10, 4, 6), tableBox("box_2", 10 + c.gap, 0, 0, 20 + c.gap, 4, 6)}),
                     &run);
        EXPECT_NE(std::string::npos, run.console.find("nlink=" + std::to_string(c.links)));
    }
}

TEST(BoxesFile, InsideOutBoxIsReportedDegenerate) {
    ScratchDir dir;
    RunResult run;
    convertScene(dir, scene({tableBox("box_9", 0, 0, 0, 10, 4, 6, false), tableBox("box_3", 0, 0, 0, 20, 8, 12)}), &run);
    EXPECT_NE(std::string::npos, run.console.find("boite degeneree fffec000 box_9\n"));
    std::string box = unixLines(readFile(dir / "scene.box"));
    EXPECT_EQ(0u, box.find("2\n 9  0\n  14000 8000 c000\n  0 c000 0 0\n"));
    EXPECT_NE(std::string::npos, run.console.find("rmin=0 rmax=4\n"));
}

TEST(BoxesFile, IdsAndLongNames) {
    struct Case { const char* name; int32_t id; };
    const Case cases[] = {{"box_7a", 7}, {"box_", 0}, {"box_x", 0}, {"box_-12", -12}, {"box_+3", 3},
                          {"box_99999999999", INT32_MAX}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        convertScene(dir, scene({tableBox(c.name, 0, 0, 0, 10, 4, 6)}));
        ASSERT_EQ(1, boxCount);
        EXPECT_EQ(c.id, boxes[0].id);
    }
    // a name of 20 characters or more is kept whole in the messages
    ScratchDir dir;
    RunResult run;
    convertScene(dir, scene({tableBox("box_1_with_a_long_name", 0, 0, 0, 10, 4, 6, false)}), &run);
    EXPECT_NE(std::string::npos, run.console.find(" box_1_with_a_long_name\n"));
}

TEST(FaceNormal, WrapsLikeThirtyTwoBitArithmetic) {
    resetConverter();
    vertices[0] = SceneVertex{0, 0, 0, 0, 0, 0};
    vertices[1] = SceneVertex{50000, 0, 0, 0, 0, 0};
    vertices[2] = SceneVertex{0, 0, 50000, 0, 0, 0};
    int16_t n[3];
    // y = -2.5e9, which 32 bits hold as +1,794,967,296
    faceNormal(0, 1, 2, n);
    EXPECT_EQ(0, n[0]);
    EXPECT_EQ(16384, n[1]);
    EXPECT_EQ(0, n[2]);
    faceNormal(0, 0, 0, n);
    EXPECT_EQ(0, n[0] | n[1] | n[2]);
}

// An "obb_" object in table coordinates: vertex 0 at the low corner,
// vertices 1, 3 and 4 along x, y and z.
Bytes tableObb(const std::string& name, float cx, float cy, float cz, float hx, float hy, float hz) {
    std::vector<V3> vs = boxVertices(cx - hx, cy - hy, cz - hz, cx + hx, cy + hy, cz + hz);
    for (V3& v : vs) std::swap(v.y, v.z);  // table axes to file axes
    return meshObject(name, vs, boxTriangles(true));
}

TEST(CollisionTree, SingleBox) {
    ScratchDir dir;
    RunResult run;
    std::string m3d = convertScene(dir, scene({tableObb("obb_1", 10, 0, 5, 4, 3, 2)}), &run);
    EXPECT_EQ("coll obb {\n 0 0 0 0 0 0\nSph\n 10 0 5 5\n(\nObb\n 10 0 5 4 0 0 0 3 0 0 0 2\n)\n}\n" +
                  std::string(kEmptyTrailer),
              m3d);
    EXPECT_NE(std::string::npos, run.console.find("O\nmaterials= 0"));
    EXPECT_FALSE(fileExists(dir / "scene.box"));
}

TEST(CollisionTree, TwoBoxesSplitOnX) {
    ScratchDir dir;
    std::string m3d =
        convertScene(dir, scene({tableObb("obb_a", 0, 0, 0, 2, 2, 2), tableObb("obb_b", 10, 0, 0, 2, 2, 2)}));
    EXPECT_EQ(
        "coll obb {\n 0 0 0 0 0 0\nSph\n 5 0 0 7\n(\n"
        "Sph\n 0 0 0 3\n(\nObb\n 0 0 0 2 0 0 0 2 0 0 0 2\n)\n|\n"
        "Sph\n 10 0 0 3\n(\nObb\n 10 0 0 2 0 0 0 2 0 0 0 2\n)\n)\n}\n" +
            std::string(kEmptyTrailer),
        m3d);
}

TEST(CollisionTree, CloseCentresShareALeafInExportOrder) {
    ScratchDir dir;
    std::string m3d =
        convertScene(dir, scene({tableObb("obb_a", 0, 0, 0, 2, 2, 2), tableObb("obb_b", 1, 1, 1, 2, 2, 2)}));
    EXPECT_NE(std::string::npos, m3d.find("(\nObb\n 0 0 0 2 0 0 0 2 0 0 0 2\n 1 1 1 2 0 0 0 2 0 0 0 2\n)\n}\n"));
}

TEST(CollisionTree, EqualExtentsTryZBeforeY) {
    ScratchDir dir;
    std::string m3d = convertScene(dir, scene({tableObb("obb_a", 0, 0, 0, 2, 2, 2), tableObb("obb_b", 0, 10, 0, 2, 2, 2),
                                               tableObb("obb_c", 0, 0, 10, 2, 2, 2)}));
    // split on z at 5: the first child holds a and b (sphere centre 0 5 0);
    // a split on y first would hold a and c (0 0 5)
    size_t root = m3d.find("Sph\n 0 5 5 ");
    ASSERT_NE(std::string::npos, root);
    EXPECT_EQ(m3d.find("(\nSph\n 0 5 0 "), m3d.find("(\n", root));
    EXPECT_EQ(std::string::npos, m3d.find("(\nSph\n 0 0 5 "));
}

TEST(CollisionTree, HalfAxesRoundDownAndDropUnitValues) {
    struct Case { int edge; int half; };
    const Case cases[] = {{3, 0}, {-3, -2}, {2, 0}, {-2, 0}, {4, 2}, {-4, -2}, {5, 2}, {-5, -3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edge);
        resetConverter();
        objects[0] = SceneObject{"obb_t", 0, 0, 8, 6, 0};
        for (int v = 0; v < 8; ++v) vertices[v] = SceneVertex{0, 0, 0, 0, 0, v};
        vertices[1].x = c.edge;
        vertices[3].y = c.edge;
        vertices[4].z = c.edge;
        captureOutput([] { buildOrientedBox(0, 1, 2, 3); });
        ASSERT_EQ(0, orientedBoxList);
        EXPECT_EQ(c.half, orientedBoxes[0].halfAxis[0][0]);
        EXPECT_EQ(c.half, orientedBoxes[0].halfAxis[1][1]);
        EXPECT_EQ(c.half, orientedBoxes[0].halfAxis[2][2]);
        EXPECT_EQ(-1, orientedBoxes[0].next);
    }
}

}  // namespace
