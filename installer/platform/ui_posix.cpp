// The user interface on Linux: message boxes and progress on the terminal.
// Message boxes print their title and text on standard output and read the
// answer from the controlling terminal; with no terminal they take their
// default button (the first) and say so.
#include "platform.h"
#include "hostpath_posix.h"
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <unistd.h>

namespace {
struct ProgressWindow {
    bool visible;
};
std::map<intptr_t, ProgressWindow> progressWindows;
intptr_t nextWindow = 1;
bool statusLineOpen = false;  // a status line is being rewritten in place
std::string lastStatus;
bool bannerShown = false;
bool restartRequested = false;

// Ends an in-place status line before other output.
void closeStatusLine() {
    if (statusLineOpen) {
        std::fputs("\n", stdout);
        std::fflush(stdout);
        statusLineOpen = false;
    }
}

std::string oneLine(const char* text) {
    std::string s = text;
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

bool isYes(const std::string& s) { return s == "y" || s == "yes"; }
bool isNo(const std::string& s) { return s == "n" || s == "no"; }
bool isOk(const std::string& s) { return s == "o" || s == "ok"; }
bool isCancel(const std::string& s) { return s == "c" || s == "cancel"; }
}  // namespace

int platMessageBox(const char* title, const char* text, int type) {
    closeStatusLine();
    std::string t = toUtf8(title ? title : "Error");
    std::string body = toUtf8(text ? text : "");
    std::string shown;
    for (char c : body)
        if (c != '\r') shown += c;
    std::printf("\n== %s ==\n%s\n", t.c_str(), shown.c_str());
    const int defaultButton = type == BoxYesNo ? ButtonYes : ButtonOK;
    const char* defaultWord = type == BoxYesNo ? "Yes" : "OK";
    const char* prompt = type == BoxYesNo ? "[Y]es / [N]o (Enter: Yes)? " : type == BoxOKCancel ? "[O]K / [C]ancel (Enter: OK)? " : "[O]K (Enter)? ";
    FILE* tty = std::fopen("/dev/tty", "r+");
    if (!tty) {
        std::printf("(no terminal: taking the default button, %s)\n", defaultWord);
        std::fflush(stdout);
        return defaultButton;
    }
    std::fflush(stdout);
    int button = 0;
    while (!button) {
        std::fputs(prompt, tty);
        std::fflush(tty);
        char line[64];
        if (!std::fgets(line, sizeof line, tty)) {
            button = defaultButton;  // end of input: as Enter
            break;
        }
        std::string a;
        for (char* p = line; *p && *p != '\n' && *p != '\r'; p++)
            if (*p != ' ') a += static_cast<char>((*p >= 'A' && *p <= 'Z') ? *p + 32 : *p);
        if (a.empty()) button = defaultButton;
        else if (type == BoxYesNo && isYes(a)) button = ButtonYes;
        else if (type == BoxYesNo && isNo(a)) button = ButtonNo;
        else if (type != BoxYesNo && isOk(a)) button = ButtonOK;
        else if (type == BoxOKCancel && isCancel(a)) button = ButtonCancel;
    }
    std::fclose(tty);
    return button;
}

PlatWindow platProgressOpen(PlatWindow, int visible) {
    intptr_t id = nextWindow++;
    progressWindows[id] = ProgressWindow{visible != 0};
    return reinterpret_cast<PlatWindow>(id);
}

void platProgressSetText(PlatWindow window, const char* text, int) {
    auto it = progressWindows.find(reinterpret_cast<intptr_t>(window));
    if (it == progressWindows.end() || !it->second.visible) return;
    std::string line = toUtf8(oneLine(text).c_str());
    if (isatty(1)) {
        std::printf("\r\033[K%s", line.c_str());
        statusLineOpen = true;
    } else if (line != lastStatus) {
        std::printf("%s\n", line.c_str());
    }
    lastStatus = line;
    std::fflush(stdout);
}

void platProgressStep(PlatWindow) {}

void platProgressClose(PlatWindow window) {
    progressWindows.erase(reinterpret_cast<intptr_t>(window));
}

void platPumpMessages(int) {}

PlatWindow platMainWindow() { return nullptr; }

void platUpdateMainWindow() {}

void platShowMainWindow(int show, const char* productName) {
    if (!show || bannerShown || !productName) return;
    closeStatusLine();
    std::string name = toUtf8(productName);
    std::printf("\n  %s\n  %s\n\n", name.c_str(), std::string(name.size(), '=').c_str());
    std::fflush(stdout);
    bannerShown = true;
}

void platInvalidateMainWindow() {}

void platBroadcastSettingChange() {}

void platRequestRestart() { restartRequested = true; }

int platEnableShutdownPrivilege() { return 1; }

void platDiagnostic(const char* text) {
    closeStatusLine();
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", toUtf8(text).c_str());
}

void platReport(const char* text) {
    closeStatusLine();
    std::string t = toUtf8(text);
    std::string shown;
    for (char c : t)
        if (c != '\r') shown += c;
    std::printf("%s\n", shown.c_str());
    std::fflush(stdout);
}

void platFinishRun() {
    closeStatusLine();
    if (restartRequested)
        std::printf("\nA restart of the computer was requested to finish the installation: please restart it now.\n");
    std::fflush(stdout);
}

PlatWindow platWaiterOpen(PlatWindow owner, int show) {
    // one more status line, like a section's progress
    return platProgressOpen(owner, show);
}
