// How the installer's services tell what happens: diagnostics for the person
// running the installer, message boxes and progress lines named by message
// keys. A service never decides what a failure does to the run (it returns
// 0/-1 or a result); whoever runs the services installs a sink that resolves
// the keys, knows the run modes and shows or records what is reported.
#pragma once
#include "format.h"
#include "window.h"

// Box types and buttons, with the values Windows gives them.
enum { BoxOK = 0, BoxOKCancel = 1, BoxYesNo = 4 };
enum { ButtonOK = 1, ButtonCancel = 2, ButtonYes = 6, ButtonNo = 7 };

// When a box is shown: never in silent mode (the usual rule), or always.
enum BoxWhen { UnlessSilent, EvenSilent };

struct ReportSink {
    // one line for whoever runs the installer (standard error)
    void (*diagnostic)(const char* text);
    // a message box whose title and text are message keys (the text a format
    // of args); returns the button, or 0 when it was not shown
    int (*box)(BoxWhen when, int type, const char* titleKey, const char* textKey, const char* const* args,
               int argCount);
    // a message box with a text of the program's own, titled by a key
    int (*fixedBox)(BoxWhen when, int type, const char* titleKey, const char* text);
    // the progress line of a window, from a message key formatted with args
    void (*progress)(PlatWindow window, const char* textKey, const char* const* args, int argCount);
    // an error box: OK, titled by ERROR_TTL, the text a message key formatted
    // with args; nothing in silent mode or when the key has no text
    int (*errorBox)(const char* textKey, const char* const* args, int argCount);
};

// Installs the sink (nullptr: the default, which writes diagnostics to
// standard error and shows nothing).
void setReportSink(const ReportSink* sink);

void reportDiagnostic(const char* format, ...) SETUP_PRINTF(1, 2);
int reportBox(BoxWhen when, int type, const char* titleKey, const char* textKey, const char* const* args = nullptr,
              int argCount = 0);
int reportFixedBox(BoxWhen when, int type, const char* titleKey, const char* text);
int reportErrorBox(const char* textKey, const char* const* args = nullptr, int argCount = 0);
// Progress text with at most one argument (none when arg is nullptr).
void reportProgress(PlatWindow window, const char* textKey, const char* arg = nullptr);
