// The pure parts of the file operations: path composition limits, the
// plug-in choice and the pack-line conversion.
#include "fileops/config.h"
#include "fileops/fileops.h"
#include "script/runstate.h"
#include "script/store.h"
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {
class FileOpsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        resetRunState();
        run.silentMode = 1;
        clearVariableStore();
        std::memset(pluginTable, 0, sizeof pluginTable);
    }
};

void fillSlots(std::initializer_list<const char*> texts) {
    int i = 0;
    for (const char* t : texts) std::strcpy(pluginTable[i++], t);
}
}  // namespace

TEST_F(FileOpsTest, ComposePathRefusesWhatDoesNotFit) {
    char out[kPathBytes];
    std::string part(250, 'd');
    EXPECT_EQ(0, composePath(out, ReportQuietly, "%s\\%s", part.c_str(), "12345678"));  // 259 characters
    EXPECT_EQ(259u, std::strlen(out));
    EXPECT_EQ(-1, composePath(out, ReportQuietly, "%s\\%s", part.c_str(), "123456789"));
    EXPECT_STREQ("", out);  // never a truncated path
    EXPECT_EQ(-1, composePath(out, ReportWithBox, "%s/%s/*.*", (part + "dddd").c_str(), "x"));
    EXPECT_EQ(-1, composePath(out, ReportQuietly, "%s\\%s", "dir", nullptr));
    EXPECT_EQ(0, composePath(out, ReportQuietly, "%s/%s/%s", "a", "b", "c"));
    EXPECT_STREQ("a/b/c", out);
    EXPECT_EQ(0, run.failure);  // composing alone sets no flag
}

TEST_F(FileOpsTest, ChooseNewerPluginKeepsOrReplacesByTextualVersion) {
    struct PluginCase {
        const char* oldEntry;
        const char* chosen;
        int slotEmptied;  // index of the slot taken, -1 when none
    };
    static const PluginCase cases[] = {
        {"frelpdll.dll\n", "FRELPDLL.DLL\n", 0},    // no version: the new one
        {"foo-2.dll\n", "foo-2.dll\n", 1},          // -2 sorts after -10: the old one, new dropped
        {"bar-1.dll\n", "bar-3.dll extra\n", 2},    // older: replaced
        {"baz-3.dll\n", "baz-3.dll\n", 3},          // equal: the new text
        {"qux.dll\n", "qux.dll\n", -1},             // no new line of that name
        {"-odd.dll\n", "-odd.dll\n", -1},           // no base name to match
    };
    for (const PluginCase& c : cases) {
        SCOPED_TRACE(c.oldEntry);
        fillSlots({"FRELPDLL.DLL\n", "foo-10.dll\n", "bar-3.dll extra\n", "baz-3.dll\n"});
        EXPECT_EQ(c.chosen, ChooseNewerPlugin(c.oldEntry));
        for (int i = 0; i < 4; i++) EXPECT_EQ(i == c.slotEmptied, pluginTable[i][0] == 0) << "slot " << i;
    }
}

TEST_F(FileOpsTest, PackLinesAreConvertedAndInsignificantLinesSkipped) {
    const char text[] = "# comment\n"
                        "ab\n"
                        "   \n"
                        "\"C:\\Data Files\\part\" 0\n"
                        "  D:\\x 5\n"
                        "\"E:\\open quote 7";
    std::FILE* f = std::tmpfile();
    ASSERT_NE(nullptr, f);
    std::fputs(text, f);
    std::rewind(f);
    std::string line;
    ASSERT_TRUE(ReadPackLine(f, line));
    EXPECT_EQ("C:/Data\\ Files/part 0\n", line);
    ASSERT_TRUE(ReadPackLine(f, line));
    EXPECT_EQ("D:/x 5\n", line);
    ASSERT_TRUE(ReadPackLine(f, line));
    EXPECT_EQ("E:/open\\ quote\\ 7", line);  // the last line keeps its missing line end
    EXPECT_FALSE(ReadPackLine(f, line));
    std::fclose(f);
}

TEST_F(FileOpsTest, OverlongPackLinesAreLeftOut) {
    std::FILE* f = std::tmpfile();
    ASSERT_NE(nullptr, f);
    std::string quoted = "\"" + std::string(600, ' ') + "\" 0\n";  // 600 spaces become 1200 characters
    std::fputs(quoted.c_str(), f);
    std::fputs("F:\\ok 1\n", f);
    std::rewind(f);
    std::string line;
    ASSERT_TRUE(ReadPackLine(f, line));
    EXPECT_EQ("F:/ok 1\n", line);
    std::fclose(f);
}

// Checked on the predicate alone: a regression must not get to delete anything.
TEST_F(FileOpsTest, TreeDeletionsRefuseAnEmptyRoot) {
    EXPECT_FALSE(treeRootAccepted(nullptr));
    EXPECT_FALSE(treeRootAccepted(""));
    EXPECT_TRUE(treeRootAccepted("dir"));
    EXPECT_TRUE(treeRootAccepted("\\"));
}
