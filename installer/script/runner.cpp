// The section runner.
#include "runner.h"
#include "commands.h"
#include "messages.h"
#include "reporting.h"
#include "parse.h"
#include "runstate.h"
#include "store.h"
#include "../base/format.h"
#include "../base/log.h"
#include "../base/report.h"
#include "../platform/ui.h"
#include <cstdlib>
#include <cstring>
#include <string>

// Deeper nesting than the stack of section runs should hold: end the run as a failure.
static void nestingTooDeep(const char* name) {
    std::string text = formatString(
        "Script error: sections nested more than %d levels deep (goto, Include or ParseFile).", kMaxSectionDepth);
    reportDiagnostic("sections nested too deep at section \"%s\"", name ? name : "(none)");
    if (!run.silentMode) showFixedMessageBox(BoxOK, GetVariable("ERROR_TTL"), text.c_str());
    endRun(nullptr, EndMarkFailure | EndStopAll);
}

static const char* scriptName() { return run.scriptName ? run.scriptName : "(script)"; }

// A command line as the log shows it: where it is, as written, and the
// values its arguments had (a bare word's variable looked up).
static void logCommand(int number, const std::string& shown, const ParsedLine& parsed) {
    std::string values;
    for (int slot = 0; slot < 2; slot++) {
        if (!*parsed.token[slot] && parsed.bare[slot]) continue;  // no argument written
        values += std::string(values.empty() ? " [" : ", ") + (slot == 0 ? "A=" : "B=") + logQuoted(parsed.value[slot]);
    }
    if (!values.empty()) values += "]";
    logLine("%s:%d: %s%s", scriptName(), number, shown.c_str(), values.c_str());
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
        logLine("section [%s] not found in %s", name ? name : "(none)", scriptName());
        if (!run.silentMode) ShowMessageBox(BoxOK, GetVariable("ERROR_TTL"), GetVariable("ERROR_INI_INC"), nullptr, 0);
        reportDiagnostic("section \"%s\" not found", name ? name : "(none)");
        noteFailure();
        // Only a missing first section ends the run: then the failed-install
        // mark goes (unless a failure is known) and an asked restart happens.
        // Below it the caller goes on, and its later failures must find the mark.
        if (run.depth == 1) endRun(progress, EndClearMark | EndRestartNow, -1);
    } else {
        bool logging = logEnabled();
        // the line numbers the log gives: counted while lines follow each
        // other, counted again when a command moved in the file (If, Else)
        long expected = -1;
        int number = 0, nextNumber = 0;
        if (logging) {
            expected = platFileTell(file);
            nextNumber = lineNumberAt(file, expected);
            logLine("section [%s] of %s, line %d: entered", name, scriptName(), nextNumber - 1);
        }
        // heap line buffer: nested runs keep their stack frames small
        char* line = static_cast<char*>(std::malloc(kLineBytes));
        for (;;) {
            if (!line || run.stopSection || run.stopAll) break;
            long at = logging ? platFileTell(file) : 0;
            if (ReadScriptLine(line, file)) break;
            if (!withinBudget(progress, 1)) break;
            if (run.scriptUtf8) convertUtf8Line(line);
            std::string shown;
            if (logging) {
                number = at == expected ? nextNumber : lineNumberAt(file, at);
                size_t length = std::strlen(line);
                nextNumber = number + (length && line[length - 1] == '\n' ? 1 : 0);
                expected = platFileTell(file);
                shown = line;
                while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r')) shown.pop_back();
                size_t first = shown.find_first_not_of(" \t");
                shown = first == std::string::npos ? "" : shown.substr(first);
            }
            ParsedLine parsed;
            parseScriptLine(line, &parsed);
            if (parsed.unknown) {
                logLine("%s:%d: %s: unknown command word, not run (the exit status will be 1)", scriptName(), number,
                        shown.c_str());
                const char* args[1] = {parsed.word};
                ShowErrorBox(GetVariable("ERROR_INI_SYNTAX"), args, 1);
                reportDiagnostic("unknown command: %s", parsed.word);
                // a script error: the flow goes on as before, the exit status says it
                noteFailure();
            } else if (parsed.code >= 0) {
                if (logging) logCommand(number, shown, parsed);
                ExecuteCommand(progress, parsed.value[0], parsed.value[1], parsed.token[0], parsed.token[1],
                               parsed.code, parsed.bare[0], parsed.bare[1]);
                logLine("%s:%d: -> condition %d, failure %d, stop section %d, stop all %d", scriptName(), number,
                        static_cast<int>(run.condition), static_cast<int>(run.failure),
                        static_cast<int>(run.stopSection), static_cast<int>(run.stopAll));
            }
            if (!run.silentMode) platUpdateMainWindow();
            platPumpMessages(50);
            // a quit request taken by the pump here is not acted upon
            run.quitPending = 0;
            run.quitCode = 0;
        }
        std::free(line);
        logLine("section [%s]: left", name);
    }

    if (file) platFileSeek(file, savedPosition, SEEK_SET);
    run.stopSection = savedStopSection;
    platProgressStep(progress);
    platProgressClose(progress);
    run.depth--;
}
