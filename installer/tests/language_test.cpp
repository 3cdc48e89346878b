// Choice of the message file from the user's language identifier.
#include "base/language.h"
#include <gtest/gtest.h>
#include <string>

TEST(LanguageName, FromLanguageIdentifiers) {
    struct LanguageCase {
        unsigned languageId;
        const char* name;
    };
    static const LanguageCase cases[] = {
        {0x040C, "French"},   {0x0409, "English"},  {0x0809, "English"},  {0x0403, "Catalan "},
        {0x081A, "Croatian"}, {0x041A, "Croatian"}, {0x0404, "ChineseT"}, {0x0804, "Chinese"},
        {0x0C04, "English"},  {0x1004, "English"},  {0x0417, "English"},  {0x0000, "Neutral"},
        {0x0461, "Nepali"},   {0x0407, "German"},   {0x00FF, "English"},
    };
    for (const LanguageCase& c : cases) {
        SCOPED_TRACE(c.languageId);
        EXPECT_EQ(std::string(c.name), LanguageName(languageCodeFor(c.languageId)));
    }
    EXPECT_EQ(260, languageCodeFor(0x0404));
    EXPECT_STREQ("English", LanguageName(23));
}
