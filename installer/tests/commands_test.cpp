// The command table and configuration-line tokens.
#include "base/text.h"
#include "config/tokens.h"
#include "script/commands.h"
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

TEST(CommandTable, SeventyNineRowsInCodeOrderWithDistinctWords) {
    ASSERT_EQ(79, commandCount);
    std::set<std::string> words;
    for (int i = 0; i < commandCount; i++) {
        SCOPED_TRACE(commandTable[i].word);
        if (i > 0) {
            EXPECT_LT(commandTable[i - 1].code, commandTable[i].code);
        }
        std::string lower;
        for (const char* p = commandTable[i].word; *p; p++) lower += lowerAscii(*p);
        EXPECT_TRUE(words.insert(lower).second);
        EXPECT_EQ(commandTable[i].code, findCommand(commandTable[i].word));
        EXPECT_EQ(&commandTable[i], commandRow(commandTable[i].code));
    }
    EXPECT_EQ(nullptr, commandRow(13));
    EXPECT_EQ(nullptr, commandRow(27));
}

// Every command of the table is available: no row lacks its handler.
TEST(CommandTable, EveryRowHasItsHandler) {
    std::set<std::string> without;
    for (int i = 0; i < commandCount; i++)
        if (!commandTable[i].handler) without.insert(commandTable[i].word);
    EXPECT_EQ(std::set<std::string>{}, without);
}

TEST(CommandTable, CodesOfWordsInAnyCase) {
    struct WordCode {
        const char* word;
        int code;
    };
    static const WordCode cases[] = {
        {"MKDIR", 0}, {"copydir2dest", 12}, {"CreateSourceLink", 14}, {"SET", 16}, {"Exist", 26},
        {"ApplyOnFiles", 28}, {"DetectTCPIP", 32}, {"SetUninstall", 41}, {"InstallSuccess", 71},
        {"ismini", 67}, {"MkStr", 80}, {"Quiterr", 69}, {"nosuch", -1}, {"", -1},
    };
    for (const WordCode& c : cases) {
        SCOPED_TRACE(c.word);
        EXPECT_EQ(c.code, findCommand(c.word));
    }
}

TEST(SplitConfigTokens, SpacesAndEscapes) {
    struct TokenCase {
        const char* line;
        std::vector<std::string> tokens;
    };
    const TokenCase cases[] = {
        {"version 1 2 3\n", {"version", "1", "2", "3\n"}},
        {"  a   b  ", {"a", "b"}},
        {"a\\ b c", {"a b", "c"}},
        {"x\\65\\066\\0672 y", {"xABC2", "y"}},
        {"n\\nl", {"n\nl"}},
        {"cut\\zhidden next", {"cut", "next"}},
        {"back\\\\slash", {"back\\slash"}},
        {"end\\", {"end"}},
        {"\\300", {"\x2c"}},  // 300 modulo 256
        {"", {}},
    };
    for (const TokenCase& c : cases) {
        SCOPED_TRACE(c.line);
        std::string line = c.line;
        line.push_back(0);
        char* tokens[kConfigTokens];
        bool overflow = true;
        int n = SplitConfigTokens(&line[0], tokens, kConfigTokens, &overflow);
        EXPECT_FALSE(overflow);
        ASSERT_EQ(c.tokens.size(), static_cast<size_t>(n));
        for (int i = 0; i < n; i++) EXPECT_EQ(c.tokens[static_cast<size_t>(i)], tokens[i]);
    }
}

TEST(SplitConfigTokens, MoreTokensThanRoomAreCountedAsOverflow) {
    std::string line;
    for (int i = 0; i < 200; i++) line += "t" + std::to_string(i) + " ";
    char* tokens[kConfigTokens];
    bool overflow = false;
    EXPECT_EQ(kConfigTokens, SplitConfigTokens(&line[0], tokens, kConfigTokens, &overflow));
    EXPECT_TRUE(overflow);
    EXPECT_STREQ("t127", tokens[127]);
}
