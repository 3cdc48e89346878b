// What the installer asks the person running it, described once and answered
// by one of three front ends: the answers file ($SETUP_ANSWERS), the terminal
// on Linux, or a Win32 message box or dialog. A question ends with one of its
// choices (a button, or an entry of a list); before that the person may fill
// its fields. The front ends never decide what an answer means: the caller
// reads the choice's result, the fields and the answer's text.
#pragma once
#include "window.h"
#include <functional>
#include <string>
#include <vector>

// platAsk and askQuestion: no answer came (the input or the answers file
// ended, or held a wrong line), or the dialog could not be shown at all.
const int kNoAnswer = -1;
const int kNoDialog = -2;

// Why a check refused an answer: in English for the answers file's
// diagnostics and the log, and as a form with its subject, so that a front
// end can say it in the person's language. An empty text: not refused.
enum RefusalForm {
    RefusalAsWritten,       // the text alone
    RefusalNotAFolderName,  // subject: the name
    RefusalNoFolderGiven,
    RefusalDriveRoot,       // subject: the drive
    RefusalNoSuchFolder,    // subject: the folder
    RefusalNoMailServer,
    RefusalFormCount
};
struct Refusal {
    std::string text;
    RefusalForm form = RefusalAsWritten;
    std::string subject;
    bool empty() const { return text.empty(); }
};
// The English form of each refusal ("%s": where the subject goes).
extern const char* const kRefusalForms[RefusalFormCount];
// A refusal of that form about subject, with its English text.
Refusal refusalOf(RefusalForm form, const std::string& subject = std::string());
// The form with the subject in place of its "%s".
std::string fillRefusalForm(const char* form, const std::string& subject);

struct QuestionChoice {
    std::string word;   // the answers file's word for it ("ok", "yes", "continue"); "" with takesText
    std::string label;  // what the person sees
    int result;         // what the question gives when it is chosen
    // The answers file's kind word for this choice when it is not the
    // question's own ("newfolder" in the folder chooser).
    std::string kind = "";
    // The answer is a text (a path, a name), left in Question::answerText.
    bool takesText = false;
    // Does not end the question: Question::act runs, then the question is
    // asked again (the intro's change of destination).
    bool keepsOpen = false;
    // An answer refused by Question::check is asked again (the dialog stays
    // open on it); when false the answers file cannot give it at all, and a
    // refused answer ends the run there.
    bool askAgainWhenRefused = true;
};

struct QuestionField {
    std::string word;   // the answers file's kind word for this field ("nickname")
    std::string label;
    std::string value;  // the default before the question, the answer after it
    bool isCheck;       // a check box: value "1" checked, "0" not
    int maxChars;       // longest text taken (0: no limit)
    int id = 0;         // Windows: the dialog's control that holds it
};

// The text of one control of a Windows dialog, set when it opens.
struct QuestionItem {
    int id;             // the control's id; kTitleItem for the dialog's title
    std::string text;
};
const int kTitleItem = -1;

// Who gave a question its answer, for the install log: a person (at the
// terminal, in a box or dialog), the answers file, or nobody (no terminal:
// the default choice was taken).
enum AnswerSource { AnsweredByPerson, AnsweredByFile, AnsweredByDefault };

struct Question {
    std::string kind;   // the answers file's kind word: "msgbox", "intro", ...
    std::string title;
    bool noTitle = false;   // no title given: the system's default one shows
    std::string text;       // the message, or a whole text to read (a licence)
    // A path shown with the question under its label: the intro's
    // destination, the folder the chooser starts from.
    std::string pathLabel;
    std::string path;
    std::vector<QuestionChoice> choices;
    int defaultChoice = 0;  // taken by Enter, and when nobody can be asked
    bool numbered = false;  // the choices are list entries, answered by number from 1
    std::vector<QuestionField> fields;
    // The text of a choice that takes one (takesText), after the answer.
    std::string answerText;
    // Set by whoever answered (the front ends and the answers file).
    AnswerSource answeredBy = AnsweredByPerson;
    // Checks an answer before it ends the question: an empty refusal accepts
    // it, anything else says why not, and the question is asked again (but
    // see QuestionChoice::askAgainWhenRefused).
    std::function<Refusal(const Question&, int choice)> check;
    // Runs a choice that keeps the question open; it may change the
    // question (its path). false when it could not be carried out for want
    // of an answer (the reason in why): the question then ends with no answer.
    std::function<bool(Question&, int choice, std::string& why)> act;
    // Windows only: a message-box type (BoxOK...), or the dialog template
    // that shows the question with the texts of its controls, set in order
    // when it opens; the window that owns the dialog.
    int boxType = 0;
    std::string dialog;
    std::vector<QuestionItem> items;
    PlatWindow owner = nullptr;
};

// Builds the question of a message box of the given type (BoxOK, BoxOKCancel, BoxYesNo).
// A nullptr title gives the system's default title.
Question messageBoxQuestion(int type, const char* title, const std::string& text);
// The index of the choice with that result, or -1.
int choiceWithResult(const Question& q, int result);
