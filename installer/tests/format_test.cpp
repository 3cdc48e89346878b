// The safe formatter: stored texts used as formats can never misbehave.
#include "base/format.h"
#include <gtest/gtest.h>
#include <string>

struct FormatCase {
    const char* text;
    int argCount;
    const char* args[3];
    const char* expected;
};

TEST(FormatText, ConversionsAndArguments) {
    static const FormatCase cases[] = {
        {"plain", 0, {}, "plain"},
        {"copy %s now", 1, {"a.dll"}, "copy a.dll now"},
        {"%s -> %s", 2, {"src", "dst"}, "src -> dst"},
        {"100%% done", 0, {}, "100% done"},
        {"missing %s here", 0, {}, "missing %s here"},          // no argument: copied as written
        {"%s and %s", 1, {"one"}, "one and %s"},                 // too many conversions
        {"count%n", 1, {"x"}, "count%n"},                        // never written through
        {"%d items", 1, {"x"}, "%d items"},                      // not a text conversion
        {"[%5s|%-4s|%.2s]", 3, {"ab", "c", "xyz"}, "[   ab|c   |xy]"},
        {"%*s", 1, {"x"}, "%*s"},                                // width from an argument: not read
        {"tail %", 0, {}, "tail %"},
        {"%ls wide", 1, {"w"}, "%ls wide"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.text);
        char out[256];
        formatText(out, sizeof out, c.text, c.args, c.argCount);
        EXPECT_STREQ(c.expected, out);
    }
}

TEST(FormatText, ResultIsCutToTheBuffer) {
    std::string big(5000, 'a');
    const char* args[1] = {big.c_str()};
    char out[kFormatBytes];
    size_t n = formatText(out, sizeof out, "<%s>", args, 1);
    EXPECT_EQ(kFormatBytes - 1, n);
    EXPECT_EQ(kFormatBytes - 1, std::string(out).size());
    EXPECT_EQ('<', out[0]);
    // a huge width is cut the same way
    n = formatText(out, sizeof out, "%99999999s", args, 1);
    EXPECT_EQ(kFormatBytes - 1, n);
}

TEST(ConvertLineBreaks, BackslashNBecomesCrLfInPlace) {
    char text[] = "one\\ntwo\\\\n\\x";
    convertLineBreaks(text);
    EXPECT_STREQ("one\r\ntwo\\\r\n\\x", text);
}
