// The user interface on Linux: questions and progress on the terminal.
// A question prints its title and text on standard output and reads the
// answer from the controlling terminal; with no terminal it takes its
// default choice and says so.
#include "system.h"
#include "ui.h"
#include "hostpath_posix.h"
#include "terminal_posix.h"
#include "../base/text.h"
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cctype>
#include <cstring>
#include <map>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>

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

std::string oneLine(const char* text) {
    std::string s = text;
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

bool isListEntry(const Question& q, size_t i) { return q.numbered && q.choices[i].word.empty(); }

// Each button's key: the first letter of its label that no button before it
// took ("[C]ontinue / [A]bort / c[H]ange destination..."); 0 when none is free.
std::vector<char> buttonKeys(const Question& q, const std::vector<std::string>& labels) {
    std::vector<char> keys(q.choices.size(), 0);
    std::string used;
    for (size_t i = 0; i < q.choices.size(); i++) {
        if (isListEntry(q, i)) continue;
        for (char c : labels[i]) {
            char l = lowerAscii(c);
            if (((l >= 'a' && l <= 'z') || (l >= '0' && l <= '9')) && used.find(l) == std::string::npos) {
                keys[i] = l;
                used += l;
                break;
            }
        }
    }
    return keys;
}

std::string choicePrompt(const Question& q, const std::vector<std::string>& labels, const std::vector<char>& keys) {
    const TerminalTexts& texts = terminalTexts();
    std::string prompt;
    size_t entries = 0;
    for (size_t i = 0; i < q.choices.size(); i++) {
        if (isListEntry(q, i)) {
            entries++;
            continue;
        }
        const std::string& label = labels[i];
        if (!prompt.empty()) prompt += " / ";
        size_t at = keys[i] ? lowerAsciiText(label).find(keys[i]) : std::string::npos;
        prompt += at == std::string::npos ? label
                                          : label.substr(0, at) + "[" + std::string(1, static_cast<char>(std::toupper(
                                                                                          static_cast<unsigned char>(label[at])))) +
                                                "]" + label.substr(at + 1);
    }
    if (entries) {
        std::string numbers = fillText(texts.numberPrompt, std::to_string(entries));
        prompt = prompt.empty() ? numbers : numbers + texts.orWord + prompt;
    }
    size_t buttons = q.choices.size() - entries;
    if (!entries && buttons == 1) return prompt + " (" + texts.enterKey + ")? ";
    const std::string& fallback = labels[static_cast<size_t>(q.defaultChoice)];
    return prompt + " (" + texts.enterKey + ": " + (isListEntry(q, static_cast<size_t>(q.defaultChoice)) ? "1" : fallback) +
           ")? ";
}

// The choice an answer names: an entry's number, a button's word, label or key.
int choiceNamed(const Question& q, const std::vector<std::string>& labels, const std::vector<char>& keys,
                const std::string& answer) {
    if (q.numbered) {
        char* end = nullptr;
        long n = std::strtol(answer.c_str(), &end, 10);
        if (!answer.empty() && end && !*end)
            for (size_t i = 0; i < q.choices.size() && n >= 1; i++)
                if (isListEntry(q, i) && --n == 0) return static_cast<int>(i);
    }
    // typed at a UTF-8 terminal; a label may be UTF-8 or Windows-1252
    std::string typed8 = fromUtf8(answer);
    const TerminalTexts& texts = terminalTexts();
    for (size_t i = 0; i < q.choices.size(); i++) {
        if (isListEntry(q, i)) continue;
        const QuestionChoice& c = q.choices[i];
        const TerminalWord* mine = terminalWord(texts, c.word);
        if ((!c.word.empty() && textEqualNoCase(answer, c.word)) || textEqualNoCase(answer, labels[i]) ||
            textEqualNoCase(typed8, labels[i]) || (mine && *mine->alsoAccepted && textEqualNoCase(answer, std::string(mine->alsoAccepted))) ||
            (answer.size() == 1 && keys[i] && lowerAscii(answer[0]) == keys[i]))
            return static_cast<int>(i);
    }
    return -1;
}

// A field's label as the terminal shows it (the program's own English label
// of the mail server translated).
std::string fieldLabel(const QuestionField& f) {
    return terminalFixedText(terminalTexts(), terminalLabel(f.label, f.word));
}

// Fills the fields from the terminal; false when the input ended.
bool askFields(FILE* tty, Question& q) {
    const TerminalTexts& texts = terminalTexts();
    for (QuestionField& f : q.fields) {
        std::string answer;
        std::string label = toUtf8(fieldLabel(f).c_str());
        std::string prompt = f.isCheck ? label + " " + (f.value == "1" ? texts.checkedPrompt : texts.uncheckedPrompt) + ": "
                                       : label + " [" + toUtf8(f.value.c_str()) + "]: ";
        if (!readTerminalLine(tty, prompt, answer)) return false;
        answer = trimmedBlanks(answer);
        if (answer.empty()) continue;  // Enter keeps the value shown
        // the language's yes (o, j, s...) and the English y are both yes
        if (f.isCheck) f.value = (lowerAscii(answer[0]) == 'y' || lowerAscii(answer[0]) == texts.yesLetter) ? "1" : "0";
        else f.value = fromUtf8(answer);
        if (f.maxChars > 0 && f.value.size() > static_cast<size_t>(f.maxChars))
            f.value.resize(static_cast<size_t>(f.maxChars));
    }
    return true;
}

// A text that is valid UTF-8 with some byte above 127 is taken as UTF-8;
// anything else is Windows-1252.
bool looksUtf8(const std::string& s) {
    bool high = false;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            i++;
            continue;
        }
        size_t n = (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 0;
        if (n == 0 || i + n >= s.size()) return false;
        for (size_t k = 1; k <= n; k++)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
        high = true;
        i += n + 1;
    }
    return high;
}

int terminalRows(FILE* tty) {
    struct winsize size;
    if (ioctl(fileno(tty), TIOCGWINSZ, &size) == 0 && size.ws_row > 4) return size.ws_row;
    return 24;
}

// Shows the question's text; a text longer than the terminal is shown a page
// at a time when the terminal shows it.
void showText(const Question& q, FILE* tty) {
    std::string text;
    // a licence is a file's text; anything else may be one of the dialogs' own
    std::string source = q.kind == "licence" ? q.text : terminalFixedText(terminalTexts(), q.text);
    std::string converted = (q.kind == "licence" && looksUtf8(source)) ? source : toUtf8(source.c_str());
    for (char c : converted)
        if (c != '\r') text += c;
    if (!text.empty() && text.back() != '\n') text += '\n';
    int rows = tty && isatty(1) ? terminalRows(tty) - 2 : 0;
    int shown = 0;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        std::fwrite(text.data() + at, 1, end - at + 1, stdout);
        at = end + 1;
        if (rows > 0 && ++shown >= rows && at < text.size()) {
            std::fflush(stdout);
            std::string answer;
            if (!readTerminalLine(tty, terminalTexts().morePrompt, answer)) break;
            if (!answer.empty() && (answer[0] == 'q' || answer[0] == 'Q')) {
                std::printf("[...]\n");
                break;
            }
            shown = 0;
        }
    }
}

void showQuestion(const Question& q, FILE* tty, const std::vector<std::string>& labels) {
    const TerminalTexts& texts = terminalTexts();
    std::string title = q.noTitle ? texts.errorTitle : terminalFixedText(texts, q.title);
    std::printf("\n== %s ==\n", toUtf8(title.c_str()).c_str());
    showText(q, tty);
    if (!q.pathLabel.empty() || !q.path.empty())
        std::printf("%s: %s\n", toUtf8(terminalLabel(q.pathLabel, texts.destination).c_str()).c_str(),
                    toUtf8(hostPath(q.path.c_str()).c_str()).c_str());
    int n = 0;
    for (size_t i = 0; i < q.choices.size(); i++)
        if (isListEntry(q, i)) std::printf("  %d. %s\n", ++n, toUtf8(labels[i].c_str()).c_str());
    std::fflush(stdout);
}
}  // namespace

void closeStatusLine() {
    if (statusLineOpen) {
        std::fputs("\n", stdout);
        std::fflush(stdout);
        statusLineOpen = false;
    }
}

FILE* openTerminal() {
    FILE* tty = std::fopen("/dev/tty", "r+");
    // unbuffered: what was typed ahead stays in the terminal for the next question
    if (tty) std::setvbuf(tty, nullptr, _IONBF, 0);
    return tty;
}

bool readTerminalLine(FILE* tty, const std::string& prompt, std::string& answer) {
    std::fputs(prompt.c_str(), tty);
    std::fflush(tty);
    char line[1024];
    if (!std::fgets(line, sizeof line, tty)) return false;
    answer = line;
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) answer.pop_back();
    return true;
}

std::string terminalLabel(const std::string& label, const std::string& fallback) {
    std::string out;
    for (size_t i = 0; i < label.size(); i++) {
        char c = label[i];
        if (c == '&' && i + 1 < label.size() && label[i + 1] != '&') continue;  // an accelerator mark
        if (c == '&') i++;
        out += (c == '\r' || c == '\n') ? ' ' : c;
    }
    out = trimmedBlanks(out);
    return out.empty() ? fallback : out;
}

int platAsk(Question& q) {
    closeStatusLine();
    if (q.kind == "folder") return askFolderOnTerminal(q);
    const TerminalTexts& texts = terminalTexts();
    std::vector<std::string> labels;
    for (const QuestionChoice& c : q.choices)
        labels.push_back(terminalButtonLabel(texts, c.word, terminalLabel(c.label, c.word)));
    std::vector<char> keys = buttonKeys(q, labels);
    q.answeredBy = AnsweredByPerson;
    for (;;) {
        FILE* tty = openTerminal();
        showQuestion(q, tty, labels);
        if (!tty) {
            if (q.check && !q.check(q, q.defaultChoice).empty()) {
                std::printf("%s\n", texts.noTerminalNoAnswer);
                std::fflush(stdout);
                return kNoAnswer;
            }
            for (const QuestionField& f : q.fields)
                std::printf("%s: %s\n", toUtf8(fieldLabel(f).c_str()).c_str(),
                            f.isCheck ? (f.value == "1" ? texts.yesValue : texts.noValue) : toUtf8(f.value.c_str()).c_str());
            const std::string& label = labels[static_cast<size_t>(q.defaultChoice)];
            std::printf("%s\n", fillText(q.kind == "msgbox" ? texts.noTerminalButton : texts.noTerminalAnswer,
                                         toUtf8(label.c_str())).c_str());
            std::fflush(stdout);
            q.answeredBy = AnsweredByDefault;
            return q.defaultChoice;
        }
        int chosen = -1;
        bool ended = false;
        // a form with one button ends when its fields are filled
        bool form = !q.fields.empty() && q.choices.size() == 1;
        while (chosen < 0) {
            std::string answer;
            if (!askFields(tty, q) ||
                (!form && !readTerminalLine(tty, toUtf8(choicePrompt(q, labels, keys).c_str()), answer))) {
                ended = true;
                break;
            }
            answer = trimmedBlanks(answer);
            int picked = answer.empty() ? q.defaultChoice : choiceNamed(q, labels, keys, answer);
            if (picked < 0) continue;
            Refusal why = q.check ? q.check(q, picked) : Refusal();
            if (!why.empty()) {
                std::fprintf(tty, "%s\n", terminalRefusal(texts, why).c_str());
                continue;
            }
            chosen = picked;
        }
        if (ended) {
            // the end of the input is no answer, never Enter's button: the run
            // ends as a failure
            std::fclose(tty);
            std::printf("\n%s\n", texts.noAnswer);
            std::fflush(stdout);
            return kNoAnswer;
        }
        std::fclose(tty);
        if (!q.choices[static_cast<size_t>(chosen)].keepsOpen) return chosen;
        std::string why;
        if (!q.act || !q.act(q, chosen, why)) {
            if (!why.empty()) std::printf("%s\n", toUtf8(why.c_str()).c_str());
            return kNoAnswer;
        }
    }
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
        std::printf("\n%s\n", terminalTexts().restartNotice);
    std::fflush(stdout);
}

PlatWindow platWaiterOpen(PlatWindow owner, int show) {
    // one more status line, like a section's progress
    return platProgressOpen(owner, show);
}
