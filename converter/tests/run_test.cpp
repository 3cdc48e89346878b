// Whole runs: file names from the argument, console output, exit status,
// and the capacities that stop a conversion.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "scene_builder.h"
#include "support.h"

using namespace sb;

namespace {

const std::vector<V3> kTri = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};

Bytes smallScene() {
    return scene({material("wood", {ambient(0x8A, 0x5A, 0x2B), textureMap("WOOD.TGA")}),
                  meshObject("table top", kTri, {{0, 1, 2, 7}}, {faceMaterial("wood", {0})})});
}

TEST(Run, WholeConsoleOfAConversion) {
    ScratchDir dir;
    writeFile(dir / "house.3ds", smallScene());
    writeFile(dir / "house.prj", std::string("hdr") + '\0' + "C:\\MAPS" + '\0');
    writeFile(dir / "wood.tga", "x");
    RunResult r = runConverter((dir / "house.prj").c_str());
    EXPECT_EQ(0, r.status);
    EXPECT_EQ("ZORVEX - conversion d'un .prj et d'un .3ds en .m3d\nVersion 1.1 - janvier 1998\n\n"
              "map path : " + dir.path + "/\n"
              "ouverture du fichier projet : " + (dir / "house.prj") + "\n"
              "map path : C:/MAPS/\n"
              "ouverture du fichier source : " + (dir / "house.3ds") + "\n"
              "creation du fichier m3d : " + (dir / "house.m3d") + "\n"
              "m>>WARNING : '" + (dir / "WOOD.bmp") + "' is not a Vexa file\n"
              "o\nmaterials= 1\nmeshes   = 1\nvertices = 3 (/3)\npolygons = 1 (/1)\n",
              r.console);
    EXPECT_EQ("material wood {\ncolor 8a5a2b\ntexture " + (dir / "WOOD.bmp") + "\n}\n"
              "mesh table_top {\n 5 0 5  0 0 0\n -5 0 -5\n 5 0 -5\n -5 0 5\nwood\n0 0 0  1 0 0  2 0 0  \n}\n"
              "#materials= 1\n#meshes   = 1\n#vertices = 3 (/3)\n#polygons = 1 (/1)\n",
              unixLines(readFile(dir / "house.m3d")));
    EXPECT_FALSE(fileExists(dir / "house.box"));
}

TEST(Run, SceneAndProjectArgumentsAreTheSameRun) {
    ScratchDir dir;
    writeFile(dir / "house.3ds", smallScene());
    RunResult a = runConverter((dir / "house.3ds").c_str());
    std::string first = readFile(dir / "house.m3d");
    RunResult b = runConverter((dir / "house.prj").c_str());
    EXPECT_EQ(a.console, b.console);
    EXPECT_EQ(first, readFile(dir / "house.m3d"));
    EXPECT_NE(std::string::npos, a.console.find("ficher " + (dir / "house.prj") + " introuvable\n"));
}

// Scenes come from Windows: HOUSE.3DS is the scene of house.prj.
TEST(Run, InputNamesMatchIgnoringCase) {
    ScratchDir dir;
    writeFile(dir / "HOUSE.3DS", smallScene());
    std::filesystem::create_directories(dir / "wood.tga");  // a directory is no texture
    RunResult r = runConverter((dir / "house.prj").c_str());
    EXPECT_EQ(0, r.status);
    EXPECT_TRUE(fileExists(dir / "house.m3d"));
    EXPECT_NE(std::string::npos, r.console.find("map WOOD.TGA not found\n"));
}

TEST(Run, LastThreeCharactersAreReplacedWhateverTheyAre) {
    ScratchDir dir;
    writeFile(dir / "ho3ds", smallScene());
    RunResult r = runConverter((dir / "house").c_str());
    EXPECT_EQ(0, r.status);
    EXPECT_TRUE(fileExists(dir / "hom3d"));
    EXPECT_NE(std::string::npos, r.console.find("ouverture du fichier projet : " + (dir / "hoprj") + "\n"));
}

// The reason the system gives for opening path in mode.
std::string systemReason(const std::string& path, const char* mode) {
    errno = 0;
    FILE* f = fopen(path.c_str(), mode);
    if (f) fclose(f);
    return f ? "(it opened)" : strerror(errno);
}

TEST(Run, Failures) {
    ScratchDir dir;
    std::filesystem::create_directories(dir / "locked.m3d");
    writeFile(dir / "locked.3ds", smallScene());
    struct Case { const char* what; std::string arg; bool noArg; std::string tail; };
    const Case cases[] = {
        {"no argument", "", true, "\nusage : zorvex source.prj\n"},
        {"too short", "ab", false, "erreur : nom de fichier trop court : ab\nusage : zorvex source.prj\n"},
        {"missing scene", dir / "none.prj", false,
         "none.3ds\nerreur\ncause : " + systemReason(dir / "none.3ds", "rb") + "\n"},
        {"mesh file cannot be created", dir / "locked.prj", false,
         "locked.m3d\nerreur\ncause : " + systemReason(dir / "locked.m3d", "w") + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunResult r = runConverter(c.noArg ? nullptr : c.arg.c_str());
        EXPECT_EQ(-1, r.status);
        ASSERT_GE(r.console.size(), c.tail.size());
        EXPECT_EQ(c.tail, r.console.substr(r.console.size() - c.tail.size()));
    }
    EXPECT_FALSE(fileExists(dir / "none.m3d"));
}

TEST(Run, HelpAndVersion) {
    const std::string banner = "ZORVEX - conversion d'un .prj et d'un .3ds en .m3d\nVersion 1.1 - janvier 1998\n\n"
                               "usage : zorvex source.prj\n";
    const std::string about = "lit source.prj (chemins des textures) et source.3ds (la scene),\n"
                              "ecrit source.m3d (materiaux, objets, arbre de collision) et source.box (boites de "
                              "collision)\n";
    struct Case { const char* arg; std::string console; };
    const Case cases[] = {{"-h", banner + about}, {"--help", banner + about}, {"--version", banner}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arg);
        RunResult r = runConverter(c.arg);
        EXPECT_EQ(0, r.status);
        EXPECT_EQ(c.console, r.console);
    }
}

// A source that is no 3D Studio scene is refused before any mesh file is made.
TEST(Run, SourceThatIsNoScene) {
    struct Case { const char* what; Bytes file; const char* message; };
    const Case cases[] = {
        {"empty", "", "erreur : le fichier source est vide : ce n'est pas une scene 3D Studio\n"},
        {"one byte", "M", "erreur : le fichier source n'a qu'un octet : ce n'est pas une scene 3D Studio\n"},
        {"text", "hello world\n",
         "erreur : le fichier source n'est pas une scene 3D Studio (premier bloc 6568, attendu 4d4d)\n"},
        {"image", "BM" + u32(70) + Bytes(64, '\0'),
         "erreur : le fichier source n'est pas une scene 3D Studio (premier bloc 4d42, attendu 4d4d)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        RunResult r;
        convertScene(dir, c.file, &r);
        EXPECT_EQ(-1, r.status);
        std::string tail = "ouverture du fichier source : " + (dir / "scene.3ds") + "\n" + c.message;
        ASSERT_GE(r.console.size(), tail.size());
        EXPECT_EQ(tail, r.console.substr(r.console.size() - tail.size()));
        EXPECT_FALSE(fileExists(dir / "scene.m3d"));
    }
    // scene data without the file root around it is a scene
    ScratchDir dir;
    RunResult r;
    convertScene(dir, chunk(0x3D3D, meshObject("t", kTri, {{0, 1, 2, 7}})), &r);
    EXPECT_EQ(0, r.status);
    EXPECT_TRUE(fileExists(dir / "scene.m3d"));
}

// When the boxes file cannot be created the mesh file is complete, but the
// run did not make everything it had to: status -1.
TEST(Run, BoxesFileThatCannotBeCreated) {
    ScratchDir dir;
    std::filesystem::create_directories(dir / "scene.box");
    RunResult r;
    std::string m3d = convertScene(dir, scene({meshObject("box_1", boxVertices(0, 0, 0, 10, 6, 4), boxTriangles(true))}), &r);
    EXPECT_EQ(-1, r.status);
    std::string tail = "creation du fichier boites : " + (dir / "scene.box") + "\nerreur\ncause : " +
                       systemReason(dir / "scene.box", "w") + "\n";
    ASSERT_GE(r.console.size(), tail.size());
    EXPECT_EQ(tail, r.console.substr(r.console.size() - tail.size()));
    EXPECT_NE(std::string::npos, m3d.find("#polygons = 0 (/0)\n"));
}

// A scene past a capacity is refused whole: status -1 and no mesh file.
TEST(Run, CapacitiesStopTheConversion) {
    Bytes manyMaterials, manyObjects, manyBoxes, bigObjects;
    for (int i = 0; i < 257; ++i) manyMaterials += material("m" + std::to_string(i));
    Bytes tri = meshObject("t", kTri, {{0, 1, 2, 7}});
    for (int i = 0; i < 10001; ++i) manyObjects += tri;
    Bytes box = meshObject("box_1", boxVertices(0, 0, 0, 10, 6, 4), boxTriangles(true));
    Bytes obb = meshObject("obb_1", boxVertices(0, 0, 0, 10, 6, 4), boxTriangles(true)), manyObbs;
    for (int i = 0; i < 1001; ++i) manyBoxes += box;
    for (int i = 0; i < 1001; ++i) manyObbs += obb;
    std::vector<V3> many(60000);
    Bytes big = meshObject("big", many, {{0, 1, 2, 7}});
    bigObjects = big + big;
    Bytes oversized = scene({tri}) + Bytes(2000001, '\0');
    struct Case { const char* what; Bytes file; const char* message; };
    const Case cases[] = {
        {"materials", scene({material("used"), meshObject("u", kTri, {{0, 1, 2, 7}}, {faceMaterial("used", {0})}),
                             manyMaterials}),
         "erreur : capacite depassee : plus de 256 materiaux\n"},
        {"objects", scene({manyObjects}), "erreur : capacite depassee : plus de 10000 objets\n"},
        {"vertices", scene({bigObjects}), "erreur : capacite depassee : plus de 100000 sommets\n"},
        {"boxes", scene({manyBoxes}), "erreur : capacite depassee : plus de 1000 boites de collision\n"},
        {"oriented boxes", scene({manyObbs}), "erreur : capacite depassee : plus de 1000 boites orientees\n"},
        {"scene bytes", oversized, "erreur : fichier source trop grand (plus de 2000000 octets)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        RunResult r;
        convertScene(dir, c.file, &r);
        EXPECT_EQ(-1, r.status);
        EXPECT_NE(std::string::npos, r.console.find(c.message)) << r.console.substr(0, 2000);
        EXPECT_FALSE(fileExists(dir / "scene.m3d"));
    }
}

TEST(Run, ExactCapacitiesStillConvert) {
    Bytes objs;
    Bytes tri = meshObject("t", kTri, {{0, 1, 2, 7}});
    for (int i = 0; i < 10000; ++i) objs += tri;
    ScratchDir dir;
    RunResult r;
    std::string m3d = convertScene(dir, scene({objs}), &r);
    EXPECT_EQ(0, r.status);
    EXPECT_NE(std::string::npos, m3d.find("#meshes   = 10000\n"));
}

}  // namespace
