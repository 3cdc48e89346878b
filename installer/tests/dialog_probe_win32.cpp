// Looks at the dialogs of a running setup.exe from another program, for the
// tests that drive them with the keyboard:
//   dialog_probe wait ITEM        waits (10 s at most) until a visible dialog
//                                 holding the control ITEM is the active one
//   dialog_probe gone ITEM        waits until no visible dialog holds ITEM
//   dialog_probe text ITEM ID     prints the text of control ID of that dialog
//   dialog_probe rect ITEM        prints the dialog's place on the screen as
//                                 WIDTHxHEIGHT+X+Y
//   dialog_probe enabled ITEM ID  exit status 0 when control ID is enabled
// Exit status 0 when done, 1 when the dialog is not (or still) there.
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
struct Search {
    int item;
    HWND found;
};

BOOL CALLBACK visit(HWND window, LPARAM data) {
    Search* search = reinterpret_cast<Search*>(data);
    char name[32];
    if (IsWindowVisible(window) && GetClassNameA(window, name, sizeof name) && !std::strcmp(name, "#32770") &&
        GetDlgItem(window, search->item)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND dialogWith(int item) {
    Search search = {item, nullptr};
    EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The dialog holding item once it is shown and takes the keyboard (no
// dialog of its own is open over it).
HWND waitFor(int item) {
    for (int i = 0; i < 200; i++) {
        HWND dialog = dialogWith(item);
        if (dialog && IsWindowEnabled(dialog)) {
            Sleep(300);  // let it finish drawing
            return dialog;
        }
        Sleep(50);
    }
    return nullptr;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: dialog_probe wait|gone|text|rect|enabled ITEM [ID]\n");
        return 2;
    }
    const char* what = argv[1];
    int item = std::atoi(argv[2]);
    if (!std::strcmp(what, "gone")) {
        for (int i = 0; i < 200; i++) {
            if (!dialogWith(item)) return 0;
            Sleep(50);
        }
        return 1;
    }
    HWND dialog = waitFor(item);
    if (!dialog) {
        std::fprintf(stderr, "dialog_probe: no dialog with the control %d\n", item);
        return 1;
    }
    if (!std::strcmp(what, "text") && argc > 3) {
        char text[65536] = "";
        GetDlgItemTextA(dialog, std::atoi(argv[3]), text, sizeof text);
        std::printf("%s\n", text);
    } else if (!std::strcmp(what, "rect")) {
        RECT r;
        GetWindowRect(dialog, &r);
        std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
    } else if (!std::strcmp(what, "enabled") && argc > 3) {
        return IsWindowEnabled(GetDlgItem(dialog, std::atoi(argv[3]))) ? 0 : 1;
    }
    return 0;
}
