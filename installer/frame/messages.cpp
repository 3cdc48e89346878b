// Message boxes and message files: every text shown comes from the variable
// store by key, so it can be translated.
#include "messages.h"
#include "../platform/platform.h"
#include "../script/format.h"
#include "../script/runstate.h"
#include "../script/store.h"
#include "../script/text.h"
#include <cstdlib>
#include <cstring>
#include <string>

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

const char* buttonWord(int button) {
    switch (button) {
    case ButtonOK: return "ok";
    case ButtonCancel: return "cancel";
    case ButtonYes: return "yes";
    case ButtonNo: return "no";
    }
    return "?";
}

// The box, answered from the answers file when one is in use.
int showBox(int type, const char* title, const char* text) {
    char answer[32];
    int taken = takeAnswer("msgbox", answer, sizeof answer);
    if (taken == 0) return platMessageBox(title, text, type);
    if (taken < 0) return 0;
    int button = 0;
    if (type == BoxOK && std::strcmp(answer, "ok") == 0) button = ButtonOK;
    if (type == BoxOKCancel && std::strcmp(answer, "ok") == 0) button = ButtonOK;
    if (type == BoxOKCancel && std::strcmp(answer, "cancel") == 0) button = ButtonCancel;
    if (type == BoxYesNo && std::strcmp(answer, "yes") == 0) button = ButtonYes;
    if (type == BoxYesNo && std::strcmp(answer, "no") == 0) button = ButtonNo;
    if (!button) {
        std::string msg = std::string("setup: answers file: \"msgbox ") + answer + "\" does not answer a " +
                          (type == BoxOK ? "OK" : type == BoxOKCancel ? "OK/Cancel" : "Yes/No") +
                          " message box: " + (title ? title : "") + ": " + text;
        platDiagnostic(msg.c_str());
        setFailure();
        run.stopSection = run.stopAll = 1;
        return 0;
    }
    std::string note = std::string("[") + (title ? title : "Error") + "] " + text + " -> " + buttonWord(button) +
                       " (answers file)";
    platReport(note.c_str());
    return button;
}

// Answers file state
bool answersOpened = false;
FILE* answersFile = nullptr;
int answersLine = 0;
std::string answersPath;

void answersFailure(const std::string& why) {
    platDiagnostic(("setup: answers file " + answersPath + ": " + why).c_str());
    setFailure();
    run.stopSection = run.stopAll = 1;
}
}  // namespace

int takeAnswer(const char* kind, char* answer, int size) {
    if (!answersOpened) {
        answersOpened = true;
        const char* path = std::getenv("SETUP_ANSWERS");
        if (!path || !*path) return 0;
        answersPath = path;
        answersFile = std::fopen(path, "r");
        if (!answersFile) {
            answersFailure("cannot be opened");
            return -1;
        }
    }
    if (answersPath.empty()) return 0;
    if (!answersFile) {
        answersFailure("cannot be opened");
        return -1;
    }
    char line[1024];
    for (;;) {
        if (!std::fgets(line, sizeof line, answersFile)) {
            answersFailure(std::string("ran out of answers before a \"") + kind + "\" question");
            return -1;
        }
        answersLine++;
        char* p = line;
        while (*p == ' ' || *p == '\t') p++;
        if (*p == '#' || *p == '\n' || *p == '\r' || !*p) continue;
        break;
    }
    // "<kind> <answer>"
    char* p = line;
    while (*p == ' ' || *p == '\t') p++;
    char* k = p;
    while (*p && *p != ' ' && *p != '\t' && *p != '\n' && *p != '\r') p++;
    std::string lineKind(k, static_cast<size_t>(p - k));
    while (*p == ' ' || *p == '\t') p++;
    char* a = p;
    size_t n = std::strlen(a);
    while (n && (a[n - 1] == '\n' || a[n - 1] == '\r' || a[n - 1] == ' ')) a[--n] = 0;
    if (!textEqualNoCase(lineKind.c_str(), kind)) {
        answersFailure("line " + std::to_string(answersLine) + " answers \"" + lineKind + "\" but the question is \"" +
                       kind + "\"");
        return -1;
    }
    for (size_t i = 0; i < n; i++) a[i] = lowerAscii(a[i]);
    copyText(answer, static_cast<size_t>(size), a);
    return 1;
}

void resetAnswers() {
    if (answersFile) std::fclose(answersFile);
    answersFile = nullptr;
    answersOpened = false;
    answersLine = 0;
    answersPath.clear();
}

int ShowMessageBox(int type, const char* title, const char* text, const char* const* args, int argCount) {
    if (!text) text = "*** invalid message ***";
    // copy with each backslash-n turned into a line break, then format
    char copy[kFormatBytes];
    copyText(copy, sizeof copy, text);
    convertLineBreaks(copy);
    char shown[kFormatBytes];
    formatText(shown, sizeof shown, copy, args, argCount);
    return showBox(type, title, shown);
}

int ShowErrorBox(char* text, const char* const* args, int argCount) {
    if (run.silentMode || !text) return 0;
    convertLineBreaks(text);  // the stored text itself keeps the change
    char shown[kFormatBytes];
    formatText(shown, sizeof shown, text, args, argCount);
    return showBox(BoxOK, GetVariable("ERROR_TTL"), shown);
}

int showFixedMessageBox(int type, const char* title, const char* text) {
    return showBox(type, title, text);
}

const char* LanguageName(int code) {
    for (const LanguageRow& row : LanguageTable)
        if (row.code == code) return row.name;
    return "English";
}

int languageCodeFor(unsigned languageId) {
    int code = static_cast<int>(languageId & 0xFF);
    if (code == 4) {
        unsigned sub = languageId >> 10;
        if (sub == 1) code = 260;       // traditional
        else if (sub != 2) code = 9;    // neither traditional nor simplified: English
    }
    return code;
}

void chooseLanguageFile(unsigned languageId) {
    int code = languageCodeFor(languageId);
    run.languageCode = static_cast<uint16_t>(code);
    std::string name = std::string("setup.") + LanguageName(code) + ".txt";
    FILE* f = platOpenFile(name.c_str(), "r");
    if (f) {
        std::fclose(f);
        SetVariable("languagefile", name.c_str());
    } else {
        SetVariable("languagefile", "setup.English.txt");
    }
}
