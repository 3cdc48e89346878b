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

// Which message file names setup ever chooses: setupcheck warns about the others.
TEST(LanguageChosenFor, TheNameOfTheFirstRowOfTheCode) {
    struct ChosenCase {
        const char* name;
        const char* chosen;  // nullptr: no such language
    };
    const ChosenCase cases[] = {
        {"French", "French"}, {"french", "French"}, {"Serbian", "Croatian"}, {"Catalan ", "Catalan "},
        {"Catalan", nullptr}, {"ChineseT", "ChineseT"}, {"Francais", nullptr}, {"", nullptr},
    };
    for (const ChosenCase& c : cases) {
        SCOPED_TRACE(c.name);
        const char* chosen = languageChosenFor(c.name);
        if (!c.chosen) EXPECT_EQ(nullptr, chosen);
        else EXPECT_STREQ(c.chosen, chosen);
    }
}
