#include "question.h"
#include "report.h"

Question messageBoxQuestion(int type, const char* title, const std::string& text) {
    Question q;
    q.kind = "msgbox";
    q.title = title ? title : "";
    q.noTitle = !title;
    q.text = text;
    q.boxType = type;
    if (type == BoxYesNo) {
        q.choices = {{"yes", "Yes", ButtonYes}, {"no", "No", ButtonNo}};
    } else if (type == BoxOKCancel) {
        q.choices = {{"ok", "OK", ButtonOK}, {"cancel", "Cancel", ButtonCancel}};
    } else {
        q.choices = {{"ok", "OK", ButtonOK}};
    }
    return q;
}

int choiceWithResult(const Question& q, int result) {
    for (size_t i = 0; i < q.choices.size(); i++)
        if (q.choices[i].result == result) return static_cast<int>(i);
    return -1;
}

const char* const kRefusalForms[RefusalFormCount] = {
    "%s",
    "\"%s\" is not a folder name: it must not be empty nor hold any of \" * / : < > ? \\ |",
    "no folder given",
    "%s is the root of a drive: choose a folder on it",
    "there is no folder %s",
    "the mail server cannot be left empty",
};

std::string fillRefusalForm(const char* form, const std::string& subject) {
    std::string text = form;
    size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, subject);
    return text;
}

Refusal refusalOf(RefusalForm form, const std::string& subject) {
    Refusal r;
    r.form = form;
    r.subject = subject;
    r.text = fillRefusalForm(kRefusalForms[form], subject);
    return r;
}
