// The script's side of reporting: diagnostics name the script, message keys
// are looked up in the variable store, and boxes follow the run's modes.
#pragma once
#include "../base/window.h"

// Installs the report sink through which the services report (resetRunState does).
void installScriptReporting();
// Formats text (a stored text; its backslash-n pairs become line breaks in
// place) with args into item 1001 of window, then handles one pending message.
// An absent text does nothing.
void SetProgressText(PlatWindow window, char* text, const char* const* args, int argCount);
