// setup on Windows: the hidden backdrop window that runs the script once.
#include "installlog.h"
#include "startup.h"
#include "../platform/system.h"
#include "../platform/ui.h"
#include "../platform/ui_win32.h"
#include "../script/runstate.h"
#include "../script/store.h"
#include "../system/installstate.h"
#include <commctrl.h>
#include <objbase.h>
#include <cstdio>

namespace {
const char kWindowsLines[] =
    "  SETUP_SEARCH_ROOTS=DIR;DIR...  the folders that ApplyOnFiles searches, instead\n"
    "                       of the fixed drives\n";

// The usage goes to standard output when it leads somewhere (a file, a pipe,
// the console setup was started from); otherwise it is shown in a box.
void showUsage() {
    std::string text = setupUsage(kWindowsLines);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    bool hasOutput = out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN;
    if (!hasOutput && AttachConsole(ATTACH_PARENT_PROCESS) && std::freopen("CONOUT$", "w", stdout)) hasOutput = true;
    if (hasOutput) {
        std::fputs(text.c_str(), stdout);
        std::fflush(stdout);
    } else {
        MessageBoxA(nullptr, text.c_str(), "Setup", MB_OK);
    }
}

HBRUSH backgroundBrush = nullptr;
HFONT titleFont = nullptr;
bool scriptStarted = false;

void paintMainWindow(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    FillRect(dc, &ps.rcPaint, backgroundBrush);
    HGDIOBJ oldFont = SelectObject(dc, titleFont);
    SetBkColor(dc, RGB(0, 0, 80));
    SetBkMode(dc, TRANSPARENT);
    const char* name = GetVariable("SETUPNAME");
    if (name) {
        // two-step shadow: darker layers first, the name itself on top
        int length = lstrlenA(name);
        SetTextColor(dc, RGB(0, 48, 80));
        TextOutA(dc, 12, 12, name, length);
        SetTextColor(dc, RGB(16, 64, 80));
        TextOutA(dc, 10, 10, name, length);
        SetTextColor(dc, RGB(48, 96, 160));
        TextOutA(dc, 8, 8, name, length);
    }
    SelectObject(dc, oldFont);
    EndPaint(window, &ps);
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        mainWindow = window;
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        InitCommonControls();
        backgroundBrush = CreateSolidBrush(RGB(0, 0, 80));
        titleFont = CreateFontA(50, 25, 0, 0, 900, TRUE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "arial");
        PostMessageA(window, WM_USER, 0, 0);
        return 0;
    case WM_USER:
        // the script runs once, inside this message; the runner keeps pumping
        if (!scriptStarted) {
            scriptStarted = true;
            if (runSetupScript() == 0) {
                platBroadcastSettingChange();
                CoUninitialize();
                finishSetupScript();
            }
            int status = finalExitCode();
            closeInstallLog(status);
            PostQuitMessage(status);
        }
        return 0;
    case WM_PAINT:
        paintMainWindow(window);
        return 0;
    case WM_DESTROY:
        CoUninitialize();
        endRun(nullptr, EndClearMark);
        closeInstallLog(finalExitCode());
        PostQuitMessage(finalExitCode());
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    appInstance = instance;
    if (isHelpRequest(commandLine)) {
        showUsage();
        return 0;
    }
    resetRunState();
    const char* logPath = platEnv("SETUP_LOG");
    if (logPath && *logPath) openInstallLog(logPath, nullptr);
    setupStartUp(commandLine);

    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "Install";
    RegisterClassA(&windowClass);

    HWND owner = FindWindowA(nullptr, "VEXA Setup Progress");
    HWND window = CreateWindowA("Install", "Setup", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, owner, nullptr, instance, nullptr);
    if (!window) return -1;
    ShowWindow(window, SW_HIDE);
    if (!run.silentMode) UpdateWindow(window);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
