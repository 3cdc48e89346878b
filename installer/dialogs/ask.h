// Asking the person running the installer: from the answers file named by
// $SETUP_ANSWERS when there is one, else on the screen or the terminal.
//
// The answers file holds one line per answer, "<kind> <answer>": the kind
// word (ignoring case), one blank, and the answer, the rest of the line as it
// stands. Blank lines and lines starting with "#" are skipped. A question
// with fields takes one line per field (its word as the kind), then, unless
// it has a single choice, one line naming its choice: the question's kind
// (or the choice's own kind) and a word, a number from 1 for an entry of a
// list, or the text of a choice that takes one. An answer the question
// refuses is followed by another line answering the same question again,
// unless the dialog could not take it at all; a choice that keeps the
// question open runs, and the question is answered again.
#pragma once
#include "../base/question.h"
#include <string>

// The index of the choice taken, fields filled; -1 when no answer can be
// had, with the reason in why (the answers file cannot be read, ran out,
// or holds a line that does not answer this question; the input ended).
int askQuestion(Question& question, std::string& why);
// Forgets the answers file (the next question opens $SETUP_ANSWERS again).
void resetAnswers();
