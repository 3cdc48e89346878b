// Material blocks and texture references.
#include <gtest/gtest.h>

#include <cstring>

#include "driver/run.h"
#include "export/meshfile.h"
#include "scene/scene.h"
#include "support.h"

namespace {

TEST(VexaRelativePath, DropsEverythingUpToTheDirectoryAfterVexa) {
    struct Case { const char* path; const char* ref; bool warns; };
    const Case cases[] = {
        {"D:/data/VEXA/users/tex/wood.bmp", "tex/wood.bmp", false},
        {"D:/data/vexa/wood.bmp", "D:/data/vexa/wood.bmp", true},        // nothing after the next directory
        {"D:\\data\\vexa\\tex\\wood.bmp", "D:\\data\\vexa\\tex\\wood.bmp", true},  // backslashes are not separators
        {"wood.bmp", "wood.bmp", true},
        {"/vexa/vexa/a/B.bmp", "a/B.bmp", false},  // the directory after the first match goes
        {"x/Vexa/", "x/Vexa/", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const char* ref = nullptr;
        ReadResult r = captureOutput([&] { ref = vexaRelativePath(c.path); });
        EXPECT_STREQ(c.ref, ref);
        EXPECT_EQ(c.warns ? ">>WARNING : '" + std::string(c.path) + "' is not a Vexa file\n" : "", r.console);
    }
}

void setMaterial(int i, const char* name, int32_t color, int32_t transparency, const char* map, char first) {
    SceneMaterial& m = materials[i];
    strcpy(m.name, name);
    strcpy(m.mapName, map);
    m.mapFirstChar = first;
    m.color = color;
    m.transparency = transparency;
    m.flags = 0;
    m.written = 0;
}

TEST(MaterialBlock, TheThreeForms) {
    struct Case { const char* name; int32_t color, transparency; const char* map; char first; const char* block; };
    const Case cases[] = {
        {"dark wood", 0x8A5A2B, 0, "", 0, "material dark_wood {\ncolor 8a5a2b\ntype LIGHT\n}\n"},
        {"black", 0, 0, "", 0, "material black {\ncolor c0c0c0\ntype LIGHT\n}\n"},
        {"glass", 0x0000FF, 127, "", 0, "material glass {\ncolor 0000ff\ntype TRANSPARENCY127\ntype LIGHT\n}\n"},
        {"grid", 0x102030, 0, "C:/vexa/w/_grid.bmp", '_', "material grid {\ncolor 102030\ntexture _grid.bmp\ntype TRANSPARENCY\n}\n"},
        {"fence", 0x102030, 40, "C:/vexa/w/_f.bmp", '_', "material fence {\ncolor 102030\ntexture _f.bmp\ntype TRANSPARENCY40\n}\n"},
        {"plain", 0x102030, 200, "C:/VEXA/w/t/p.bmp", 'p', "material plain {\ncolor 102030\ntexture t/p.bmp\n}\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetConverter();
        setMaterial(0, c.name, c.color, c.transparency, c.map, c.first);
        ReadResult r = captureOutput([] { writeMaterialBlock(0); });
        EXPECT_EQ(c.block, r.meshText);
        EXPECT_EQ("m", r.console);
        EXPECT_EQ(1, materialsWritten);
    }
}

TEST(MaterialBlock, UnresolvedTextureIsWrittenWholeWithWarning) {
    resetConverter();
    setMaterial(0, "sky", 0x123456, 0, "SKY.JPG", 'S');
    ReadResult r = captureOutput([] { writeMaterialBlock(0); });
    EXPECT_EQ("material sky {\ncolor 123456\ntexture SKY.JPG\n}\n", r.meshText);
    EXPECT_EQ("m>>WARNING : 'SKY.JPG' is not a Vexa file\n", r.console);
}

TEST(ExportName, ReplacesSpacesOnly) {
    char out[32];
    exportName(out, "a b\tc  d");
    EXPECT_STREQ("a_b\tc__d", out);
}

}  // namespace
