// What the person running the installer sees: questions (message boxes and
// dialogs), progress windows, the main window, and lines of output.
#pragma once
#include "../base/question.h"
#include "../base/window.h"

// Asks the question on the screen (Windows) or the terminal (posix) and
// returns the index of the choice taken, its fields filled in. With nobody to
// ask (posix: no terminal), the default choice, said on standard output.
// -1 when no answer came (the input ended).
int platAsk(Question& question);
// Progress window of a section run (item 1001 text, item 1003 bar).
PlatWindow platProgressOpen(PlatWindow owner, int visible);
// The WAITER window of a drive search (item 1001 text), created without a
// modal loop as a child of owner; shown only when show is 1.
PlatWindow platWaiterOpen(PlatWindow owner, int show);
// Sets item 1001; repaint (not in silent mode) redraws at once.
void platProgressSetText(PlatWindow window, const char* text, int repaint);
void platProgressStep(PlatWindow window);
// Closing twice, or closing a window already gone, does nothing.
void platProgressClose(PlatWindow window);
// Takes and dispatches at most max pending window messages.
void platPumpMessages(int max);
PlatWindow platMainWindow();
void platUpdateMainWindow();
// Shows (show=1) or hides the main window. posix: prints the product name once.
void platShowMainWindow(int show, const char* productName);
void platInvalidateMainWindow();
void platBroadcastSettingChange();
// Writes a diagnostic line for whoever runs the installer (stderr).
void platDiagnostic(const char* text);
// Writes a line of the run's own output (stdout; posix converts to UTF-8).
void platReport(const char* text);
// Called once when the run ends (posix: closes the status line, prints notices).
void platFinishRun();
