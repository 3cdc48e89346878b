// What the installer asks the person running it, described once and answered
// by one of three front ends: the answers file ($SETUP_ANSWERS), the terminal
// on Linux, or a Win32 message box or dialog. A question ends with one of its
// choices (a button, or an entry of a list); before that the person may fill
// its fields. The front ends never decide what an answer means: the caller
// reads the choice's result and the fields.
#pragma once
#include <functional>
#include <string>
#include <vector>

struct QuestionChoice {
    std::string word;   // the answers file's word for it ("ok", "yes", "continue")
    std::string label;  // what the person sees
    int result;         // what the question gives when it is chosen
};

struct QuestionField {
    std::string word;   // the answers file's kind word for this field ("nickname")
    std::string label;
    std::string value;  // the default before the question, the answer after it
    bool isCheck;       // a check box: value "1" checked, "0" not
    int maxChars;       // longest text taken (0: no limit)
};

struct Question {
    std::string kind;   // the answers file's kind word: "msgbox", "intro", ...
    std::string title;
    bool noTitle = false;   // no title given: the system's default one shows
    std::string text;
    std::vector<QuestionChoice> choices;
    int defaultChoice = 0;  // taken by Enter, and when nobody can be asked
    bool numbered = false;  // the choices are list entries, answered by number from 1
    std::vector<QuestionField> fields;
    // Checks an answer before it ends the question: "" accepts it, anything
    // else says why not, and the question is asked again.
    std::function<std::string(const Question&, int choice)> check;
    // Windows only: a message-box type (BoxOK...) or a dialog template name.
    int boxType = 0;
};

// Builds the question of a message box of the given type (BoxOK, BoxOKCancel, BoxYesNo).
// A nullptr title gives the system's default title.
Question messageBoxQuestion(int type, const char* title, const std::string& text);
// The index of the choice with that result, or -1.
int choiceWithResult(const Question& q, int result);
