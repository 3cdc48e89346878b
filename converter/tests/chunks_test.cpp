// Reading .3ds chunks into the scene tables, including damaged files.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "scene/scene.h"
#include "scene_builder.h"
#include "support.h"

using namespace sb;

namespace {

const std::vector<V3> kTri = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};

TEST(SceneReader, ConvertsToIntegerYUp) {
    readScene(scene({object("o", {mesh({vertexList({{1.7f, -2.9f, 3.2f}, {-1.9f, 0, 0}, {0, 0, 0}}),
                                        uvList({{0.5f, 0.999f}, {200.0f, -1.0f}}),
                                        faceList({{0, 1, 2, 7 | 0x18}})})})}));
    ASSERT_EQ(1, objectCount);
    const SceneVertex& v = vertices[0];
    EXPECT_EQ(1, v.x);
    EXPECT_EQ(3, v.y);
    EXPECT_EQ(-2, v.z);
    EXPECT_EQ(-1, vertices[1].x);
    EXPECT_EQ(128, v.u);
    EXPECT_EQ(255, v.v);
    EXPECT_EQ(-14336, vertices[1].u);  // 51,200 kept in 16 bits
    EXPECT_EQ(-256, vertices[1].v);
    EXPECT_EQ(0, vertices[2].u);  // no coordinate given
    EXPECT_EQ(1, faces[0].flags);
    EXPECT_EQ(-1, faces[0].material);
    EXPECT_EQ(7, faces[0].edgeFlags);
}

TEST(SceneReader, MaterialProperties) {
    struct Case {
        const char* what;
        Bytes material;
        int32_t color, transparency, flags;
    };
    const Case cases[] = {
        {"diffuse only", material("m", {diffuse(1, 2, 3), specular(4, 5, 6)}), 0xC0C0C0, 0, 0},
        {"ambient", material("m", {ambient(0x8A, 0x5A, 0x2B)}), 0x8A5A2B, 0, 0},
        {"transparency 40", material("m", {transparency(40)}), 0xC0C0C0, 102, 0},
        {"transparency 33", material("m", {transparency(33)}), 0xC0C0C0, 84, 0},
        {"transparency 50", material("m", {transparency(50)}), 0xC0C0C0, 127, 0},
        {"map strength wins", material("m", {transparency(40), textureMap("t.bmp", 100)}), 0xC0C0C0, 255, 0},
        {"other maps skipped", material("m", {otherMap(0xA210, "o.bmp", 30), otherMap(0xA230, "b.bmp", 20)}),
         0xC0C0C0, 0, 0},
        {"two-sided", material("m", {twoSided()}), 0xC0C0C0, 0, 0x80},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        readScene(scene({c.material}));
        ASSERT_EQ(1, materialCount);
        EXPECT_STREQ("m", materials[0].name);
        EXPECT_EQ(c.color, materials[0].color);
        EXPECT_EQ(c.transparency, materials[0].transparency);
        EXPECT_EQ(c.flags, materials[0].flags);
        EXPECT_EQ(0, materials[0].written);
    }
}

TEST(SceneReader, TextureNamesAreResolvedAndRenamed) {
    ScratchDir dir;
    std::filesystem::create_directories(dir / "MAPS");
    writeFile(dir / "MAPS/WOOD.TGA", "x");
    writeFile(dir / "MAPS/_grid.tga", "x");
    ReadResult r = readScene(scene({material("a", {textureMap("WOOD.TGA")}), material("b", {textureMap("SKY.JPG")}),
                                    material("c", {textureMap("PIC.Jpg")}), material("d", {textureMap("_grid.tga")}),
                                    material("e", {textureMap("ab")})}),
                             {dir / "MAPS"});
    ASSERT_EQ(5, materialCount);
    EXPECT_EQ(dir / "MAPS/WOOD.bmp", materials[0].mapName);
    EXPECT_STREQ("SKY.JPG", materials[1].mapName);
    EXPECT_STREQ("PIC.Jpg", materials[2].mapName);
    EXPECT_EQ(dir / "MAPS/_grid.bmp", materials[3].mapName);
    EXPECT_EQ('_', materials[3].mapFirstChar);
    EXPECT_EQ('W', materials[0].mapFirstChar);
    EXPECT_STREQ("ab", materials[4].mapName);
    EXPECT_NE(std::string::npos, r.console.find("map SKY.JPG not found\n"));
}

TEST(SceneReader, ObjectsWithoutVerticesOrFacesAreNotCommitted) {
    readScene(scene({camera("cam"), light("sun"), object("novfaces", {mesh({vertexList(kTri)})}),
                     meshObject("tri", kTri, {{0, 1, 2, 7}})}));
    ASSERT_EQ(1, objectCount);
    EXPECT_STREQ("tri", objects[0].name);
    EXPECT_EQ(0, objects[0].firstVertex);
    EXPECT_EQ(0, objects[0].firstFace);
    EXPECT_EQ(3, vertexTotal);
    EXPECT_EQ(1, faceTotal);
}

TEST(SceneReader, FaceCornersAreGlobalIndices) {
    readScene(scene({meshObject("a", kTri, {{0, 1, 2, 7}}), meshObject("b", kTri, {{2, 1, 0, 5}})}));
    ASSERT_EQ(2, objectCount);
    EXPECT_EQ(3, objects[1].firstVertex);
    EXPECT_EQ(1, objects[1].firstFace);
    EXPECT_EQ(5, faces[1].corner0);
    EXPECT_EQ(3, faces[1].corner2);
    EXPECT_EQ(5, faces[1].edgeFlags);
}

// Faces past vertex 32,767 keep their corners: indices are held in 32 bits.
TEST(SceneReader, LargeObjectsKeepTheirCorners) {
    std::vector<V3> many(40000);
    for (size_t i = 0; i < many.size(); ++i) many[i] = {float(i), 0, 0};
    readScene(scene({meshObject("small", kTri, {{0, 1, 2, 7}}), meshObject("big", many, {{39999, 35000, 1, 7}})}));
    ASSERT_EQ(2, objectCount);
    EXPECT_EQ(3 + 39999, faces[1].corner0);
    EXPECT_EQ(3 + 35000, faces[1].corner1);
}

TEST(SceneReader, FaceMaterialGroups) {
    ReadResult r = readScene(scene({material("red", {twoSided()}), material("blue"),
                                    meshObject("a", kTri, {{0, 1, 2, 7}, {0, 2, 1, 7}},
                                               {faceMaterial("blue", {1}), faceMaterial("red", {0}),
                                                faceMaterial("later", {1})}),
                                    material("later"),
                                    meshObject("b", kTri, {{0, 1, 2, 7}}, {faceMaterial("red", {0})})}));
    // face 1: blue, then a material not defined yet, which takes blue away
    EXPECT_EQ(-1, faces[1].material);
    EXPECT_EQ(1, faces[1].flags);
    EXPECT_EQ(0, faces[0].material);
    EXPECT_EQ(1 | 0x80, faces[0].flags);
    EXPECT_EQ(0, faces[2].material);
    EXPECT_EQ(1, materials[0].written);
    EXPECT_EQ(1, materials[1].written);
    EXPECT_EQ(0, materials[2].written);  // named before it was defined
    // blocks in order of first use, each once
    EXPECT_EQ("material blue {\ncolor c0c0c0\ntype LIGHT\n}\nmaterial red {\ncolor c0c0c0\ntype LIGHT\n}\n", r.meshText);
    EXPECT_EQ("mmattention : objet a : materiau later inconnu a ce point du fichier, ses faces restent sans materiau\n",
              r.console);
}

// A group naming an unknown material resets the material of the faces it
// lists and leaves their flags (here two-sided, from an earlier group) alone.
TEST(SceneReader, UnknownMaterialGroupLeavesFacesWithoutMaterial) {
    readScene(scene({material("two", {twoSided()}),
                     meshObject("a", kTri, {{0, 1, 2, 7}, {0, 2, 1, 7}, {1, 0, 2, 7}},
                                {faceMaterial("two", {0, 1}), faceMaterial("nowhere", {1, 2})})}));
    EXPECT_EQ(0, faces[0].material);
    EXPECT_EQ(-1, faces[1].material);
    EXPECT_EQ(1 | 0x80, faces[1].flags);
    EXPECT_EQ(-1, faces[2].material);
    EXPECT_EQ(1, faces[2].flags);
}

// Damaged files: reading never leaves the scene image, never loops, keeps
// what came before the damage, and says what it skipped.
TEST(SceneReader, DamagedFiles) {
    Bytes good = meshObject("good", kTri, {{0, 1, 2, 7}});
    Bytes cutTrailing = scene({good});
    cutTrailing.resize(cutTrailing.size() - 5);  // inside the keyframe section
    Bytes nested = chunk(0x4D4D, Bytes());
    for (int i = 0; i < 100; ++i) nested = chunk(0x4D4D, nested);
    Bytes unterminated = scene({good, chunk(0x4000, "noend")});
    Bytes shortData = scene({material("m", {chunk(0xA010, chunk(0x0011, "\x01\x02"))}),
                             object("o", {mesh({chunk(0x4110, "\x01"), faceList({{0, 1, 2, 7}})})})});
    struct Case {
        const char* what;
        Bytes file;
        int objects;
        std::string warning;
    };
    const Case cases[] = {
        {"zero-length chunk", scene({good, rawChunk(0x1234, 0, Bytes(12, '\0')), good}), 1,
         "attention : bloc 1234 a l'octet "},
        {"stray zero length inside an object",
         scene({object("o", {mesh({vertexList(kTri), faceList({{0, 1, 2, 7}}), rawChunk(0, 0, "")})}), good}), 2,
         "longueur 0 invalide"},
        {"cut trailing chunk", cutTrailing, 1, "depasse son parent"},
        {"length past the parent",
         scene({object("o", {mesh({vertexList(kTri), faceList({{0, 1, 2, 7}}), rawChunk(0x4150, 1000, "")})}), good}), 2,
         "bloc 4150"},
        {"short header at the end", scene({good}) + Bytes(3, '\x11'), 1, "en-tete de bloc coupe"},
        {"vertex count past its chunk",
         scene({object("o", {mesh({chunk(0x4110, u16(5) + f32(1) + f32(2) + f32(3)), faceList({{0, 0, 0, 7}})})})}), 1,
         "bloc 4110 a l'octet"},
        {"face corner outside the object", scene({meshObject("o", kTri, {{0, 1, 3, 7}, {0, 1, 2, 7}})}), 1,
         "objet o, face 0 : sommet hors de l'objet, face ignoree"},
        {"face index outside the object",
         scene({material("m"), meshObject("o", kTri, {{0, 1, 2, 7}}, {faceMaterial("m", {0, 5, -1})})}), 1,
         "objet o, materiau m : face 5 hors de l'objet, ignoree"},
        {"unterminated object name", unterminated, 1,
         "attention : bloc 4000 a l'octet " + std::to_string(unterminated.find(chunk(0x4000, "noend"))) +
             " : nom d'objet non termine, coupe a la fin du bloc : noend\n"},
        {"colour too short", shortData, 0,
         "attention : bloc 0011 a l'octet " + std::to_string(shortData.find(chunk(0x0011, "\x01\x02"))) +
             " trop court, ignore\n"},
        {"vertex list too short", shortData, 0,
         "attention : bloc 4110 a l'octet " + std::to_string(shortData.find(chunk(0x4110, "\x01"))) +
             " trop court, ignore\n"},
        {"deep nesting", nested, 0, "imbrique trop profondement"},
        {"long names", scene({meshObject(std::string(40, 'n'), kTri, {{0, 1, 2, 7}})}), 1,
         "attention : nom d'objet trop long coupe a 31 caracteres : nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn\n"},
        {"truncated in the header", Bytes("\x4d\x4d\x10", 3), 0, "en-tete de bloc coupe a l'octet 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ReadResult r = readScene(c.file);
        EXPECT_EQ(c.objects, objectCount);
        EXPECT_NE(std::string::npos, r.console.find(c.warning)) << r.console;
        for (int i = 0; i < objectCount; ++i)
            for (int f = objects[i].firstFace; f < objects[i].firstFace + objects[i].faceCount; ++f) {
                EXPECT_GE(faces[f].corner0, objects[i].firstVertex);
                EXPECT_LT(faces[f].corner2, objects[i].firstVertex + objects[i].vertexCount);
            }
    }
}

// Records nested in their own kind, a scene reset inside a record, and
// geometry outside any object only come from damage: the inner chunk is
// refused with a warning and the record around it stays as it was read.
TEST(SceneReader, MisplacedRecordsAreRefused) {
    Bytes innerObject = meshObject("inner", {{5, 5, 5}, {6, 5, 5}, {5, 6, 5}, {9, 9, 9}}, {{0, 1, 2, 7}, {1, 2, 3, 7}});
    Bytes innerMaterial = material("inner", {ambient(1, 2, 3), twoSided()});
    Bytes innerScene = chunk(0x3D3D, material("reset"));
    Bytes strayVertices = vertexList({{7, 7, 7}, {8, 8, 8}, {9, 9, 9}});
    Bytes strayFaces = faceList({{2, 1, 0, 7}});
    struct Case {
        const char* what;
        Bytes file;
        Bytes refused;
        const char* warning;  // after the chunk's id and offset
    };
    const Case cases[] = {
        {"object in an object",
         scene({object("outer", {mesh({vertexList(kTri), innerObject, faceList({{0, 1, 2, 7}})})})}), innerObject,
         "4000 a l'octet %d imbrique dans un objet, ignore\n"},
        {"object directly in an object",
         scene({object("outer", {innerObject, mesh({vertexList(kTri), faceList({{0, 1, 2, 7}})})})}), innerObject,
         "4000 a l'octet %d imbrique dans un objet, ignore\n"},
        {"material in a material",
         scene({chunk(0xAFFF, chunk(0xA000, cstr("outer")) + innerMaterial + ambient(9, 8, 7)),
                meshObject("outer", kTri, {{0, 1, 2, 7}})}),
         innerMaterial, "afff a l'octet %d imbrique dans un materiau, ignore\n"},
        {"scene data in an object",
         scene({object("outer", {mesh({vertexList(kTri), innerScene, faceList({{0, 1, 2, 7}})})})}), innerScene,
         "3d3d a l'octet %d imbrique dans un objet, ignore\n"},
        {"vertices outside an object", scene({meshObject("outer", kTri, {{0, 1, 2, 7}}), strayVertices}),
         strayVertices, "4110 a l'octet %d hors d'un objet, ignore\n"},
        {"faces outside an object", scene({meshObject("outer", kTri, {{0, 1, 2, 7}}), strayFaces}), strayFaces,
         "4120 a l'octet %d hors d'un objet, ignore\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        objects[1] = SceneObject{};  // the next slot as at program start
        ReadResult r = readScene(c.file);
        char warning[200];
        snprintf(warning, sizeof warning, c.warning, (int)c.file.find(c.refused));
        EXPECT_EQ("attention : bloc " + std::string(warning), r.console);
        // the outer record as it would be without the refused chunk
        ASSERT_EQ(1, objectCount);
        EXPECT_STREQ("outer", objects[0].name);
        EXPECT_EQ(0, objects[0].firstVertex);
        EXPECT_EQ(3, objects[0].vertexCount);
        EXPECT_EQ(1, objects[0].faceCount);
        EXPECT_EQ(3, vertexTotal);
        EXPECT_EQ(1, faceTotal);
        EXPECT_EQ(0, vertices[0].x);
        EXPECT_EQ(10, vertices[1].x);
        EXPECT_EQ(0, faces[0].corner0);
        EXPECT_EQ(2, faces[0].corner2);
        if (std::string(c.what) == "material in a material") {
            ASSERT_EQ(1, materialCount);
            EXPECT_STREQ("outer", materials[0].name);
            EXPECT_EQ(0x090807, materials[0].color);
            EXPECT_EQ(0, materials[0].flags);
        } else {
            EXPECT_EQ(0, materialCount);
        }
    }
}

TEST(SceneReader, DamagedFaceDataIsKeptInBounds) {
    // corner outside: the face stays, removed, so later group indices still match
    readScene(scene({material("m"), meshObject("o", kTri, {{0, 9, 2, 7}, {0, 1, 2, 7}}, {faceMaterial("m", {1})})}));
    EXPECT_EQ(-1, faces[0].flags);
    EXPECT_EQ(0, faces[1].material);
    // a cut vertex list keeps the records present
    readScene(scene({object("o", {mesh({chunk(0x4110, u16(3) + f32(1) + f32(2) + f32(3) + f32(4)),
                                        faceList({{0, 0, 0, 7}})})})}));
    EXPECT_EQ(1, objects[0].vertexCount);
    EXPECT_EQ(1, vertices[0].x);
}

}  // namespace
