#include "ask.h"
#include "../base/text.h"
#include "../platform/files.h"
#include "../platform/system.h"
#include "../platform/ui.h"
#include <cstdlib>

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

// Reads the answer of kind; "" in why when it was read.
bool takeLine(const std::string& wanted, std::string& text, std::string& why) {
    std::string kind;
    if (!nextAnswer(kind, text)) {
        why = "answers file " + answers.path + ": ran out of answers before a \"" + wanted + "\" question";
        return false;
    }
    if (!textEqualNoCase(kind, wanted)) {
        why = "answers file " + answers.path + ": line " + std::to_string(answers.line) + " answers \"" + kind +
              "\" but the question is \"" + wanted + "\"";
        return false;
    }
    return true;
}

int choiceFromAnswer(const Question& q, const std::string& answer) {
    // a choice is a word: blanks around it do not count
    size_t first = answer.find_first_not_of(" \t");
    std::string text = first == std::string::npos ? "" : answer.substr(first, answer.find_last_not_of(" \t") - first + 1);
    if (q.numbered) {
        char* end = nullptr;
        long n = std::strtol(text.c_str(), &end, 10);
        if (!text.empty() && end && !*end && n >= 1 && n <= static_cast<long>(q.choices.size()))
            return static_cast<int>(n - 1);
    }
    for (size_t i = 0; i < q.choices.size(); i++)
        if (textEqualNoCase(text, q.choices[i].word)) return static_cast<int>(i);
    return -1;
}

std::string choiceWords(const Question& q) {
    if (q.numbered) return "a number from 1 to " + std::to_string(q.choices.size());
    std::string words;
    for (const QuestionChoice& c : q.choices) words += (words.empty() ? "" : ", ") + c.word;
    return words;
}

int answerFromFile(Question& q, std::string& why) {
    for (;;) {
        for (QuestionField& f : q.fields) {
            std::string text;
            if (!takeLine(f.word, text, why)) return -1;
            if (f.isCheck) {
                if (textEqualNoCase(text, std::string("yes"))) text = "1";
                else if (textEqualNoCase(text, std::string("no"))) text = "0";
                else {
                    why = "answers file " + answers.path + ": line " + std::to_string(answers.line) + ": \"" + f.word +
                          " " + text + "\" is not yes or no";
                    return -1;
                }
            }
            f.value = text;
        }
        int choice = 0;
        if (q.fields.empty() || q.choices.size() != 1) {
            std::string text;
            if (!takeLine(q.kind, text, why)) return -1;
            choice = choiceFromAnswer(q, text);
            if (choice < 0) {
                why = "answers file " + answers.path + ": line " + std::to_string(answers.line) + ": \"" + q.kind + " " +
                      text + "\" does not answer this question (" + choiceWords(q) + "): " + q.title + ": " + q.text;
                return -1;
            }
        }
        std::string refused = q.check ? q.check(q, choice) : std::string();
        if (refused.empty()) {
            platReport(("[" + (q.noTitle ? std::string("Error") : q.title) + "] " + q.text + " -> " +
                        q.choices[static_cast<size_t>(choice)].word + " (answers file)")
                           .c_str());
            return choice;
        }
        platReport(("answers file: line " + std::to_string(answers.line) + " refused: " + refused).c_str());
    }
}
}  // namespace

int askQuestion(Question& question, std::string& why) {
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
        return answerFromFile(question, why);
    }
    int choice = platAsk(question);
    if (choice < 0) why = "no answer came to the question \"" + question.title + "\"";
    return choice;
}

void resetAnswers() {
    if (answers.file) platFileClose(answers.file);
    answers = AnswersFile();
}
