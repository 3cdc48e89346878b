// Texture search paths from the converted file's directory and the project
// file, and texture lookup through them.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "driver/mappaths.h"
#include "driver/run.h"
#include "support.h"

namespace {

std::string entries() {
    std::string s;
    for (int i = 0; i < mapPathCount; ++i) s += std::string(mapPaths[i]) + "|";
    return s;
}

TEST(ProjectDirectory, KeepsDirectoryWithForwardSlashes) {
    struct Case { const char* arg; const char* entry; };
    const Case cases[] = {
        {"D:\\work\\scenes\\house.prj", "D:/work/scenes/"},
        {"house.prj", ""},
        {"/tmp/a/b.3ds", "/tmp/a/"},
        {"dir\\sub/x.prj", "dir/sub/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arg);
        resetConverter();
        addProjectDirectory(c.arg);
        ASSERT_EQ(1, mapPathCount);
        EXPECT_STREQ(c.entry, mapPaths[0]);
    }
}

// Project files are raw bytes: every ":\" after a drive letter starts a
// path running to the next NUL.
TEST(ProjectFile, CollectsDistinctDrivePaths) {
    ScratchDir dir;
    std::string prj = std::string(":\\ignored at byte 0") + '\0' + "junk" + '\0' + "E:\\3DS4\\MAPS" + '\0' +
                      "xx" + '\0' + "e:\\3ds4\\maps" + '\0' + "F:\\TEX\\" + '\0' + "F:\\TEX" + '\0' +
                      "Q:\\WORK\\scenes" + '\0';
    writeFile(dir / "p.prj", prj);
    resetConverter();
    addProjectDirectory("Q:\\work\\SCENES\\p.prj");
    EXPECT_EQ(0, scanProjectFile((dir / "p.prj").c_str()));
    // the project directory in another case, and the second spelling of
    // E:\3DS4\MAPS add nothing; a trailing backslash gives two slashes
    EXPECT_EQ("Q:/work/SCENES/|E:/3DS4/MAPS/|F:/TEX//|F:/TEX/|", entries());
}

TEST(ProjectFile, ScansOnlyTheFirst16384Bytes) {
    ScratchDir dir;
    std::string prj(16384 - 8, 'x');
    prj += std::string("A:\\IN") + '\0';
    prj += std::string(100, 'y') + "B:\\OUT" + '\0';
    writeFile(dir / "p.prj", prj);
    resetConverter();
    scanProjectFile((dir / "p.prj").c_str());
    EXPECT_EQ("A:/IN/|", entries());
}

TEST(ProjectFile, ColonBackslashAtTheEdges) {
    ScratchDir dir;
    // a ":\" whose backslash is the last byte read is not a path
    writeFile(dir / "edge.prj", std::string("ab C:\\x") + '\0' + "D:\\");
    resetConverter();
    scanProjectFile((dir / "edge.prj").c_str());
    EXPECT_EQ("C:/x/|", entries());
    // a path with no NUL before the end of the bytes read ends there
    writeFile(dir / "open.prj", "..G:\\open\\end");
    resetConverter();
    scanProjectFile((dir / "open.prj").c_str());
    EXPECT_EQ("G:/open/end/|", entries());
}

TEST(ProjectFile, MissingFileIsReportedAndNotFatal) {
    ScratchDir dir;
    resetConverter();
    EXPECT_EQ(-1, scanProjectFile((dir / "none.prj").c_str()));
    EXPECT_EQ(0, mapPathCount);
}

TEST(ProjectFile, TooManyPathsStopTheConversion) {
    ScratchDir dir;
    std::string prj;
    for (int i = 0; i < 70; ++i) prj += "C:\\P" + std::to_string(i) + '\0';
    writeFile(dir / "many.prj", prj);
    writeFile(dir / "many.3ds", "");
    RunResult r = runConverter((dir / "many.prj").c_str());
    EXPECT_EQ(-1, r.status);
    EXPECT_NE(std::string::npos, r.console.find("erreur : plus de 64 chemins de textures dans le projet\n"));
    EXPECT_FALSE(fileExists(dir / "many.m3d"));
}

TEST(ProjectFile, OverlongPathIsCutWithWarning) {
    ScratchDir dir;
    std::string longPath = "C:\\" + std::string(300, 'a');
    writeFile(dir / "long.prj", longPath + '\0');
    resetConverter();
    scanProjectFile((dir / "long.prj").c_str());
    ASSERT_EQ(1, mapPathCount);
    EXPECT_EQ(255u, strlen(mapPaths[0]));
    EXPECT_EQ('/', mapPaths[0][254]);
}

TEST(ResolveMapName, FirstEntryHoldingTheFileWins) {
    ScratchDir dir;
    std::filesystem::create_directories(dir / "a");
    std::filesystem::create_directories(dir / "b");
    writeFile(dir / "b/wood.tga", "x");
    writeFile(dir / "a/sky.jpg", "x");
    writeFile(dir / "b/sky.jpg", "x");
    resetConverter();
    addMapPath((dir / "a").c_str());
    addMapPath((dir / "b").c_str());
    char name[256] = "wood.tga";
    EXPECT_EQ(0, resolveMapName(name));
    EXPECT_EQ(dir / "b/wood.tga", name);
    strcpy(name, "sky.jpg");
    EXPECT_EQ(0, resolveMapName(name));
    EXPECT_EQ(dir / "a/sky.jpg", name);
    strcpy(name, "none.bmp");
    EXPECT_EQ(-1, resolveMapName(name));
    EXPECT_STREQ("none.bmp", name);
}

// Scenes come from Windows: a texture whose name differs only in letter
// case is found, and the scene's own spelling is kept.
TEST(ResolveMapName, MatchesIgnoringCaseAndKeepsTheSceneSpelling) {
    ScratchDir dir;
    std::filesystem::create_directories(dir / "Maps");
    writeFile(dir / "Maps/Wood.Tga", "x");
    resetConverter();
    addMapPath((dir / "maps").c_str());
    char name[256] = "WOOD.TGA";
    EXPECT_EQ(0, resolveMapName(name));
    EXPECT_EQ(dir / "maps/WOOD.TGA", name);
}

TEST(ResolveMapName, CombinedPathTooLongIsSkipped) {
    resetConverter();
    addMapPath(("C:\\" + std::string(250, 'd')).c_str());
    char name[256] = "texture_name.bmp";
    EXPECT_EQ(-1, resolveMapName(name));
    EXPECT_STREQ("texture_name.bmp", name);
}

}  // namespace
