// The POSIX side of the converter's files: the scene's file mapping, and
// failures that only this system lets a test provoke (a full disk, a file
// that cannot be read).
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>

#include "driver/files.h"
#include "scene_builder.h"
#include "support.h"

using namespace sb;

namespace {

std::string tail(const std::string& text, size_t n) { return text.size() < n ? text : text.substr(text.size() - n); }

// A write that fails (the output is a link to /dev/full, as good as a full
// disk) is reported and ends the run with status -1; the output is removed.
TEST(RunFailures, WriteErrorsAreReportedAndNothingIsLeft) {
    Bytes withBox = scene({meshObject("t", {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}}, {{0, 1, 2, 7}}),
                           meshObject("box_1", boxVertices(0, 0, 0, 10, 6, 4), boxTriangles(true))});
    for (const char* ext : {"m3d", "box"}) {
        SCOPED_TRACE(ext);
        ScratchDir dir;
        std::string out = dir / (std::string("scene.") + ext);
        std::filesystem::create_symlink("/dev/full", out);
        RunResult r;
        convertScene(dir, withBox, &r);
        EXPECT_EQ(-1, r.status);
        std::string message = "erreur : ecriture du fichier " + out + " impossible (" + strerror(ENOSPC) +
                              "), fichier supprime\n";
        if (std::string(ext) == "m3d") {
            EXPECT_EQ("\nob\n" + message, tail(r.console, message.size() + 4)) << r.console;
            EXPECT_EQ(std::string::npos, r.console.find("materials="));  // no statistics of a failed run
            EXPECT_FALSE(fileExists(dir / "scene.box"));
        } else {
            EXPECT_EQ("\nnbox=1 nlink=0 rmin=2 rmax=2\n" + message, tail(r.console, message.size() + 30));
            EXPECT_NE(std::string::npos, readFile(dir / "scene.m3d").find("#meshes   = 1\n"));
        }
        EXPECT_FALSE(std::filesystem::is_symlink(out));
        EXPECT_FALSE(fileExists(out));
    }
}

// A read error on the scene (here /proc/self/mem, whose first page cannot be
// read) is reported; nothing is converted.
TEST(RunFailures, SceneReadErrorIsReported) {
    ScratchDir dir;
    std::filesystem::create_symlink("/proc/self/mem", dir / "scene.3ds");
    RunResult r = runConverter((dir / "scene.3ds").c_str());
    EXPECT_EQ(-1, r.status);
    std::string message = "erreur : lecture du fichier source impossible (" + std::string(strerror(EIO)) + ")\n";
    EXPECT_EQ(message, tail(r.console, message.size()));
    EXPECT_FALSE(fileExists(dir / "scene.m3d"));
}

}  // namespace

// The scene is read through a file mapping: a file cut short by another
// program during the run ends it with a message and no partial mesh file,
// not with a bus error.
TEST(RunDeathTest, SceneCutShortWhileMapped) {
    ScratchDir dir;
    std::string scenePath = dir / "cut.3ds", meshPath = dir / "cut.m3d";
    writeFile(scenePath, std::string(64 * 1024, 'x'));
    writeFile(meshPath, "partial");
    EXPECT_EXIT(
        {
            FILE* f = fopen(scenePath.c_str(), "rb");
            const unsigned char* image = mapInput(f, 64 * 1024);
            fclose(f);
            if (!image) exit(1);
            removeOnInputFault(meshPath.c_str());
            std::filesystem::resize_file(scenePath, 10);
            volatile unsigned char last = image[64 * 1024 - 1];
            (void)last;
            exit(0);
        },
        testing::ExitedWithCode(255), "");
    EXPECT_FALSE(fileExists(meshPath));
}
