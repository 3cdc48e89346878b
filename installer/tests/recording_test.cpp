// The recording platform keeps the promises of the real ones: the same
// registry rules for what is missing, names that ignore case, relative
// paths from the working directory.
#include "platform/files.h"
#include "platform/recording/recording.h"
#include "platform/system.h"
#include "registry_cases.h"
#include <gtest/gtest.h>

TEST(RecordingPlatform, MissingKeysAndValuesBehaveAsOnEveryBuild) {
    recording::reset();
    expectMissingKeysAndValuesAlike(RegCurrentUser, "Software\\VexaSetupTest3");
    EXPECT_FALSE(recording::registryKeyExists(RegCurrentUser, "Software\\VexaSetupTest3\\Missing"));
}

TEST(RecordingPlatform, PathsIgnoreCaseAndStartFromTheWorkingDirectory) {
    recording::reset();
    recording::addFile("C:\\setup\\Setup.INI", "[Setup]\n");
    EXPECT_EQ(1, platFileReadable("setup.ini"));
    EXPECT_EQ(1, platFileReadable("c:\\SETUP\\.\\sub\\..\\setup.ini"));
    ASSERT_EQ(0, platSetCurrentDir("C:\\"));
    EXPECT_EQ(0, platFileReadable("setup.ini"));
    EXPECT_EQ(1, platFileReadable("setup\\setup.ini"));
    EXPECT_EQ(-1, platCreateDir("C:\\no\\parent"));
    EXPECT_EQ(0, platCreateDir("C:\\new"));
    EXPECT_EQ(1, platCreateDir("c:\\NEW"));
    EXPECT_EQ((std::vector<std::string>{"C:\\new\\"}), recording::tree("c:\\new"));
}
