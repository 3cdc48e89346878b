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
