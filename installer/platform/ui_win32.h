// Shared between the Windows frame and the Windows user-interface layer.
#pragma once
#include <windows.h>

extern HWND mainWindow;       // owner of message boxes and of the first progress window
extern HINSTANCE appInstance; // holds the dialog templates

struct Question;
// Shows a question in its dialog template (Question::dialog) and returns the
// index of the choice taken, kNoAnswer, or kNoDialog when it cannot be shown.
int askWithDialog(Question& question);
