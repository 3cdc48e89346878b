// The section runner and the process-wide run state.
#include "runner.h"
#include "commands.h"
#include "parse.h"
#include "runstate.h"
#include "store.h"
#include "../fileops/progress.h"
#include "../frame/messages.h"
#include "../system/installstate.h"
#include <cstdlib>
#include <string>

RunState run;

void resetRunState() {
    run = RunState();
}

void setFailure() {
    run.failure = 1;
    run.failedDuringRun = 1;
}

void postQuitRequest(int code) {
    if (run.quitPending) return;
    run.quitPending = 1;
    run.quitCode = code;
}

int finalExitCode() {
    if (run.quitPending && run.quitCode != 0) return run.quitCode;
    return run.failedDuringRun ? 1 : 0;
}

void scriptDiagnostic(const char* format, const char* arg) {
    std::string text = "setup: ";
    if (run.scriptName) text += std::string(run.scriptName) + ": ";
    std::string f = format;
    size_t at = f.find("%s");
    if (at != std::string::npos) f.replace(at, 2, arg ? arg : "(none)");
    platDiagnostic((text + f).c_str());
}

// Deeper nesting than the stack of section runs should hold: end the run as a failure.
static void nestingTooDeep(const char* name) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "Script error: sections nested more than %d levels deep (goto, Include or ParseFile).",
                  kMaxSectionDepth);
    scriptDiagnostic("sections nested too deep at section \"%s\"", name);
    if (!run.silentMode) showFixedMessageBox(BoxOK, GetVariable("ERROR_TTL"), text);
    setFailure();
    run.stopSection = 1;
    run.stopAll = 1;
}

void RunSection(PlatWindow owner, const char* name) {
    FILE* file = run.scriptFile;
    long savedPosition = file ? std::ftell(file) : 0;
    int32_t savedStopSection = run.stopSection;
    if (run.depth >= kMaxSectionDepth) {
        nestingTooDeep(name);
        return;
    }
    run.depth++;

    PlatWindow progress = platProgressOpen(owner, !run.silentMode);
    char setupText[] = "Setup...";
    SetProgressText(progress, setupText, nullptr, 0);
    run.stopSection = 0;

    if (!file || !FindSection(name, file)) {
        if (!run.silentMode) ShowMessageBox(BoxOK, GetVariable("ERROR_TTL"), GetVariable("ERROR_INI_INC"), nullptr, 0);
        scriptDiagnostic("section \"%s\" not found", name);
        if (run.failure == 0) ClearFailureMark();
        if (run.rebootRequested) platRequestRestart();
        postQuitRequest(-1);
    } else {
        // heap line buffer: nested runs keep their stack frames small
        char* line = static_cast<char*>(std::malloc(kLineBytes));
        while (line && !run.stopSection && !run.stopAll && !ReadScriptLine(line, file)) {
            ParsedLine parsed;
            parseScriptLine(line, &parsed);
            if (parsed.unknown) {
                const char* args[1] = {parsed.word};
                ShowErrorBox(GetVariable("ERROR_INI_SYNTAX"), args, 1);
                scriptDiagnostic("unknown command: %s", parsed.word);
            } else if (parsed.code >= 0) {
                ExecuteCommand(progress, parsed.value[0], parsed.value[1], parsed.token[0], parsed.token[1],
                               parsed.code, parsed.bare[0], parsed.bare[1]);
            }
            if (!run.silentMode) platUpdateMainWindow();
            platPumpMessages(50);
            // a quit request taken by the pump here is not acted upon
            run.quitPending = 0;
            run.quitCode = 0;
        }
        std::free(line);
    }

    if (file) {
        std::clearerr(file);
        std::fseek(file, savedPosition, SEEK_SET);
    }
    run.stopSection = savedStopSection;
    platProgressStep(progress);
    platProgressClose(progress);
    run.depth--;
}
