// Shared between the Windows frame and the Windows user-interface layer.
#pragma once
#include <windows.h>

extern HWND mainWindow;       // owner of message boxes and of the first progress window
extern HINSTANCE appInstance; // holds the dialog templates
