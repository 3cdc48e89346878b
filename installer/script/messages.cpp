// Message boxes, asked through the question model.
#include "messages.h"
#include "runstate.h"
#include "store.h"
#include "../base/format.h"
#include "../base/question.h"
#include "../base/report.h"
#include "../base/text.h"
#include "../dialogs/ask.h"

namespace {
int showBox(int type, const char* title, const char* text) {
    Question q = messageBoxQuestion(type, title, text);
    std::string why;
    int choice = askQuestion(q, why);
    if (choice < 0) {
        // no answer: never a guess, the run ends as a failure
        reportDiagnostic("%s", why.c_str());
        endRun(nullptr, EndMarkFailure | EndStopAll);
        return 0;
    }
    return q.choices[static_cast<size_t>(choice)].result;
}
}  // namespace

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

int showFixedMessageBox(int type, const char* title, const char* text) { return showBox(type, title, text); }
