#include "ask.h"
#include "../base/log.h"
#include "../base/text.h"
#include "../platform/files.h"
#include "../platform/system.h"
#include "../platform/ui.h"
#include <cstdlib>
#include <vector>

static int askWithoutLog(Question& question, std::string& why);

namespace {
struct AnswersFile {
    bool opened = false;
    std::string path;  // empty: no answers file in use
    PlatFile* file = nullptr;
    int line = 0;
};
AnswersFile answers;

// The next line that holds an answer, split into kind and answer; false at the end.
bool nextAnswer(std::string& kind, std::string& text) {
    char piece[1024];
    while (platFileReadPiece(answers.file, piece, sizeof piece) > 0) {
        answers.line++;
        std::string line = piece;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        size_t blank = line.find_first_of(" \t", start);
        kind = line.substr(start, blank == std::string::npos ? std::string::npos : blank - start);
        text = blank == std::string::npos ? "" : line.substr(blank + 1);
        return true;
    }
    return false;
}

// The kind words that may answer q: its own, and those of its choices.
std::vector<std::string> kindsOf(const Question& q) {
    std::vector<std::string> kinds{q.kind};
    for (const QuestionChoice& c : q.choices)
        if (!c.kind.empty() && !textEqualNoCase(c.kind, q.kind)) kinds.push_back(c.kind);
    return kinds;
}

std::string joined(const std::vector<std::string>& words, const char* last) {
    std::string out;
    for (size_t i = 0; i < words.size(); i++)
        out += (i == 0 ? "" : i + 1 == words.size() ? last : ", ") + words[i];
    return out;
}

std::string where() { return "answers file " + answers.path + ": line " + std::to_string(answers.line); }

// Reads the next answer, whose kind must be one of wanted; the kind read in kind.
bool takeLine(const std::vector<std::string>& wanted, std::string& kind, std::string& text, std::string& why) {
    std::string names = "\"" + joined(wanted, "\" or \"") + "\"";
    if (!nextAnswer(kind, text)) {
        why = "answers file " + answers.path + ": ran out of answers before a " + names + " question";
        return false;
    }
    for (const std::string& w : wanted)
        if (textEqualNoCase(kind, w)) return true;
    why = where() + " answers \"" + kind + "\" but the question is " + names;
    return false;
}

bool choiceOfKind(const Question& q, const QuestionChoice& c, const std::string& kind) {
    return textEqualNoCase(c.kind.empty() ? q.kind : c.kind, kind);
}

// The choice a line of that kind names: a word, a number from 1 for a list,
// else a choice of that kind that takes any text; -1 for none.
int choiceFromAnswer(const Question& q, const std::string& kind, const std::string& answer) {
    std::string text = trimmedBlanks(answer);  // a choice is a word: blanks around it do not count
    if (q.numbered && textEqualNoCase(kind, q.kind)) {
        char* end = nullptr;
        long n = std::strtol(text.c_str(), &end, 10);
        // the n-th entry of the list (its entries have no word; its buttons do)
        if (!text.empty() && end && !*end)
            for (size_t i = 0; i < q.choices.size() && n >= 1; i++)
                if (q.choices[i].word.empty() && --n == 0) return static_cast<int>(i);
    }
    for (size_t i = 0; i < q.choices.size(); i++)
        if (!q.choices[i].takesText && choiceOfKind(q, q.choices[i], kind) && textEqualNoCase(text, q.choices[i].word))
            return static_cast<int>(i);
    for (size_t i = 0; i < q.choices.size(); i++)
        if (q.choices[i].takesText && choiceOfKind(q, q.choices[i], kind)) return static_cast<int>(i);
    return -1;
}

std::string choiceWords(const Question& q) {
    std::vector<std::string> words;
    size_t entries = 0;
    for (const QuestionChoice& c : q.choices) entries += q.numbered && c.word.empty() ? 1 : 0;
    if (entries) words.push_back("a number from 1 to " + std::to_string(entries));
    for (const QuestionChoice& c : q.choices) {
        if (q.numbered && c.word.empty()) continue;
        std::string k = c.kind.empty() ? "" : c.kind + " ";
        words.push_back(c.takesText ? k + "<text>" : k + c.word);
    }
    return joined(words, " or ");
}

// What the answers file answered, for the run's output.
void reportAnswer(const Question& q, int choice) {
    const QuestionChoice& c = q.choices[static_cast<size_t>(choice)];
    std::string answer = c.takesText ? (c.kind.empty() ? q.kind : c.kind) + " " + q.answerText : c.word;
    if (q.numbered) answer = std::to_string(choice + 1) + " (" + c.label + ")";
    std::string title = q.noTitle ? std::string("Error") : q.title.empty() && q.kind != "msgbox" ? q.kind : q.title;
    // a message box shows its whole text; a dialog the first line of its text
    std::string text = q.text;
    if (q.kind != "msgbox") {
        text = text.substr(0, text.find_first_of("\r\n"));
        if (text.size() > 100) text = text.substr(0, 97) + "...";
    }
    std::string line = "[" + title + "]" + (text.empty() ? "" : " " + text);
    platReport((line + " -> " + answer + " (answers file)").c_str());
}

int answerFromFile(Question& q, std::string& why) {
    for (;;) {
        for (QuestionField& f : q.fields) {
            std::string kind, text;
            if (!takeLine({f.word}, kind, text, why)) return -1;
            if (f.isCheck) {
                if (textEqualNoCase(trimmedBlanks(text), std::string("yes"))) text = "1";
                else if (textEqualNoCase(trimmedBlanks(text), std::string("no"))) text = "0";
                else {
                    why = where() + ": \"" + f.word + " " + text + "\" is not yes or no";
                    return -1;
                }
            }
            if (f.maxChars > 0 && text.size() > static_cast<size_t>(f.maxChars))
                text.resize(static_cast<size_t>(f.maxChars));
            f.value = text;
        }
        int choice = 0;
        if (q.fields.empty() || q.choices.size() != 1) {
            std::string kind, text;
            if (!takeLine(kindsOf(q), kind, text, why)) return -1;
            choice = choiceFromAnswer(q, kind, text);
            if (choice < 0) {
                why = where() + ": \"" + kind + " " + text + "\" does not answer this question (" + choiceWords(q) +
                      "): " + q.title + (q.kind == "msgbox" ? ": " + q.text : std::string());
                return -1;
            }
            if (q.choices[static_cast<size_t>(choice)].takesText) q.answerText = text;
        }
        const QuestionChoice& c = q.choices[static_cast<size_t>(choice)];
        std::string refused = q.check ? q.check(q, choice).text : std::string();
        if (refused.empty()) {
            reportAnswer(q, choice);
            if (!c.keepsOpen) return choice;
            if (!q.act || !q.act(q, choice, why)) {
                if (why.empty()) why = "the question \"" + q.kind + "\" could not go on";
                return -1;
            }
            continue;
        }
        if (!c.askAgainWhenRefused) {
            why = where() + ": the dialog cannot take this answer: " + refused;
            return -1;
        }
        platReport(("answers file: line " + std::to_string(answers.line) + " refused: " + refused).c_str());
    }
}
}  // namespace

namespace {
// The question and its answer as the install log shows them.
void logAnswer(const Question& q, int choice, const std::string& why) {
    if (!logEnabled()) return;
    std::string title = q.noTitle ? std::string("(default title)") : q.title;
    // a message box's whole text; a dialog's first line (a licence is long)
    std::string text = q.text;
    if (q.kind != "msgbox") {
        text = text.substr(0, text.find_first_of("\r\n"));
        if (text.size() > 100) text = text.substr(0, 97) + "...";
    }
    std::string line = "question " + q.kind + " \"" + title + "\"" + (text.empty() ? "" : ": \"" + text + "\"");
    if (!q.path.empty()) line += " (folder " + q.path + ")";
    if (choice < 0) {
        logLine("%s -> no answer: %s", line.c_str(), why.c_str());
        return;
    }
    const QuestionChoice& c = q.choices[static_cast<size_t>(choice)];
    std::string answer = c.takesText ? "\"" + q.answerText + "\"" : c.label.empty() ? c.word : c.label;
    if (q.numbered && c.word.empty()) answer = std::to_string(choice + 1) + " (" + c.label + ")";
    for (const QuestionField& f : q.fields)
        line += ", " + f.word + " " + (f.isCheck ? (f.value == "1" ? "yes" : "no") : "\"" + f.value + "\"");
    std::string source = q.answeredBy == AnsweredByFile ? "from the answers file, line " + std::to_string(answers.line)
                         : q.answeredBy == AnsweredByDefault ? "the default: nobody could be asked"
                                                             : "answered by the person";
    logLine("%s -> %s (%s)", line.c_str(), answer.c_str(), source.c_str());
}
}  // namespace

int askQuestion(Question& question, std::string& why) {
    int choice = askWithoutLog(question, why);
    logAnswer(question, choice, why);
    return choice;
}

static int askWithoutLog(Question& question, std::string& why) {
    why.clear();
    if (!answers.opened) {
        answers.opened = true;
        const char* path = platEnv("SETUP_ANSWERS");
        if (path && *path) {
            answers.path = path;
            answers.file = platFileOpen(path, "rb");
        }
    }
    if (!answers.path.empty()) {
        if (!answers.file) {
            why = "answers file " + answers.path + ": cannot be opened";
            return -1;
        }
        question.answeredBy = AnsweredByFile;
        return answerFromFile(question, why);
    }
    int choice = platAsk(question);
    if (choice == kNoDialog) why = "the dialog \"" + question.kind + "\" cannot be shown";
    else if (choice < 0) why = "no answer came to the question \"" + question.title + "\"";
    return choice;
}

void resetAnswers() {
    if (answers.file) platFileClose(answers.file);
    answers = AnswersFile();
}
