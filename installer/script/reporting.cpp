#include "reporting.h"
#include "messages.h"
#include "runstate.h"
#include "store.h"
#include "../base/format.h"
#include "../base/log.h"
#include "../base/report.h"
#include "../platform/ui.h"
#include <string>

void SetProgressText(PlatWindow window, char* text, const char* const* args, int argCount) {
    if (!text) return;  // the message key has no text
    convertLineBreaks(text);
    char shown[kFormatBytes];
    formatText(shown, sizeof shown, text, args, argCount);
    platProgressSetText(window, shown, !run.silentMode);
    platPumpMessages(1);
}

namespace {
void diagnostic(const char* text) {
    std::string line = "setup: ";
    if (run.scriptName) line += std::string(run.scriptName) + ": ";
    platDiagnostic((line + text).c_str());
    logLine("said on standard error: %s", text);
}

int box(BoxWhen when, int type, const char* titleKey, const char* textKey, const char* const* args, int argCount) {
    if (when == UnlessSilent && run.silentMode) return 0;
    return ShowMessageBox(type, GetVariable(titleKey), GetVariable(textKey), args, argCount);
}

int fixedBox(BoxWhen when, int type, const char* titleKey, const char* text) {
    if (when == UnlessSilent && run.silentMode) return 0;
    return showFixedMessageBox(type, GetVariable(titleKey), text);
}

void progress(PlatWindow window, const char* textKey, const char* const* args, int argCount) {
    SetProgressText(window, GetVariable(textKey), args, argCount);
}

int errorBox(const char* textKey, const char* const* args, int argCount) {
    return ShowErrorBox(GetVariable(textKey), args, argCount);
}

const ReportSink scriptSink = {diagnostic, box, fixedBox, progress, errorBox};
}  // namespace

void installScriptReporting() { setReportSink(&scriptSink); }
