// The installer's dialogs as questions, and what their answers write.
#include "dialogs.h"
#include "ask.h"
#include "resource.h"
#include "../base/report.h"
#include "../base/text.h"
#include "../fileops/fileops.h"
#include "../platform/files.h"
#include <cstdio>
#include <cstring>

namespace {
std::string textOf(const char* text) { return text ? text : ""; }

// A path without its final separators (a bare "/" stays, as the root).
std::string withoutFinalSeparator(std::string path) {
    while (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

bool isDriveRoot(const std::string& path) {
    std::string p = withoutFinalSeparator(path);
    if (p == "/" || p == "\\" || (p.size() == 2 && p[1] == ':')) return true;
    char roots[32][kPathBytes];
    int count = platFixedDrives(roots, 32);
    for (int i = 0; i < count; i++)
        if (textEqualNoCase(withoutFinalSeparator(roots[i]), p)) return true;
    return false;
}

bool isFolder(const std::string& path) {
    PlatDirList* list = platOpenDir(path.c_str());
    if (!list) return false;
    platCloseDir(list);
    return true;
}

// Appends the lines to dstdir\qoltress.ini; 1, or 0 when it cannot be opened
// (with the ERROR_OPEN box when box) or written.
int appendSettings(const char* dstdir, const std::string& lines, bool box) {
    if (!dstdir) {
        reportDiagnostic("the settings file qoltress.ini cannot be written: DSTDIR is not set");
        return 0;
    }
    char path[kPathBytes];
    std::string name = std::string(dstdir) + "\\qoltress.ini";
    PlatFile* file = nullptr;
    if (composePath(path, ReportQuietly, "%s\\qoltress.ini", dstdir) == 0) file = platFileOpen(path, "a+t");
    if (!file) {
        if (box) {
            const char* args[] = {name.c_str()};
            reportBox(UnlessSilent, BoxOK, "ERROR_OPEN_TTL", "ERROR_OPEN_MSG", args, 1);
        }
        reportDiagnostic("cannot open the settings file %s", name.c_str());
        return 0;
    }
    int written = platFilePuts(file, lines.c_str());
    if (platFileClose(file) != 0 || written != 0) {
        reportDiagnostic("the settings could not all be written to %s", name.c_str());
        return 0;
    }
    return 1;
}
}  // namespace

bool IsValidFolderName(const char* name) {
    if (!name || !*name) return false;
    return std::strpbrk(name, "\"*/:<>?\\|") == nullptr;
}

Refusal destinationRefusal(const std::string& path) {
    std::string p = withoutFinalSeparator(path);
    if (p.empty()) return refusalOf(RefusalNoFolderGiven);
    if (isDriveRoot(p)) return refusalOf(RefusalDriveRoot, p);
    if (!isFolder(p)) return refusalOf(RefusalNoSuchFolder, p);
    return Refusal();
}

Question chooserQuestion(const char* title, const char* newFolderButton, const std::string& path) {
    Question q;
    q.kind = "folder";
    q.dialog = "GETDIRDEST";
    // an undefined text leaves the dialog's own
    q.title = title ? title : "Choose the destination directory";
    q.pathLabel = q.title;
    q.path = path;
    std::string newLabel = newFolderButton ? newFolderButton : "New directory...";
    QuestionChoice folder{"", "OK", 1};
    folder.kind = "folder";
    folder.takesText = true;
    folder.askAgainWhenRefused = false;  // the tree holds only folders that exist
    QuestionChoice cancel{"cancel", "Cancel", 0};
    cancel.kind = "folder";
    QuestionChoice newFolder{"", newLabel, 2};
    newFolder.kind = "newfolder";
    newFolder.takesText = true;  // the name dialog stays open on a bad name
    q.choices = {folder, cancel, newFolder};
    q.defaultChoice = ChooserCancel;  // nothing chosen: the destination stays
    q.check = [](const Question& question, int choice) -> Refusal {
        if (choice == ChooserFolder) return destinationRefusal(question.answerText);
        if (choice == ChooserNewFolder && !IsValidFolderName(question.answerText.c_str()))
            return refusalOf(RefusalNotAFolderName, question.answerText);
        return Refusal();
    };
    if (title) q.items = {{IDC_CHOOSER_PATH, title}, {kTitleItem, title}};
    if (newFolderButton) q.items.push_back({IDC_CHOOSER_NEWDIR, newFolderButton});
    return q;
}

int ChooseDestination(PlatWindow owner, const char* title, const char* newFolderButton, std::string& path,
                      std::string& why) {
    Question q = chooserQuestion(title, newFolderButton, path);
    q.owner = owner;
    int choice = askQuestion(q, why);
    if (choice < 0) return choice;
    if (choice == ChooserCancel) return 0;
    std::string chosen = withoutFinalSeparator(q.answerText);
    if (choice == ChooserNewFolder) {
        // below the folder the chooser started from
        char made[kPathBytes];
        if (composePath(made, ReportQuietly, "%s\\%s", withoutFinalSeparator(path).c_str(), q.answerText.c_str()) != 0 ||
            platCreateDir(made) < 0) {
            why = "the new folder " + withoutFinalSeparator(path) + "\\" + q.answerText + " cannot be created";
            return kNoAnswer;
        }
        chosen = made;
    }
    path = chosen;
    return 1;
}

int ShowIntroDialog(PlatWindow owner, const IntroTexts& t, std::string& dstdir, std::string& why) {
    Question q;
    q.kind = "intro";
    q.dialog = "STARTINSTALLNB";
    q.owner = owner;
    q.title = textOf(t.appTitle);
    q.text = textOf(t.intro);
    q.pathLabel = textOf(t.destinationLabel);
    q.path = dstdir;
    QuestionChoice change{"change", textOf(t.changeButton), 2};
    change.keepsOpen = true;
    q.choices = {{"continue", textOf(t.continueButton), 1}, {"abort", textOf(t.abortButton), 0}, change};
    // the order in which the dialog sets them: the last title is the one that shows
    q.items = {{IDC_INTRO_GROUP, q.pathLabel},
               {IDC_INTRO_CHANGE, change.label},
               {IDC_OK, q.choices[0].label},
               {IDC_CANCEL, q.choices[1].label},
               {kTitleItem, textOf(t.introTitle)},
               {IDC_INTRO_TEXT, q.text},
               {IDC_INTRO_DESTINATION, q.path},
               {kTitleItem, q.title}};
    // copies: the texts may change while the intro is open
    bool titleDefined = t.chooserTitle != nullptr, newFolderDefined = t.newFolderButton != nullptr;
    std::string chooserTitle = textOf(t.chooserTitle), newFolderText = textOf(t.newFolderButton);
    q.act = [=](Question& question, int, std::string& reason) {
        std::string path = question.path;
        int result = ChooseDestination(nullptr, titleDefined ? chooserTitle.c_str() : nullptr,
                                       newFolderDefined ? newFolderText.c_str() : nullptr, path, reason);
        if (result < 0) return false;
        question.path = path;
        for (QuestionItem& item : question.items)
            if (item.id == IDC_INTRO_DESTINATION) item.text = path;
        return true;
    };
    int choice = askQuestion(q, why);
    dstdir = q.path;  // a folder chosen stays chosen, whatever ends the dialog
    if (choice < 0) return choice;
    return q.choices[static_cast<size_t>(choice)].result;
}

int ShowLicence(PlatWindow owner, const LicenceTexts& texts, const char* file, std::string& why) {
    Question q;
    q.kind = "licence";
    q.dialog = "LICENCE";
    q.owner = owner;
    q.title = "Licence Agreement";
    q.choices = {{"agree", "Agree", 1}, {"disagree", "Disagree", 0}};
    // the whole file, as it stands; a licence longer than this is not one
    const size_t kLongestLicence = 16u << 20;
    PlatFile* f = file ? platFileOpen(file, "rb") : nullptr;
    bool read = false;
    if (f) {
        std::string text;
        char buffer[8192];
        size_t n;
        while (text.size() <= kLongestLicence && (n = platFileRead(f, buffer, sizeof buffer)) > 0) text.append(buffer, n);
        platFileClose(f);
        if (text.size() > kLongestLicence) {
            reportDiagnostic("ShowFile: %s is longer than 16 MB; it is not shown", file);
        } else {
            read = true;
            // a UTF-8 licence with a byte-order mark: as the platform shows UTF-8
            q.text = startsWithUtf8Bom(text.c_str()) ? platTextFromUtf8(text.substr(3)) : text;
        }
    } else {
        reportDiagnostic("ShowFile: cannot read the licence file %s", file ? file : "(none given)");
    }
    if (read) {
        // an undefined button text leaves the dialog's own
        if (texts.agree) q.choices[0].label = texts.agree;
        if (texts.disagree) q.choices[1].label = texts.disagree;
        q.title = textOf(texts.title);
        q.items = {{IDC_LICENCE_TEXT, q.text}};
        if (texts.agree) q.items.push_back({IDC_OK, q.choices[0].label});
        if (texts.disagree) q.items.push_back({IDC_CANCEL, q.choices[1].label});
        q.items.push_back({kTitleItem, q.title});
    }
    int choice = askQuestion(q, why);
    if (choice < 0) return choice;
    return q.choices[static_cast<size_t>(choice)].result;
}

int ChooseSetupType(PlatWindow owner, const char* const types[kSetupTypes], std::string& chosen, std::string& why) {
    Question q;
    q.kind = "setuptype";
    q.dialog = "SETUPTYPE";
    q.owner = owner;
    q.title = "Make a choice :";
    q.numbered = true;
    // each entry keeps its own key, so a gap in the keys cannot shift a choice
    std::vector<int> keys;
    for (int n = 0; n < kSetupTypes; n++)
        if (types[n]) {
            q.choices.push_back({"", types[n], 1});
            keys.push_back(n);
        }
    if (keys.empty()) {
        reportDiagnostic("SetupType: no setup type is defined (SETUPTYPE0 to SETUPTYPE9): nothing to choose");
        return 1;
    }
    q.choices.push_back({"abort", "Abort", 0});
    int choice = askQuestion(q, why);
    if (choice < 0) return choice;
    if (static_cast<size_t>(choice) >= keys.size()) return 0;
    chosen = types[keys[static_cast<size_t>(choice)]];
    return 1;
}

int GetVexaSettings(PlatWindow owner, const SettingsTexts& texts, const char* dstdir, const char* languageName,
                    std::string& why) {
    Question q;
    q.kind = "settings";
    q.dialog = "VEXASETTINGS";
    q.owner = owner;
    q.title = textOf(texts.title);
    q.fields = {{"nickname", textOf(texts.nickname), "nick", false, 255, IDC_SETTINGS_NICK},
                {"email", textOf(texts.email), "", false, 255, IDC_SETTINGS_EMAIL},
                {"information", textOf(texts.information), "1", true, 0, IDC_SETTINGS_INFO}};
    q.choices = {{"ok", "OK", 1}};  // no Cancel: the form ends only through OK
    q.items = {{kTitleItem, q.title},
               {IDC_SETTINGS_NICK_LABEL, q.fields[0].label},
               {IDC_SETTINGS_EMAIL_LABEL, q.fields[1].label},
               {IDC_SETTINGS_INFO, q.fields[2].label}};
    int choice = askQuestion(q, why);
    if (choice < 0) return choice;
    std::string nickname = q.fields[0].value.substr(0, 255);
    std::string email = q.fields[1].value.substr(0, 255);
    return WriteVexaSettings(dstdir, nickname.c_str(), email.c_str(), languageName, q.fields[2].value == "1");
}

int WriteVexaSettings(const char* dstdir, const char* nickname, const char* email, const char* languageName,
                      bool registering) {
    std::string lines = "DefaultName " + EscapeConfigValue(nickname) + "\n";
    lines += "DefaultEmail " + EscapeConfigValue(email) + "\n";
    lines += "DefaultLanguage " + textOf(languageName) + "\n";
    lines += registering ? "Registering Yes\n" : "Registering No\n";
    return appendSettings(dstdir, lines, true);
}

int WriteSilentSettings(const char* dstdir, const char* languageName) {
    return appendSettings(dstdir, "DefaultLanguage " + textOf(languageName) + "\nRegistering Yes\n", false);
}

std::string EscapeConfigValue(const char* text) {
    std::string out;
    for (const char* p = text ? text : ""; *p; p++) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c == '\n') {
            out += "\\n";
        } else if (c == ' ' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 33 && c <= 127) {
            out += static_cast<char>(c);
        } else {
            // the byte as a signed number, right-aligned in three places, cut to four characters
            char number[16];
            std::snprintf(number, sizeof number, "\\%3d", static_cast<int>(static_cast<signed char>(c)));
            out.append(number, 4);
        }
    }
    return out;
}

int GetSMTPServer(PlatWindow owner, std::string& server, std::string& why) {
    Question q;
    q.kind = "smtp";
    q.dialog = "SMTP";
    q.owner = owner;
    q.title = "SMTP server";
    q.text = "Fill in the blank with your SMTP server.";
    q.fields = {{"smtp", "SMTP server", "mail", false, 255, IDC_SMTP_SERVER}};
    q.choices = {{"ok", "OK", 1}};  // no Cancel: the form ends only with a server
    q.check = [](const Question& question, int) -> Refusal {
        return question.fields[0].value.empty() ? refusalOf(RefusalNoMailServer) : Refusal();
    };
    int choice = askQuestion(q, why);
    if (choice < 0) return choice;
    server = q.fields[0].value.substr(0, 255);
    return 1;
}
