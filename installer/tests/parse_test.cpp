// Script lines, sections and line pieces.
#include "platform/recording/recording.h"
#include "script/commands.h"
#include "script/parse.h"
#include "script/store.h"
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace {
struct LineCase {
    const char* line;
    int code;
    bool unknown;
    const char* value1;
    const char* token1;
    bool bare1;
    const char* value2;
    const char* token2;
};
}  // namespace

TEST(ParseScriptLine, CommandsAndArguments) {
    clearVariableStore();
    SetVariable("DSTDIR", "C:\\VEXA");
    static const LineCase cases[] = {
        {"  MkDir \"a b\"\n", CmdMkDir, false, "a b", "a b", false, nullptr, ""},
        {"mkdir DSTDIR\n", CmdMkDir, false, "C:\\VEXA", "DSTDIR", true, nullptr, ""},
        {"MKDIR Undefined\n", CmdMkDir, false, nullptr, "Undefined", true, nullptr, ""},
        {"set X \"\"\n", CmdSet, false, nullptr, "X", true, "", ""},
        {"set X \"unterminated\n", CmdSet, false, nullptr, "X", true, "unterminated\n", "unterminated\n"},
        {"set X \"a;b \xe9t\xe9\" ignored\n", CmdSet, false, nullptr, "X", true, "a;b \xe9t\xe9", "a;b \xe9t\xe9"},
        {"set caf\xe9 x\n", CmdSet, false, nullptr, "caf", true, nullptr, "x"},  // the accented byte ends the word
        {"CopyA \"a\" \"b\" \"c\"\n", CmdCopyA, false, "a", "a", false, "b", "b"},
        {"\tReturn\n", CmdReturn, false, nullptr, "", true, nullptr, ""},
        {"; a comment\n", -1, false, nullptr, "", true, nullptr, ""},
        {"   \n", -1, false, nullptr, "", true, nullptr, ""},
        {"// not a comment\n", -1, true, nullptr, "", true, nullptr, ""},
        {"# nor this\n", -1, true, nullptr, "", true, nullptr, ""},
        {" [Other]\n", -1, true, nullptr, "", true, nullptr, ""},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.line);
        std::string copy = c.line;
        ParsedLine p;
        parseScriptLine(&copy[0], &p);
        EXPECT_EQ(c.code, p.code);
        EXPECT_EQ(c.unknown, p.unknown);
        if (c.value1) {
            EXPECT_STREQ(c.value1, p.value[0]);
        } else {
            EXPECT_EQ(nullptr, p.value[0]);
        }
        if (c.value2) {
            EXPECT_STREQ(c.value2, p.value[1]);
        } else {
            EXPECT_EQ(nullptr, p.value[1]);
        }
        EXPECT_STREQ(c.token1, p.token[0]);
        EXPECT_STREQ(c.token2, p.token[1]);
        EXPECT_EQ(c.bare1, p.bare[0]);
    }
    clearVariableStore();
}

TEST(ParseScriptLine, UnknownWordIsReportedFromTheLineStart) {
    std::string line = "  frob arg\n";
    ParsedLine p;
    parseScriptLine(&line[0], &p);
    EXPECT_TRUE(p.unknown);
    EXPECT_STREQ("  frob", p.word);
}

class ScriptFileTest : public ::testing::Test {
  protected:
    PlatFile* file = nullptr;
    void load(const std::string& text) {
        recording::reset();
        recording::addFile("setup.ini", text);
        file = platFileOpen("setup.ini", "rb");
        ASSERT_NE(nullptr, file);
    }
    void TearDown() override {
        if (file) platFileClose(file);
    }
    // The lines of a section, as the runner reads them.
    std::string sectionLines(const char* name) {
        std::string all;
        if (!FindSection(name, file)) return "<missing>";
        char buf[kLineBytes];
        while (!ReadScriptLine(buf, file)) all += std::string(buf) + "|";
        return all;
    }
};

TEST_F(ScriptFileTest, SectionsAndHeaders) {
    load("before\n[Setup]\r\na\r\n  [Inner]\nb\n[ Setup ]\nc\n[Open\nd\n[Last] trailing\ne");
    EXPECT_EQ("a\n|  [Inner]\n|b\n|", sectionLines("setup"));
    EXPECT_EQ("c\n|", sectionLines(" Setup "));
    EXPECT_EQ("b\n|", sectionLines("Inner"));  // an indented header can be found
    EXPECT_EQ("d\n|", sectionLines("Open"));   // no "]": the name runs to the line end
    EXPECT_EQ("e|", sectionLines("LAST"));
    EXPECT_EQ("<missing>", sectionLines("Nowhere"));
    EXPECT_EQ("<missing>", sectionLines("Setup "));
}

TEST_F(ScriptFileTest, LongLinesAreReadInPiecesOf1023) {
    std::string longLine(1500, 'x');
    load("[S]\n" + longLine + "\r\nend\n");
    ASSERT_TRUE(FindSection("S", file));
    char buf[kLineBytes];
    ASSERT_FALSE(ReadScriptLine(buf, file));
    EXPECT_EQ(1023u, std::string(buf).size());
    ASSERT_FALSE(ReadScriptLine(buf, file));
    EXPECT_EQ(std::string(477, 'x') + "\n", buf);
    ASSERT_FALSE(ReadScriptLine(buf, file));
    EXPECT_STREQ("end\n", buf);
    EXPECT_TRUE(ReadScriptLine(buf, file));
    EXPECT_TRUE(ReadScriptLine(buf, file));  // stays ended, nothing read twice
}
