// The POSIX side of the converter's files: the scene's file mapping.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "driver/files.h"
#include "support.h"

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
