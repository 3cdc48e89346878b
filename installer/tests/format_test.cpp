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

// The conversions setupcheck reads from a stored text are those formatText
// fills or shows as written: each text is formatted with three marked texts,
// and exactly the fillable conversions among the first three are filled.
TEST(TextConversions, AreTheOnesFormatTextReads) {
    struct ConversionCase {
        const char* text;
        std::vector<std::string> written;
        std::vector<bool> fillable;
    };
    const ConversionCase cases[] = {
        {"no conversion", {}, {}},
        {"100%% sure", {}, {}},
        {"%s to %s", {"%s", "%s"}, {true, true}},
        {"%-10s|%.3s|%5.2s", {"%-10s", "%.3s", "%5.2s"}, {true, true, true}},
        {"%d then %s", {"%d", "%s"}, {false, true}},
        {"%ls %*s %n", {"%ls", "%*s", "%n"}, {false, false, false}},
        {"50% off", {"% o"}, {false}},
        {"at 100%", {"%"}, {false}},
        {"%s %s %s %s", {"%s", "%s", "%s", "%s"}, {true, true, true, true}},
    };
    for (const ConversionCase& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<TextConversion> found = textConversions(c.text);
        std::vector<std::string> written;
        std::vector<bool> fillable;
        for (const TextConversion& t : found) {
            written.push_back(t.written);
            fillable.push_back(t.fillable);
        }
        EXPECT_EQ(c.written, written);
        EXPECT_EQ(c.fillable, fillable);
        const char* args[3] = {"\x01", "\x02", "\x03"};
        char out[kFormatBytes];
        formatText(out, sizeof out, c.text, args, 3);
        std::string shown = out;
        for (size_t i = 0; i < 3; i++) {
            bool filled = shown.find(args[i]) != std::string::npos;
            EXPECT_EQ(i < found.size() && found[i].fillable, filled) << "argument " << i;
        }
    }
}
