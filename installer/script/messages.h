// Message boxes: every text shown comes from the variable store by key, so it
// can be translated, and every box is a question answered by a person, the
// answers file, or the default when nobody can answer.
#pragma once

// Shows text (a stored text used as a format with args) in a message box owned
// by the main window. An absent text shows "*** invalid message ***". Returns
// the button pressed (0 when no answer could be had: the run then ends as a
// failure). Callers test silent mode.
int ShowMessageBox(int type, const char* title, const char* text, const char* const* args, int argCount);
// Error box titled ERROR_TTL. Converts backslash-n in the stored text itself.
// Returns 0 without showing anything in silent mode or for an absent text.
int ShowErrorBox(char* text, const char* const* args, int argCount);
// A box whose text is fixed by the program (not a format).
int showFixedMessageBox(int type, const char* title, const char* text);
