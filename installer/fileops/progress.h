// The progress text of the running section.
#pragma once
#include "../platform/platform.h"

// Formats text (a stored text; its backslash-n pairs become line breaks in
// place) with args into item 1001 of window, then handles one pending message.
// An absent text does nothing.
void SetProgressText(PlatWindow window, char* text, const char* const* args, int argCount);
