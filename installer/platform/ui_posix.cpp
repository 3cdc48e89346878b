// The user interface on Linux: questions and progress on the terminal.
// A question prints its title and text on standard output and reads the
// answer from the controlling terminal; with no terminal it takes its
// default choice and says so.
#include "system.h"
#include "ui.h"
#include "hostpath_posix.h"
#include "../base/text.h"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

// "[Y]es / [N]o (Enter: Yes)? ": each choice's first letter is its key.
std::string choicePrompt(const Question& q) {
    std::string prompt;
    for (size_t i = 0; i < q.choices.size(); i++) {
        const std::string& label = q.choices[i].label;
        if (i) prompt += " / ";
        prompt += label.empty() ? std::string("[?]") : "[" + label.substr(0, 1) + "]" + label.substr(1);
    }
    if (q.choices.size() == 1) return prompt + " (Enter)? ";
    return prompt + " (Enter: " + q.choices[static_cast<size_t>(q.defaultChoice)].label + ")? ";
}

// The choice an answer names: its word, its label or the label's first letter.
int choiceNamed(const Question& q, const std::string& answer) {
    for (size_t i = 0; i < q.choices.size(); i++) {
        const QuestionChoice& c = q.choices[i];
        if (textEqualNoCase(answer, c.word) || textEqualNoCase(answer, c.label) ||
            (answer.size() == 1 && !c.label.empty() && textEqualNoCase(answer, c.label.substr(0, 1))))
            return static_cast<int>(i);
    }
    return -1;
}

// One line from the terminal without its line end; false at the end of input.
bool readAnswer(FILE* tty, const std::string& prompt, std::string& answer) {
    std::fputs(prompt.c_str(), tty);
    std::fflush(tty);
    char line[1024];
    if (!std::fgets(line, sizeof line, tty)) return false;
    answer = line;
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) answer.pop_back();
    return true;
}

std::string trimmed(const std::string& s) {
    size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// Fills the fields from the terminal; false when the input ended.
bool askFields(FILE* tty, Question& q) {
    for (QuestionField& f : q.fields) {
        std::string answer;
        std::string label = toUtf8(f.label.c_str());
        std::string prompt = f.isCheck ? label + (f.value == "1" ? " [Y/n]: " : " [y/N]: ")
                                       : label + " [" + toUtf8(f.value.c_str()) + "]: ";
        if (!readAnswer(tty, prompt, answer)) return false;
        answer = trimmed(answer);
        if (answer.empty()) continue;  // Enter keeps the value shown
        if (f.isCheck) f.value = (answer[0] == 'y' || answer[0] == 'Y') ? "1" : "0";
        else f.value = answer;
    }
    return true;
}
}  // namespace

int platAsk(Question& q) {
    closeStatusLine();
    std::string shown;
    for (char c : toUtf8(q.text.c_str()))
        if (c != '\r') shown += c;
    std::printf("\n== %s ==\n%s\n", toUtf8(q.noTitle ? "Error" : q.title.c_str()).c_str(), shown.c_str());
    if (q.numbered)
        for (size_t i = 0; i < q.choices.size(); i++)
            std::printf("  %d. %s\n", static_cast<int>(i + 1), toUtf8(q.choices[i].label.c_str()).c_str());
    FILE* tty = std::fopen("/dev/tty", "r+");
    if (!tty) {
        const std::string& label = q.choices[static_cast<size_t>(q.defaultChoice)].label;
        std::printf("(no terminal: taking the default button, %s)\n", toUtf8(label.c_str()).c_str());
        std::fflush(stdout);
        return q.defaultChoice;
    }
    std::fflush(stdout);
    int chosen = -1;
    while (chosen < 0) {
        std::string answer;
        std::string prompt = q.numbered ? "Number (Enter: 1)? " : choicePrompt(q);
        if (!askFields(tty, q) || !readAnswer(tty, prompt, answer)) {
            chosen = q.defaultChoice;  // end of input: as Enter
            break;
        }
        answer = trimmed(answer);
        int picked = answer.empty() ? q.defaultChoice : -1;
        if (picked < 0 && q.numbered) {
            char* end = nullptr;
            long n = std::strtol(answer.c_str(), &end, 10);
            if (end && !*end && n >= 1 && n <= static_cast<long>(q.choices.size())) picked = static_cast<int>(n - 1);
        } else if (picked < 0) {
            picked = choiceNamed(q, answer);
        }
        if (picked < 0) continue;
        std::string why = q.check ? q.check(q, picked) : std::string();
        if (!why.empty()) {
            std::fprintf(tty, "%s\n", toUtf8(why.c_str()).c_str());
            continue;
        }
        chosen = picked;
    }
    std::fclose(tty);
    return chosen;
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
