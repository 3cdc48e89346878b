#include "progress.h"
#include "../script/format.h"
#include "../script/runstate.h"

void SetProgressText(PlatWindow window, char* text, const char* const* args, int argCount) {
    if (!text) return;  // the message key has no text
    convertLineBreaks(text);
    char shown[kFormatBytes];
    formatText(shown, sizeof shown, text, args, argCount);
    platProgressSetText(window, shown, !run.silentMode);
    platPumpMessages(1);
}
