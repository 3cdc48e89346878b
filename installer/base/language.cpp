#include "language.h"
#include "text.h"

namespace {
struct LanguageRow {
    int code;
    const char* name;
};
const LanguageRow LanguageTable[] = {
    {0, "Neutral"}, {1, "Arabic"}, {2, "Bulgarian"}, {3, "Catalan "}, {4, "Chinese"}, {260, "ChineseT"},
    {5, "Czech"}, {6, "Danish"}, {7, "German"}, {8, "Greek"}, {9, "English"}, {10, "Spanish"},
    {11, "Finnish"}, {12, "French"}, {13, "Hebrew"}, {14, "Hungarian"}, {15, "Icelandic"},
    {16, "Italian"}, {17, "Japanese"}, {18, "Korean"}, {19, "Dutch"}, {20, "Norwegian"},
    {21, "Polish"}, {22, "Portuguese"}, {24, "Romanian"}, {25, "Russian"}, {26, "Croatian"},
    {26, "Serbian"}, {27, "Slovak"}, {28, "Albanian"}, {29, "Swedish"}, {30, "Thai"},
    {31, "Turkish"}, {32, "Urdu"}, {33, "Indonesian"}, {34, "Ukrainian"}, {35, "Belarusian"},
    {36, "Slovenian"}, {37, "Estonian"}, {38, "Latvian"}, {39, "Lithuanian"}, {41, "Farsi"},
    {42, "Vietnamese"}, {43, "Armenian"}, {44, "Azeri"}, {45, "Basque"}, {47, "Macedonian"},
    {54, "Afrikaans"}, {55, "Georgian"}, {56, "Faeroese"}, {57, "Hindi"}, {62, "Malay"},
    {63, "Kazak"}, {65, "Swahili"}, {67, "Uzbek"}, {68, "Tatar"}, {69, "Bengali"}, {70, "Punjabi"},
    {71, "Gujarati"}, {72, "Oriya"}, {73, "Tamil"}, {74, "Telugu"}, {75, "Kannada"},
    {76, "Malayalam"}, {77, "Assamese"}, {78, "Marathi"}, {79, "Sanskrit"}, {87, "Konkani"},
    {88, "Manipuri"}, {89, "Sindhi"}, {96, "Kashmiri"}, {97, "Nepali"},
};
static_assert(sizeof LanguageTable / sizeof LanguageTable[0] == 72, "72 languages");
}  // namespace

const char* LanguageName(int code) {
    for (const LanguageRow& row : LanguageTable)
        if (row.code == code) return row.name;
    return "English";
}

int languageCodeFor(unsigned languageId) {
    int code = static_cast<int>(languageId & 0xFF);
    if (code == 4) {
        unsigned sub = languageId >> 10;
        if (sub == 1) code = 260;     // traditional
        else if (sub != 2) code = 9;  // neither traditional nor simplified: English
    }
    return code;
}

const char* languageChosenFor(const char* name) {
    for (const LanguageRow& row : LanguageTable)
        if (textEqualNoCase(row.name, name)) return LanguageName(row.code);
    return nullptr;
}
