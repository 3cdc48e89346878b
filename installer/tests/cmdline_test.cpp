// Command lines split as Windows programs split them, and Exec keys quoted as
// desktop entries want them.
#include "base/cmdline.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

TEST(SplitCommandLine, BlanksQuotesAndBackslashes) {
    struct SplitCase {
        const char* line;
        std::vector<std::string> args;
    };
    const SplitCase cases[] = {
        {"a b  c", {"a", "b", "c"}},
        {" \ta\tb ", {"a", "b"}},
        {"\"a b\" c", {"a b", "c"}},
        {"x\"a b\"y", {"xa by"}},
        {"a\\b c:\\dir\\", {"a\\b", "c:\\dir\\"}},  // backslashes before no quote stay
        {"a\\\"b", {"a\"b"}},                        // odd run: a literal quote
        {"a\\\\\"b c\"", {"a\\b c"}},                // even run: half of it, and the quote opens
        {"a\\\\\\\"b", {"a\\\"b"}},
        {"\"a\"\"b\"", {"a\"b"}},                    // "" inside quotes
        {"\"\"", {""}},
        {"\"unterminated arg", {"unterminated arg"}},
        {"/s", {"/s"}},
        {"", {}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.args, splitCommandLine(c.line));
    }
    EXPECT_TRUE(splitCommandLine(nullptr).empty());
}

TEST(QuoteExecArgument, ReservedCharactersArePutInQuotes) {
    struct QuoteCase {
        const char* argument;
        const char* quoted;
    };
    const QuoteCase cases[] = {
        {"plain", "plain"},
        {"/opt/Vexa 3D/bin/run", "\"/opt/Vexa 3D/bin/run\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"$HOME", "\"\\$HOME\""},
        {"`cmd`", "\"\\`cmd\\`\""},
        {"c:\\dir", "\"c:\\\\dir\""},
        {"it's", "\"it's\""},
        {"50%", "50%%"},
        {"a;b", "\"a;b\""},
        {"", "\"\""},
    };
    for (const QuoteCase& c : cases) {
        SCOPED_TRACE(c.argument);
        EXPECT_EQ(c.quoted, quoteExecArgument(c.argument));
    }
}

TEST(EscapeDesktopValue, BackslashesAndLineBreaks) {
    EXPECT_EQ("\"c:\\\\\\\\dir\"", escapeDesktopValue("\"c:\\\\dir\""));  // four backslashes for one
    EXPECT_EQ("two\\nlines\\tand\\rend", escapeDesktopValue("two\nlines\tand\rend"));
    EXPECT_EQ("Vexa 3D", escapeDesktopValue("Vexa 3D"));
}
