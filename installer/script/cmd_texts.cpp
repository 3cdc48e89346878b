// Variables, texts, comparisons, message boxes, small file tests and the run modes.
#include "handlers.h"
#include "messages.h"
#include "parse.h"
#include "reporting.h"
#include "runstate.h"
#include "store.h"
#include "../base/report.h"
#include "../base/text.h"
#include "../config/tokens.h"
#include "../platform/files.h"
#include "../platform/system.h"
#include "../platform/ui.h"
#include <algorithm>
#include <cstring>
#include <string>

namespace {
// Writes a variable named by a token, refusing an empty name.
void setNamed(const char* command, const char* name, const char* value) {
    if (!*name) {
        reportDiagnostic("%s: no variable named", command);
        return;
    }
    if (!value) {
        reportDiagnostic("set: no value for %s (undefined variable or missing argument)", name);
        return;
    }
    if (SetVariable(name, value) < 0) reportDiagnostic("cannot store variable %s (store full)", name);
}

// The condition of a comparison; 0 when a value is missing.
void compareValues(CommandCall& c, bool (*holds)(const char*, const char*)) {
    run.condition = (c.value[0] && c.value[1] && holds(c.value[0], c.value[1])) ? 1 : 0;
}

void messageBox(CommandCall& c, int type, int yes) {
    if (run.silentMode) return;
    int button = ShowMessageBox(type, c.value[1], c.value[0], nullptr, 0);
    run.condition = yes ? (button == yes ? 1 : 0) : button;
}
}  // namespace

void doSet(CommandCall& c) {
    setNamed("set", c.token[0], c.value[1]);
    if (std::strcmp(c.token[0], "SETUPNAME") == 0 && !run.miniMode) platInvalidateMainWindow();
}

void doGet(CommandCall&) {}

void doStrcat(CommandCall& c) {
    std::string joined = std::string(c.value[0] ? c.value[0] : "") + (c.value[1] ? c.value[1] : "");
    setNamed("Strcat", c.token[0], joined.c_str());
}

void doStrcmp(CommandCall& c) {
    compareValues(c, [](const char* a, const char* b) { return std::strcmp(a, b) == 0; });
}
void doStricmp(CommandCall& c) {
    compareValues(c, [](const char* a, const char* b) { return textEqualNoCase(a, b); });
}
void doIsGreater(CommandCall& c) {
    compareValues(c, [](const char* a, const char* b) { return std::strcmp(a, b) > 0; });
}
void doIsLower(CommandCall& c) {
    compareValues(c, [](const char* a, const char* b) { return std::strcmp(a, b) < 0; });
}

void doMkStr(CommandCall& c) {
    SetVariable("QTSTR", "");
    if (c.value[0]) SetVariable("QTSTR", (std::string("\"") + c.value[0] + "\"").c_str());
}

void doClr(CommandCall& c) { ClearVariable(c.token[0]); }

void doMsgBoxOK(CommandCall& c) { messageBox(c, BoxOK, 0); }
void doMsgBoxOKCancel(CommandCall& c) { messageBox(c, BoxOKCancel, ButtonOK); }
void doMsgBoxYESNO(CommandCall& c) { messageBox(c, BoxYesNo, ButtonYes); }

void doExist(CommandCall& c) { run.condition = c.value[0] ? platPathMatches(c.value[0]) : 0; }

void doFindInFile(CommandCall& c) {
    const char* text = c.value[0];
    run.condition = 0;
    PlatFile* f = (text && c.value[1]) ? platFileOpen(c.value[1], "rb") : nullptr;
    if (!f) return;
    size_t n = std::strlen(text);
    char line[kLineBytes];
    while (platFileReadPiece(f, line, kLineBytes) > 0) {
        const char* p = line;
        while (*p && isScriptBlank(*p)) p++;
        if (textPrefixNoCase(p, text, n)) {
            run.condition = 1;
            break;
        }
        platPumpMessages(1);
    }
    platFileClose(f);
}

void doGetVersion(CommandCall& c) {
    const char* file = c.value[0];
    const char* key = c.value[1];
    SetVariable("MAJMIN", "0000-0000");
    PlatFile* f = (file && key) ? platFileOpen(file, "rb") : nullptr;
    if (!f) return;
    char line[kLineBytes];
    char* tokens[kConfigTokens];
    int count = 0;
    bool found = false;
    while (platFileReadPiece(f, line, kLineBytes) > 0) {
        bool overflow = false;
        count = SplitConfigTokens(line, tokens, kConfigTokens, &overflow);
        if (count > 2 && textEqualNoCase(tokens[0], key)) {
            found = true;
            break;
        }
    }
    platFileClose(f);
    if (!found) return;
    size_t n = std::strlen(tokens[count - 1]);
    if (n && tokens[count - 1][n - 1] == '\n') tokens[count - 1][n - 1] = 0;
    // at most 25 parts of 4 characters (127 characters with the dashes)
    std::string result;
    for (int i = 1; i < count && i <= 25; i++) {
        std::string part(tokens[i], std::min<size_t>(std::strlen(tokens[i]), 4));
        if (part.size() < 4) part.insert(0, 4 - part.size(), '0');
        if (i > 1) result += '-';
        result += part;
    }
    if (count - 1 > 25) reportDiagnostic("GetVersion: only the first 25 parts of %s are used", key);
    SetVariable("MAJMIN", result.c_str());
}

void doAppendFile(CommandCall& c) {
    const char* text = c.value[0];
    const char* file = c.value[1];
    if (!text || !file) {
        run.condition = 0;
        reportDiagnostic("AppendFile: %s", !file ? "no file given" : "no text given");
        return;
    }
    PlatFile* f = platFileOpen(file, "a+");
    if (!f) {
        run.condition = 0;
        return;
    }
    platFilePuts(f, text);
    platFilePuts(f, "\n");
    platFileClose(f);
    run.condition = 1;
}

void doGetTempFileName(CommandCall& c) {
    const char* name = c.token[0];
    const char* dir = GetVariable("DSTDIR");
    if (!*name || !dir) {
        reportDiagnostic("GetTempFileName: %s", !*name ? "no variable named" : "DSTDIR is not set");
        return;
    }
    char path[1100];
    if (platCreateTempFile(dir, "temp", path, sizeof path) != 0) {
        reportDiagnostic("GetTempFileName: cannot create a file in %s", dir);
        return;
    }
    SetVariable(name, path);
}

void doCD(CommandCall& c) {
    // the argument as written: a bare word is not looked up
    const char* dir = c.token[0];
    if (!*dir || platSetCurrentDir(dir) != 0) reportDiagnostic("CD: cannot change to \"%s\"", dir);
}

void doIsMini(CommandCall&) { run.condition = run.miniMode ? 1 : 0; }
void doIsSilent(CommandCall&) { run.condition = run.silentMode ? 1 : 0; }
void doIsSpace(CommandCall&) { run.condition = 1; }

void doSetText(CommandCall& c) {
    if (!c.value[0]) return;
    // a text from a variable is converted in place, as every stored progress text is
    char* stored = c.bare[0] ? GetVariable(c.token[0]) : nullptr;
    if (stored) {
        SetProgressText(c.progress, stored, nullptr, 0);
    } else {
        std::string text = c.value[0];
        SetProgressText(c.progress, &text[0], nullptr, 0);
    }
}
