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

// Line pieces read from memory split exactly as a byte-by-byte read does.
TEST(RecordingPlatform, LinePiecesMatchAByteByByteRead) {
    auto byBytes = [](const std::string& data, int size) {
        std::vector<std::string> pieces;
        size_t pos = 0;
        for (;;) {
            std::string piece;
            while (static_cast<int>(piece.size()) < size - 1 && pos < data.size()) {
                char c = data[pos++];
                if (c == '\r' && pos < data.size() && data[pos] == '\n') c = data[pos++];
                piece += c;
                if (c == '\n') break;
            }
            if (piece.empty()) return pieces;
            pieces.push_back(piece);
        }
    };
    const std::string cases[] = {"a\nb", "a\r\nb\r\n", "\r\r\n\r", "x\ry\n", "", "\n\n", std::string(9, 'z') + "\r\n",
                                 "abc\r", "12345678\r\n9"};
    for (const std::string& data : cases) {
        for (int size : {2, 3, 8, 9, 10, 64}) {
            SCOPED_TRACE(testing::PrintToString(data) + " in pieces of " + std::to_string(size - 1));
            recording::reset();
            recording::addFile("C:\\f.txt", data);
            PlatFile* f = platFileOpen("C:\\f.txt", "rb");
            std::vector<std::string> pieces;
            std::vector<char> buffer(static_cast<size_t>(size));
            while (platFileReadPiece(f, buffer.data(), size) > 0) pieces.push_back(buffer.data());
            platFileClose(f);
            EXPECT_EQ(byBytes(data, size), pieces);
        }
    }
}
