// The user interface on Windows: message boxes, progress windows, the message pump.
#include "system.h"
#include "ui.h"
#include "ui_win32.h"
#include "../dialogs/resource.h"
#include <commctrl.h>
#include <cstdio>

HWND mainWindow = nullptr;
HINSTANCE appInstance = nullptr;

namespace {
INT_PTR CALLBACK progressProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        SetDlgItemTextA(dialog, IDC_PROGRESS_TEXT, "Please Wait...");
        return TRUE;
    }
    return FALSE;
}
}  // namespace

int platAsk(Question& question) {
    if (question.kind == "msgbox") {
        int button = MessageBoxA(mainWindow, question.text.c_str(), question.noTitle ? nullptr : question.title.c_str(),
                                 static_cast<UINT>(question.boxType));
        return choiceWithResult(question, button);
    }
    return askWithDialog(question);
}

PlatWindow platProgressOpen(PlatWindow owner, int visible) {
    HWND dialog = CreateDialogParamA(appInstance, "PROGRESSWAITER", static_cast<HWND>(owner), progressProc, 0);
    if (!dialog) {
        std::fprintf(stderr, "setup: cannot create the progress window (error %lu)\n", GetLastError());
        return nullptr;
    }
    ShowWindow(dialog, visible ? SW_SHOWNORMAL : SW_HIDE);
    SendDlgItemMessageA(dialog, IDC_PROGRESS_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    SendDlgItemMessageA(dialog, IDC_PROGRESS_BAR, PBM_SETPOS, 0, 0);
    SendDlgItemMessageA(dialog, IDC_PROGRESS_BAR, PBM_SETSTEP, 1, 0);
    return dialog;
}

void platProgressSetText(PlatWindow window, const char* text, int repaint) {
    HWND dialog = static_cast<HWND>(window);
    if (!dialog || !IsWindow(dialog)) return;
    SetDlgItemTextA(dialog, IDC_PROGRESS_TEXT, text);
    if (repaint) {
        InvalidateRect(dialog, nullptr, TRUE);
        UpdateWindow(dialog);
    }
}

void platProgressStep(PlatWindow window) {
    HWND dialog = static_cast<HWND>(window);
    if (dialog && IsWindow(dialog)) SendDlgItemMessageA(dialog, IDC_PROGRESS_BAR, PBM_STEPIT, 0, 0);
}

void platProgressClose(PlatWindow window) {
    HWND dialog = static_cast<HWND>(window);
    if (dialog && IsWindow(dialog)) DestroyWindow(dialog);
}

void platPumpMessages(int max) {
    MSG msg;
    for (int i = 0; i < max; i++) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) continue;
        if (msg.message == WM_QUIT) continue;  // taken while a section runs: not acted upon
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

PlatWindow platMainWindow() { return mainWindow; }

void platUpdateMainWindow() {
    if (mainWindow) UpdateWindow(mainWindow);
}

void platShowMainWindow(int show, const char*) {
    if (mainWindow) ShowWindow(mainWindow, show ? SW_SHOWNORMAL : SW_HIDE);
}

void platInvalidateMainWindow() {
    if (mainWindow) InvalidateRect(mainWindow, nullptr, FALSE);
}

void platBroadcastSettingChange() {
    SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, 0, SMTO_ABORTIFHUNG, 50, nullptr);
}

void platRequestRestart() {
    ExitWindowsEx(EWX_REBOOT, 0);
}

// Enables or disables one privilege of a token; 1 when adjusted, 0 otherwise.
static int EnableShutdownPrivilege(HANDLE token, const char* name, int enable) {
    LUID luid;
    if (!LookupPrivilegeValueA(nullptr, name, &luid)) {
        std::printf("LookupPrivilegeValue error: %u\n", static_cast<unsigned>(GetLastError()));
        return 0;
    }
    TOKEN_PRIVILEGES privileges;
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Luid = luid;
    privileges.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    SetLastError(0);
    AdjustTokenPrivileges(token, FALSE, &privileges, sizeof privileges, nullptr, nullptr);
    DWORD error = GetLastError();
    if (error != 0) {
        std::printf("AdjustTokenPrivileges failed: %u\n", static_cast<unsigned>(error));
        return 0;
    }
    return 1;
}

int platEnableShutdownPrivilege() {
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token)) return 0;
    int result = EnableShutdownPrivilege(token, "SeShutdownPrivilege", 1);
    CloseHandle(token);
    return result;
}

void platDiagnostic(const char* text) {
    std::fprintf(stderr, "%s\n", text);
    std::fflush(stderr);
    OutputDebugStringA(text);
}

void platReport(const char* text) {
    std::printf("%s\n", text);
    std::fflush(stdout);
}

void platFinishRun() {}

PlatWindow platWaiterOpen(PlatWindow owner, int show) {
    HWND dialog = CreateDialogParamA(appInstance, "WAITER", static_cast<HWND>(owner), progressProc, 0);
    if (!dialog) {
        std::fprintf(stderr, "setup: cannot create the search window (error %lu)\n", GetLastError());
        return nullptr;
    }
    ShowWindow(dialog, show ? SW_SHOWNORMAL : SW_HIDE);
    return dialog;
}
