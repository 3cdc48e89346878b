// Message boxes, message-file choice and the unattended answers file.
#pragma once
#include <cstdint>

// Shows text (a stored text used as a format with args) in a message box owned
// by the main window. An absent text shows "*** invalid message ***". Returns
// the button pressed. Callers test silent mode.
int ShowMessageBox(int type, const char* title, const char* text, const char* const* args, int argCount);
// Error box titled ERROR_TTL. Converts backslash-n in the stored text itself.
// Returns 0 without showing anything in silent mode or for an absent text.
int ShowErrorBox(char* text, const char* const* args, int argCount);
// A box whose text is fixed by the program (not a format).
int showFixedMessageBox(int type, const char* title, const char* text);

// Name of the first language table row with that code, or "English".
const char* LanguageName(int code);
// Language code of a Windows language identifier (traditional Chinese is 260).
int languageCodeFor(unsigned languageId);
// Sets languagefile: setup.<Language>.txt when it can be opened, else setup.English.txt.
void chooseLanguageFile(unsigned languageId);

// Unattended answers ($SETUP_ANSWERS). Returns 1 and the answer word (lower case)
// when an answers file is in use, 0 when not. A missing file, a file that ran
// out or a line of another kind ends the run as a failure (returns -1).
int takeAnswer(const char* kind, char* answer, int size);
// Forgets the answers file state (tests).
void resetAnswers();
