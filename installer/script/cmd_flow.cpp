// Control flow: If/Else/Endif, goto, Return, quit, quiterr, Include, ParseFile.
#include "handlers.h"
#include "messages.h"
#include "parse.h"
#include "runner.h"
#include "runstate.h"
#include "store.h"
#include "../base/report.h"
#include "../base/text.h"
#include <cstring>

namespace {
// Skips lines of the current script file up to a line whose first word is one
// of the two words. Returns the index of the word found, or -1 at the end of the file.
int SkipBlock(const char* word1, const char* word2) {
    if (!run.scriptFile) return -1;  // a command run outside any script: nothing to skip
    char line[kLineBytes];
    while (platFileReadPiece(run.scriptFile, line, kLineBytes) > 0) {
        char* p = line;
        while (*p && isScriptBlank(*p)) p++;
        char* w = p;
        while (*p && !isScriptBlank(*p)) p++;
        *p = 0;
        if (textEqualNoCase(w, word1)) return 0;
        if (word2 && textEqualNoCase(w, word2)) return 1;
    }
    return -1;
}

void blockSyntaxError(const char* missing) {
    const char* args[1] = {missing};
    ShowErrorBox(GetVariable("ERROR_SYNTAX"), args, 1);
    reportDiagnostic("If or Else without its %s", missing);
    run.condition = 0;
    endRun(nullptr, EndMarkFailure | EndStopSection);
}

void quitRun(CommandCall& c, bool error) {
    if (!run.silentMode) ShowMessageBox(BoxOK, c.value[1], c.value[0], nullptr, 0);
    endRun(c.progress, (error ? EndMarkFailure : 0u) | EndRestartNow | EndCloseProgress | EndStopAll);
}
}  // namespace

void doIf(CommandCall&) {
    if (run.condition) return;
    int found = SkipBlock("Else", "Endif");
    if (found == 0) run.condition = 1;
    else if (found == 1) run.condition = 2;
    else blockSyntaxError("else/endif");
}

void doElse(CommandCall&) {
    if (SkipBlock("Endif", nullptr) == 0) run.condition = 1;
    else blockSyntaxError("endif");
}

void doEndif(CommandCall&) {}

void doGoto(CommandCall& c) { RunSection(c.progress, c.value[0]); }

void doReturn(CommandCall&) {
    run.condition = 0;
    run.stopSection = 1;
}

void doQuit(CommandCall& c) { quitRun(c, false); }
void doQuiterr(CommandCall& c) { quitRun(c, true); }

void doInclude(CommandCall& c) {
    const char* file = c.value[0];
    PlatFile* f = file ? platFileOpen(file, "rb") : nullptr;
    if (!f) {
        run.condition = 0;
        reportDiagnostic("Include: cannot open %s%s%s", file ? file : "(none)", file ? ": " : "",
                         file ? platFailureText() : "");
        return;
    }
    PlatFile* savedFile = run.scriptFile;
    const char* savedName = run.scriptName;
    int32_t savedUtf8 = run.scriptUtf8;
    run.scriptFile = f;
    run.scriptName = file;
    run.scriptUtf8 = platFileHasUtf8Bom(f);
    RunSection(c.progress, c.value[1]);
    platFileClose(f);
    run.scriptFile = savedFile;
    run.scriptName = savedName;
    run.scriptUtf8 = savedUtf8;
}

void doParseFile(CommandCall& c) {
    const char* file = c.value[0];
    PlatFile* f = file ? platFileOpen(file, "rb") : nullptr;
    if (!f) {
        reportDiagnostic("ParseFile: cannot open %s%s%s", file ? file : "(none)", file ? ": " : "",
                         file ? platFailureText() : "");
        return;
    }
    char line[kLineBytes];
    while (!run.stopAll && platFileReadPiece(f, line, kLineBytes) > 0) {
        size_t n = std::strlen(line);
        if (n && line[n - 1] == '\n') line[n - 1] = 0;
        const char* stripped = line;
        while (*stripped && isScriptBlank(*stripped)) stripped++;
        SetVariable("TempLine", line);
        SetVariable("TempStripped", stripped);
        RunSection(nullptr, c.value[1]);
    }
    platFileClose(f);
}
