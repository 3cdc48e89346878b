// The terminal as the Linux front end of questions: shared by the generic
// prompts (ui_posix.cpp) and the folder chooser (chooser_posix.cpp).
#pragma once
#include "../base/question.h"
#include <cstdio>
#include <string>

// The controlling terminal, unbuffered so that lines typed ahead are left for
// the next question; nullptr when there is none.
FILE* openTerminal();
// One line from the terminal without its line end; false at the end of input.
bool readTerminalLine(FILE* tty, const std::string& prompt, std::string& answer);
// The text without blanks around it.
std::string trimmedBlanks(const std::string& s);
// A label as the terminal shows it: one line, without Windows' & marks, or
// fallback when it is empty.
std::string terminalLabel(const std::string& label, const std::string& fallback);
// Ends an in-place status line before other output.
void closeStatusLine();
// The folder chooser on the terminal; the index of the choice taken.
int askFolderOnTerminal(Question& question);
