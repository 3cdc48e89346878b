// The dialogs: the intro with its destination chooser, the licence, the setup
// type, the settings form and the mail-server form. The texts come from the
// variable store here; the dialogs service asks and writes.
#include "handlers.h"
#include "messages.h"
#include "runstate.h"
#include "store.h"
#include "../base/format.h"
#include "../base/language.h"
#include "../base/question.h"
#include "../base/report.h"
#include "../dialogs/dialogs.h"
#include <string>

namespace {
// No answer could be had (the answers file ran out or holds a wrong line, the
// input ended, the dialog cannot be shown): never a guess, the run ends as a
// failure, as for message boxes.
void noAnswer(const char* command, const std::string& why) {
    reportDiagnostic("%s: %s", command, why.c_str());
    endRun(nullptr, EndMarkFailure | EndStopAll);
}

// ABORT_MSG under the product's name.
void showAbort() { ShowMessageBox(BoxOK, GetVariable("SETUPNAME"), GetVariable("ABORT_MSG"), nullptr, 0); }

// A text set as progress texts are (a licence button, the chooser's
// caption): its backslash-n pairs become line breaks in the stored text
// itself; nullptr when the key is undefined.
const char* buttonText(const char* key, std::string& shown) {
    char* stored = GetVariable(key);
    if (!stored) return nullptr;
    convertLineBreaks(stored);
    char formatted[kFormatBytes];
    formatText(formatted, sizeof formatted, stored, nullptr, 0);
    shown = formatted;
    return shown.c_str();
}
}  // namespace

void doIShowInstallDlg(CommandCall& c) {
    if (run.silentMode) {
        run.condition = 1;
        return;
    }
    // the chooser's texts are set as progress texts are
    std::string chooserTitle, newFolder;
    IntroTexts texts = {GetVariable("APP_TITTLE"),       GetVariable("INTRO_TTL"),
                        GetVariable("INTRO"),            GetVariable("INTROOK_BTN"),
                        GetVariable("INTROCANCEL_BTN"),  GetVariable("INTROCHDIR_BTN"),
                        GetVariable("STATICINSTALLDIR"), buttonText("NEWDIR_TTL", chooserTitle),
                        buttonText("NEWDIR_BTN", newFolder)};
    const char* before = GetVariable("DSTDIR");
    std::string dstdir = before ? before : "";
    std::string why;
    int result = ShowIntroDialog(c.progress, texts, dstdir, why);
    // a destination chosen stays, also after Abort
    if ((before ? std::string(before) : std::string()) != dstdir) SetVariable("DSTDIR", dstdir.c_str());
    if (result == kNoAnswer) {
        noAnswer("IShowInstallDlg", why);
        return;
    }
    run.condition = result;
    if (result < 0) {
        reportDiagnostic("IShowInstallDlg: %s", why.c_str());
        ShowMessageBox(BoxOK, GetVariable("ERROR_TTL"), GetVariable("ERROR_DIALOG_MSG"), nullptr, 0);
    }
}

void doShowFile(CommandCall& c) {
    if (run.silentMode) {
        run.condition = 1;
        return;
    }
    std::string agree, disagree;
    LicenceTexts texts = {GetVariable("LICENCE_TTL"), nullptr, nullptr};
    texts.agree = buttonText("LICENCEOK_BTN", agree);
    texts.disagree = buttonText("LICENCECANCEL_BTN", disagree);
    std::string why;
    int result = ShowLicence(c.progress, texts, c.value[0], why);
    if (result < 0) {
        noAnswer("ShowFile", why);
        return;
    }
    run.condition = result;
}

void doSetupType(CommandCall& c) {
    // asked also in silent mode
    const char* types[kSetupTypes];
    bool anyType = false;
    for (int n = 0; n < kSetupTypes; n++) {
        char key[16] = "SETUPTYPE0";
        key[9] = static_cast<char>('0' + n);
        types[n] = GetVariable(key);
        anyType = anyType || types[n];
    }
    std::string chosen;
    std::string why;
    int result = ChooseSetupType(c.progress, types, chosen, why);
    if (result < 0) {
        noAnswer("SetupType", why);
        return;
    }
    run.condition = result;
    if (result == 1) {
        if (anyType) SetVariable("SETUPTYPE", chosen.c_str());  // with none defined nothing was chosen
        return;
    }
    // Abort ends the whole run, without marking a failure
    showAbort();
    endRun(c.progress, EndCloseProgress | EndStopSection | EndStopAll);
}

void doGetVexaSettings(CommandCall& c) {
    const char* dstdir = GetVariable("DSTDIR");
    const char* language = LanguageName(run.languageCode);
    int result;
    if (run.silentMode) {
        result = WriteSilentSettings(dstdir, language);
    } else {
        SettingsTexts texts = {GetVariable("VEXASETTING_TTL"), GetVariable("STATICNICK"), GetVariable("STATICEMAIL"),
                               GetVariable("STATICINFOCHECK")};
        std::string why;
        result = GetVexaSettings(c.progress, texts, dstdir, language, why);
        if (result < 0) {
            noAnswer("GetVexaSettings", why);
            return;
        }
    }
    run.condition = result;
    if (result == 0) {
        if (!run.silentMode) showAbort();
        endRun(c.progress, EndCloseProgress | EndMarkFailure | EndStopSection);
    }
}

void doGetSMTPServer(CommandCall& c) {
    // asked also in silent mode
    std::string server;
    std::string why;
    int result = GetSMTPServer(c.progress, server, why);
    if (result < 0) {
        noAnswer("GetSMTPServer", why);
        return;
    }
    run.condition = result;
    if (result == 1) {
        SetVariable("STMPServer", server.c_str());
        return;
    }
    showAbort();
    endRun(c.progress, EndCloseProgress | EndMarkFailure | EndStopSection);
}
