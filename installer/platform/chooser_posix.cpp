// The destination chooser on a terminal: the person types the folder to
// install into (with line editing and Tab completion of folder names when
// the terminal allows it), may list the folders below a path and make a new
// one, and cancels with "cancel". The rules are the question's: a folder that
// exists and is no drive root; a new folder's name checked by the question.
#include "files.h"
#include "hostpath_posix.h"
#include "terminal_posix.h"
#include "../base/text.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <editline/readline.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
std::string shownFolder;  // the folder that relative paths and completion start from

bool isDirectory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A typed path as a full Linux path: "~" is the home folder, a relative path
// starts from the folder shown.
std::string fullPath(const std::string& typed) {
    std::string p = typed;
    if (p == "~" || p.compare(0, 2, "~/") == 0) {
        const char* home = std::getenv("HOME");
        p = std::string(home ? home : "") + p.substr(1);
    } else if (p.empty() || p[0] != '/') {
        p = shownFolder + (shownFolder.empty() || shownFolder.back() == '/' ? "" : "/") + p;
    }
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

std::string withSlash(const std::string& path) { return path.empty() || path.back() == '/' ? path : path + "/"; }

// The folders directly below dir, sorted; hidden ones (".name") left out.
std::vector<std::string> foldersBelow(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            if (e->d_name[0] == '.') continue;
            if (isDirectory(withSlash(dir) + e->d_name)) names.push_back(e->d_name);
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// ---- Tab completion of the path being typed (after "ls " too)
std::vector<std::string> completions;

char* nextCompletion(const char* text, int state) {
    if (state == 0) {
        completions.clear();
        std::string line = text;
        std::string command;
        if (line.compare(0, 3, "ls ") == 0) command = "ls ";
        std::string typed = line.substr(command.size());
        size_t slash = typed.rfind('/');
        std::string dirPart = slash == std::string::npos ? "" : typed.substr(0, slash + 1);
        std::string start = typed.substr(dirPart.size());
        std::string dir = dirPart.empty() ? shownFolder : fullPath(dirPart);
        if (dirPart == "/") dir = "/";
        if (DIR* d = opendir(dir.c_str())) {
            while (dirent* e = readdir(d)) {
                std::string name = e->d_name;
                if (name == "." || name == ".." || (name[0] == '.' && (start.empty() || start[0] != '.'))) continue;
                if (name.compare(0, start.size(), start) != 0 || !isDirectory(withSlash(dir) + name)) continue;
                completions.push_back(command + dirPart + name + "/");
            }
            closedir(d);
        }
        std::sort(completions.begin(), completions.end());
    }
    if (state < 0 || static_cast<size_t>(state) >= completions.size()) return nullptr;
    return strdup(completions[static_cast<size_t>(state)].c_str());
}

char** completeLine(const char* text, int, int) {
    rl_attempted_completion_over = 1;  // never the library's own file names
    return rl_completion_matches(text, nextCompletion);
}

// Reads one line: with line editing on a terminal, else from /dev/tty.
struct LineReader {
    bool editing = false;
    FILE* tty = nullptr;

    bool open() {
        if (isatty(0) && isatty(1)) {
            editing = true;
            rl_readline_name = const_cast<char*>("setup");
            rl_completer_word_break_characters = const_cast<char*>("\n");
            rl_attempted_completion_function = completeLine;
            rl_completion_append_character = '\0';
            return true;
        }
        tty = openTerminal();
        return tty != nullptr;
    }
    void close() {
        if (tty) std::fclose(tty);
        tty = nullptr;
    }
    bool read(const std::string& prompt, std::string& line) {
        if (!editing) return readTerminalLine(tty, prompt, line);
        std::fflush(stdout);
        char* got = readline(prompt.c_str());
        if (!got) return false;
        line = got;
        std::free(got);
        if (!trimmedBlanks(line).empty()) add_history(line.c_str());
        return true;
    }
    void say(const std::string& text) {
        std::fprintf(tty ? tty : stdout, "%s\n", text.c_str());
        std::fflush(tty ? tty : stdout);
    }
};
}  // namespace

int askFolderOnTerminal(Question& q) {
    const int folder = 0, cancel = 1, newFolder = 2;  // the chooser's choices, in the question's order
    std::string start = hostPath(q.path.c_str());
    shownFolder = start.empty() ? std::string("/") : start;
    while (shownFolder.size() > 1 && shownFolder.back() == '/') shownFolder.pop_back();
    bool moved = false;  // the person went to a folder (ls, new): Enter chooses it
    const TerminalTexts& texts = terminalTexts();
    std::string title = toUtf8(terminalFixedText(texts, terminalLabel(q.title, texts.chooserTitle)).c_str());
    std::printf("\n== %s ==\n", title.c_str());
    LineReader in;
    if (!in.open()) {
        std::printf("%s\n", fillText(texts.chooserNoTerminal, toUtf8(withSlash(shownFolder).c_str())).c_str());
        std::fflush(stdout);
        q.answeredBy = AnsweredByDefault;
        return cancel;
    }
    q.answeredBy = AnsweredByPerson;
    std::string newLabel = toUtf8(
        terminalFixedText(texts, terminalLabel(q.choices[static_cast<size_t>(newFolder)].label, texts.newDirectory)).c_str());
    std::printf("%s\n%s\n%s\n%s\n%s\n", fillText(texts.chooserHelp, in.editing ? texts.chooserTab : "").c_str(),
                texts.chooserEnterLine, texts.chooserLsLine, fillText(texts.chooserNewLine, newLabel).c_str(),
                texts.chooserCancelLine);
    for (;;) {
        std::string line;
        std::string prompt = std::string(texts.folderPrompt) + " [" + toUtf8(withSlash(shownFolder).c_str()) + "]: ";
        if (!in.read(prompt, line)) {
            in.close();
            std::printf("\n%s\n", texts.noAnswer);
            std::fflush(stdout);
            return kNoAnswer;
        }
        std::string typed = trimmedBlanks(line);
        // the language's own command words are taken besides the English ones
        std::string newWord = texts.newWord;
        if (typed.compare(0, newWord.size() + 1, newWord + " ") == 0 || typed == newWord)
            typed = "new" + typed.substr(newWord.size());
        if (typed == "cancel" || typed == texts.cancelWord) {
            in.close();
            return cancel;
        }
        if (typed.empty() && !moved) {
            in.say(fillText(texts.destinationStays, toUtf8(start.c_str())));  // as the host names it
            in.close();
            return cancel;
        }
        if (typed == "ls" || typed.compare(0, 3, "ls ") == 0) {
            std::string dir = typed.size() > 3 ? fullPath(trimmedBlanks(typed.substr(3))) : shownFolder;
            if (!isDirectory(dir)) {
                in.say(fillText(texts.noSuchFolder, dir));
                continue;
            }
            std::vector<std::string> names = foldersBelow(dir);
            in.say(fillText(names.empty() ? texts.foldersInNone : texts.foldersIn, withSlash(dir)));
            for (const std::string& name : names) in.say("  " + name + "/");
            shownFolder = dir;
            moved = true;
            continue;
        }
        if (typed.compare(0, 4, "new ") == 0 || typed == "new") {
            q.answerText = fromUtf8(typed.size() > 4 ? trimmedBlanks(typed.substr(4)) : std::string());
            Refusal refused = q.check ? q.check(q, newFolder) : Refusal();
            if (!refused.empty()) {
                in.say(terminalRefusal(texts, refused));
                continue;
            }
            if (!isDirectory(shownFolder)) {
                in.say(fillText(texts.nowhereToMake, shownFolder));
                continue;
            }
            std::string made = withSlash(shownFolder) + toUtf8(q.answerText.c_str());
            if (platCreateDir(made.c_str()) < 0) {
                in.say(fillText(texts.cannotMake, made));
                continue;
            }
            in.say(fillText(texts.made, made + "/"));
            shownFolder = made;
            moved = true;
            continue;
        }
        std::string chosen = typed.empty() ? shownFolder : fullPath(typed);
        q.answerText = fromUtf8(chosen);
        Refusal refused = q.check ? q.check(q, folder) : Refusal();
        if (!refused.empty()) {
            in.say(terminalRefusal(texts, refused));
            continue;
        }
        in.close();
        return folder;
    }
}
