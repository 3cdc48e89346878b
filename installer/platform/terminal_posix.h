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
// A label as the terminal shows it: one line, without Windows' & marks, or
// fallback when it is empty.
std::string terminalLabel(const std::string& label, const std::string& fallback);
// Ends an in-place status line before other output.
void closeStatusLine();
// The folder chooser on the terminal; the index of the choice taken.
int askFolderOnTerminal(Question& question);

// ---- the terminal's own words, in the user's language (English, French,
// German, Spanish, Italian; English for any other language). UTF-8 texts;
// "%s" marks where fillText puts its argument.
struct TerminalWord {
    const char* word;   // the answers file's word of the choice ("yes")
    const char* label;  // the button as the terminal shows it ("Oui")
    const char* alsoAccepted;  // another answer taken for it ("si" for "Sí"), or ""
};
struct TerminalTexts {
    const char* language;
    TerminalWord buttons[7];  // yes, no, ok, cancel, abort, agree, disagree
    const char* errorTitle;   // the title of a box without one
    const char* destination;  // the label of a path shown without one
    const char* smtpServer;   // the mail server's field
    const char* numberPrompt;
    const char* orWord;
    const char* enterKey;
    const char* morePrompt;
    const char* noTerminalButton;
    const char* noTerminalAnswer;
    const char* noTerminalNoAnswer;
    const char* noAnswer;     // the input ended at a question
    char yesLetter;
    const char* checkedPrompt;
    const char* uncheckedPrompt;
    const char* yesValue;
    const char* noValue;
    const char* restartNotice;
    // the folder chooser
    const char* chooserTitle;
    const char* newDirectory;
    const char* chooserHelp;
    const char* chooserTab;
    const char* chooserEnterLine;
    const char* chooserLsLine;
    const char* chooserNewLine;
    const char* chooserCancelLine;
    const char* folderPrompt;
    const char* destinationStays;
    const char* noSuchFolder;
    const char* foldersIn;
    const char* foldersInNone;
    const char* nowhereToMake;
    const char* cannotMake;
    const char* made;
    const char* chooserNoTerminal;
    const char* cancelWord;   // also taken besides "cancel"
    const char* newWord;      // also taken besides "new"
    // the dialogs' own texts (the Windows templates' titles and lines)
    const char* setupTypeTitle;
    const char* licenceTitle;
    const char* smtpText;
    const char* newDirectoryButton;
    // why an answer was refused, by RefusalForm ("%s": the subject); none:
    // the English form
    const char* refusals[RefusalFormCount];
};
// The texts of the user's language (platUserLanguage), or of a language identifier.
const TerminalTexts& terminalTexts();
const TerminalTexts& terminalTextsFor(unsigned languageId);
// The word's entry, or nullptr.
const TerminalWord* terminalWord(const TerminalTexts& texts, const std::string& word);
// The label shown for a choice: the program's own English label of a known
// word is translated; a label the script gave is kept.
std::string terminalButtonLabel(const TerminalTexts& texts, const std::string& word, const std::string& label);
// A title, text or label as the terminal shows it: one of the dialogs' own
// English texts is translated; any other text stays as it is.
std::string terminalFixedText(const TerminalTexts& texts, const std::string& text);
// text with its "%s" replaced by argument.
std::string fillText(const char* text, const std::string& argument);
// Why an answer was refused, in the language of texts (UTF-8).
std::string terminalRefusal(const TerminalTexts& texts, const Refusal& refusal);
