// Looks at a running setup.exe from outside, as a user would see it: the
// hidden "Install" window titled "Setup", message boxes owned by it, the
// progress window of the running section (item 1001 text, item 1003 bar),
// and the window shown by ShowWindow. Answers the two boxes of
// frame_probe/setup.ini with OK. Exit status 0 when everything holds.
#include <windows.h>
#include <commctrl.h>
#include <cstdio>
#include <cstring>

namespace {
int failures = 0;

void check(bool ok, const char* what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    if (!ok) failures++;
}

HWND waitForWindow(const char* className, const char* title) {
    for (int i = 0; i < 200; i++) {
        HWND w = FindWindowA(className, title);
        if (w) return w;
        Sleep(50);
    }
    return nullptr;
}

struct ProgressSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK findProgress(HWND w, LPARAM param) {
    ProgressSearch* s = reinterpret_cast<ProgressSearch*>(param);
    char cls[64];
    GetClassNameA(w, cls, sizeof cls);
    if (std::strcmp(cls, "#32770") == 0 && GetWindow(w, GW_OWNER) == s->owner && GetDlgItem(w, 1001) &&
        GetDlgItem(w, 1003)) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

// The message box titled "Probe" showing text, answered with OK.
void answerBox(HWND main, const char* text) {
    HWND box = nullptr;
    char shown[256] = "";
    for (int i = 0; i < 200 && !box; i++) {
        HWND w = FindWindowA("#32770", "Probe");
        if (w) {
            HWND label = GetDlgItem(w, 0xFFFF);  // the static text of a message box
            if (label) GetWindowTextA(label, shown, sizeof shown);
            if (std::strcmp(shown, text) == 0) box = w;
        }
        if (!box) Sleep(50);
    }
    check(box != nullptr, text);
    if (!box) return;
    check(GetWindow(box, GW_OWNER) == main, "the message box is owned by the main window");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}
}  // namespace

int main() {
    HWND main = waitForWindow("Install", "Setup");
    check(main != nullptr, "a window of class Install titled Setup exists");
    if (!main) return 1;
    check(IsWindowVisible(main) == 0, "the main window starts hidden");
    answerBox(main, "waiting for the probe");
    ProgressSearch search = {main, nullptr};
    EnumWindows(findProgress, reinterpret_cast<LPARAM>(&search));
    check(search.found != nullptr, "the section's progress window (items 1001 and 1003) is owned by the main window");
    if (search.found) {
        char text[128] = "";
        GetDlgItemTextA(search.found, 1001, text, sizeof text);
        check(std::strcmp(text, "probing the frame") == 0, "item 1001 holds the text of SetText");
        check(IsWindowVisible(search.found) != 0, "the progress window is shown outside silent mode");
        LRESULT high = SendDlgItemMessageA(search.found, 1003, PBM_GETRANGE, FALSE, 0);
        check(high == 100, "the progress bar runs to 100");
    }
    answerBox(main, "the window is shown");
    check(IsWindowVisible(main) != 0, "ShowWindow showed the main window");
    for (int i = 0; i < 200 && IsWindow(main); i++) Sleep(50);
    check(!IsWindow(main), "setup ended by itself");
    return failures ? 1 : 0;
}
