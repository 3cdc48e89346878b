// The installer's dialogs, described once: the intro with its destination,
// the destination chooser, the licence text, the setup-type choice, the
// settings form that writes qoltress.ini, and the mail-server form. Each
// builds its question from the texts it is given (message keys resolved by
// the caller; nullptr for an undefined key), asks it through askQuestion, and
// returns the dialog's result:
//   1 or 0 as each dialog says below,
//   kNoAnswer when no answer came (the reason in why: the answers file ran
//   out or holds a wrong line, the input ended),
//   kNoDialog when the dialog cannot be shown at all.
// Nothing here reads the variable store or touches the run's flags.
#pragma once
#include "../base/question.h"
#include "../base/window.h"
#include <string>
#include <vector>

// The texts of the intro dialog, and of the chooser it opens.
struct IntroTexts {
    const char* appTitle;        // APP_TITTLE: the title that shows
    const char* introTitle;      // INTRO_TTL
    const char* intro;           // INTRO
    const char* continueButton;  // INTROOK_BTN
    const char* abortButton;     // INTROCANCEL_BTN
    const char* changeButton;    // INTROCHDIR_BTN
    const char* destinationLabel;  // STATICINSTALLDIR
    const char* chooserTitle;    // NEWDIR_TTL
    const char* newFolderButton; // NEWDIR_BTN
};

// The intro: 1 Continue, 0 Abort. Change destination opens the chooser with
// dstdir as its start and keeps the intro open; dstdir is then the folder
// chosen, whatever the intro's result.
int ShowIntroDialog(PlatWindow owner, const IntroTexts& texts, std::string& dstdir, std::string& why);

// The chooser: 1 with the folder chosen in path (no final separator), 0 when
// cancelled (path unchanged). A new folder is made below the one selected
// (the answers file: below path, the start), and chosen.
int ChooseDestination(PlatWindow owner, const char* title, const char* newFolderButton, std::string& path,
                      std::string& why);
// The chooser's question, starting from path; an undefined text (nullptr)
// leaves the dialog's own.
Question chooserQuestion(const char* title, const char* newFolderButton, const std::string& path);
// Choices of the chooser's question, by index.
enum { ChooserFolder = 0, ChooserCancel = 1, ChooserNewFolder = 2 };

// A new folder's name: not empty, and none of  " * / : < > ? \ |
bool IsValidFolderName(const char* name);
// Why a folder cannot be the destination (empty when it can): it must exist and
// must not be the root of a drive.
Refusal destinationRefusal(const std::string& path);

// The licence: 1 Agree, 0 Disagree. The file is read whole; when it cannot be
// read the dialog shows its own texts and no licence. The button texts have
// had their line breaks converted by the caller.
struct LicenceTexts {
    const char* title;     // LICENCE_TTL
    const char* agree;     // LICENCEOK_BTN (nullptr keeps "Agree")
    const char* disagree;  // LICENCECANCEL_BTN (nullptr keeps "Disagree")
};
int ShowLicence(PlatWindow owner, const LicenceTexts& texts, const char* file, std::string& why);

// The setup type: types[n] is the text of SETUPTYPEn (nullptr when
// undefined). 1 with the chosen entry's text in chosen, 0 Abort. With no type
// defined there is nothing to choose: 1 without asking, chosen left as it was.
const int kSetupTypes = 10;
int ChooseSetupType(PlatWindow owner, const char* const types[kSetupTypes], std::string& chosen, std::string& why);

// The settings form, then its lines appended to dstdir\qoltress.ini: 1
// written, 0 when the file cannot be opened (said in the ERROR_OPEN box).
// The form ends only through OK.
struct SettingsTexts {
    const char* title;      // VEXASETTING_TTL
    const char* nickname;   // STATICNICK
    const char* email;      // STATICEMAIL
    const char* information;  // STATICINFOCHECK
};
int GetVexaSettings(PlatWindow owner, const SettingsTexts& texts, const char* dstdir, const char* languageName,
                    std::string& why);
// The lines of the form's answers, appended to dstdir\qoltress.ini: 1, or 0
// when the file cannot be opened (ERROR_OPEN box unless silent).
int WriteVexaSettings(const char* dstdir, const char* nickname, const char* email, const char* languageName,
                      bool registering);
// Silent mode: the language and "Registering Yes"; 1, or 0 without a word
// when the file cannot be opened.
int WriteSilentSettings(const char* dstdir, const char* languageName);
// A text as the runtime's configuration files write it (blanks and
// backslashes escaped, other bytes outside 33..127 as a signed number).
std::string EscapeConfigValue(const char* text);

// The mail server: 1 with the server in server. The form ends only with a
// server typed.
int GetSMTPServer(PlatWindow owner, std::string& server, std::string& why);
