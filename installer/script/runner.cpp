// The section runner.
#include "runner.h"
#include "commands.h"
#include "messages.h"
#include "reporting.h"
#include "parse.h"
#include "runstate.h"
#include "store.h"
#include "../base/format.h"
#include "../base/report.h"
#include "../platform/ui.h"
#include <cstdlib>

// Deeper nesting than the stack of section runs should hold: end the run as a failure.
static void nestingTooDeep(const char* name) {
    std::string text = formatString(
        "Script error: sections nested more than %d levels deep (goto, Include or ParseFile).", kMaxSectionDepth);
    reportDiagnostic("sections nested too deep at section \"%s\"", name ? name : "(none)");
    if (!run.silentMode) showFixedMessageBox(BoxOK, GetVariable("ERROR_TTL"), text.c_str());
    endRun(nullptr, EndMarkFailure | EndStopAll);
}

// Counts work against the run's budget; false (the run ended) past it.
static bool withinBudget(PlatWindow progress, int cost) {
    if (!run.stepBudget) return true;
    run.steps += cost;
    if (run.steps <= run.stepBudget) return true;
    reportDiagnostic("stopped: the run's budget of %d steps is spent", static_cast<int>(run.stepBudget));
    endRun(progress, EndStopAll);
    return false;
}

void RunSection(PlatWindow owner, const char* name) {
    PlatFile* file = run.scriptFile;
    long savedPosition = file ? platFileTell(file) : 0;
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

    if (!withinBudget(progress, kSectionSteps)) {
        // nothing more runs
    } else if (!file || !FindSection(name, file)) {
        if (!run.silentMode) ShowMessageBox(BoxOK, GetVariable("ERROR_TTL"), GetVariable("ERROR_INI_INC"), nullptr, 0);
        reportDiagnostic("section \"%s\" not found", name ? name : "(none)");
        noteFailure();
        // Only a missing first section ends the run: then the failed-install
        // mark goes (unless a failure is known) and an asked restart happens.
        // Below it the caller goes on, and its later failures must find the mark.
        if (run.depth == 1) endRun(progress, EndClearMark | EndRestartNow, -1);
    } else {
        // heap line buffer: nested runs keep their stack frames small
        char* line = static_cast<char*>(std::malloc(kLineBytes));
        while (line && !run.stopSection && !run.stopAll && !ReadScriptLine(line, file)) {
            if (!withinBudget(progress, 1)) break;
            ParsedLine parsed;
            parseScriptLine(line, &parsed);
            if (parsed.unknown) {
                const char* args[1] = {parsed.word};
                ShowErrorBox(GetVariable("ERROR_INI_SYNTAX"), args, 1);
                reportDiagnostic("unknown command: %s", parsed.word);
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

    if (file) platFileSeek(file, savedPosition, SEEK_SET);
    run.stopSection = savedStopSection;
    platProgressStep(progress);
    platProgressClose(progress);
    run.depth--;
}
