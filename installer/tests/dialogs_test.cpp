// The dialogs on the recording platform: what each command asks, what its
// answers write, and what its abort paths do to the run.
#include "command_fixture.h"
#include "dialogs/dialogs.h"
#include "dialogs/resource.h"
#include "platform/recording/recording.h"
#include "script/commands.h"
#include "script/parse.h"
#include "script/runstate.h"
#include "script/store.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
class DialogTest : public CommandTest {
  protected:
    void SetUp() override {
        CommandTest::SetUp();
        SetVariable("SETUPNAME", "Vexa 3D");
        SetVariable("ABORT_MSG", "Installation aborted.");
    }
    // "failure stopSection stopAll"
    std::string flags() {
        return std::to_string(run.failure) + std::to_string(run.stopSection) + std::to_string(run.stopAll);
    }
    std::vector<std::string> kindsAsked() {
        std::vector<std::string> kinds;
        for (const Question& q : recording::asked()) kinds.push_back(q.kind);
        return kinds;
    }
    // Answers the questions from an answers file holding these lines.
    void answersFile(const std::string& lines) {
        recording::addFile("C:\\answers.txt", lines);
        recording::setEnv("SETUP_ANSWERS", "C:\\answers.txt");
    }
};
}  // namespace

TEST(EscapeConfigValue, BlanksBackslashesAndBytesOutsidePrintableAscii) {
    struct EscapeCase {
        const char* text;
        const char* escaped;
    };
    static const EscapeCase cases[] = {
        {"Jo Doe", "Jo\\ Doe"},     {"D\xe9sir\xe9", "D\\-23sir\\-23"}, {"a\\b", "a\\\\b"},
        {"line\nnext", "line\\nnext"}, {"tab\there", "tab\\  9here"},   {"\x7f~!", "\x7f~!"},
        {"\x80", "\\-12"},          {"\xff", "\\ -1"},                 {"\r", "\\ 13"},
        {"", ""},
    };
    for (const EscapeCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.escaped, EscapeConfigValue(c.text));
    }
    EXPECT_EQ("", EscapeConfigValue(nullptr));
}

TEST(IsValidFolderName, EmptyOrAForbiddenCharacterIsRefused) {
    for (const char* bad : {"", "a:b", "a\\b", "a/b", "a*", "a?", "\"a\"", "<a", "a>", "a|b"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(IsValidFolderName(bad));
    }
    for (const char* good : {"Vexa 3D", "D\xe9mo", ".hidden", "a.b-c_d"}) {
        SCOPED_TRACE(good);
        EXPECT_TRUE(IsValidFolderName(good));
    }
    EXPECT_FALSE(IsValidFolderName(nullptr));
}

TEST_F(DialogTest, SettingsFormEscapesTheNicknameAndASecondRunAppendsASecondBlock) {
    run.languageCode = 12;  // French
    SetVariable("STATICNICK", "Pseudo");
    recording::answer("ok", {"Jo Doe", "jo@example.org", "1"});
    line("GetVexaSettings");
    EXPECT_EQ(1, run.condition);
    recording::answer("ok", {"Andr\xe9", "", "0"});
    line("GetVexaSettings");
    EXPECT_EQ("DefaultName Jo\\ Doe\nDefaultEmail jo@example.org\nDefaultLanguage French\nRegistering Yes\n"
              "DefaultName Andr\\-23\nDefaultEmail \nDefaultLanguage French\nRegistering No\n",
              recording::content("C:\\dst\\qoltress.ini"));
    EXPECT_EQ("000", flags());
    ASSERT_EQ(2u, recording::asked().size());
    const Question& form = recording::asked()[0];
    EXPECT_EQ("Pseudo", form.fields[0].label);
    EXPECT_EQ(1u, form.choices.size());  // no Cancel: Escape and the close box do nothing
}

TEST_F(DialogTest, SettingsFormDefaultsAreNickAnEmptyAddressAndTheBoxChecked) {
    line("GetVexaSettings");  // nobody answers: the defaults
    EXPECT_EQ("DefaultName nick\nDefaultEmail \nDefaultLanguage Neutral\nRegistering Yes\n",
              recording::content("C:\\dst\\qoltress.ini"));
}

TEST_F(DialogTest, SilentSettingsWriteTheLanguageAndRegisteringWithoutAsking) {
    run.silentMode = 1;
    run.languageCode = 7;
    line("GetVexaSettings");
    EXPECT_EQ(1, run.condition);
    EXPECT_TRUE(recording::asked().empty());
    EXPECT_EQ("DefaultLanguage German\nRegistering Yes\n", recording::content("C:\\dst\\qoltress.ini"));
}

TEST_F(DialogTest, SettingsThatCannotBeWrittenEndTheSectionAsAFailure) {
    struct FailCase {
        bool silent;
        std::vector<std::string> boxes;  // the texts of the boxes shown after the form
    };
    const FailCase cases[] = {
        {false, {"Cannot open C:\\dst\\qoltress.ini", "Installation aborted."}},
        {true, {}},
    };
    for (const FailCase& c : cases) {
        SCOPED_TRACE(c.silent);
        SetUp();
        SetVariable("ERROR_OPEN_MSG", "Cannot open %s");
        recording::failOpen("C:\\dst\\qoltress.ini");
        run.silentMode = c.silent;
        line("GetVexaSettings");
        EXPECT_EQ(0, run.condition);
        EXPECT_EQ("110", flags());  // failure and the section's end, not the whole run
        std::vector<std::string> boxes;
        for (const Question& q : recording::asked())
            if (q.kind == "msgbox") boxes.push_back(q.text);
        EXPECT_EQ(c.boxes, boxes);
    }
}

TEST_F(DialogTest, SetupTypeSetsTheTextOfTheChosenEntry) {
    SetVariable("SETUPTYPE0", "Typical");
    SetVariable("SETUPTYPE1", "Compact");
    SetVariable("SETUPTYPE2", "Custom");
    recording::answer("3");
    line("SetupType");
    EXPECT_EQ(1, run.condition);
    EXPECT_EQ("Custom", var("SETUPTYPE"));
    ASSERT_EQ(1u, recording::asked().size());
    const Question& list = recording::asked()[0];
    ASSERT_EQ(4u, list.choices.size());  // three entries and Abort
    EXPECT_EQ("Typical", list.choices[0].label);
    EXPECT_EQ("Custom", list.choices[2].label);
    EXPECT_EQ(0, list.defaultChoice);  // the first entry is selected
}

TEST_F(DialogTest, SetupTypeWithAGapChoosesTheEntryShown) {
    SetVariable("SETUPTYPE0", "Typical");
    SetVariable("SETUPTYPE2", "Custom");
    recording::answer("2");
    line("SetupType");
    EXPECT_EQ("Custom", var("SETUPTYPE"));
}

TEST_F(DialogTest, SetupTypeWithNoTypeDefinedAsksNothingAndGoesOn) {
    SetVariable("SETUPTYPE", "before");
    line("SetupType");
    EXPECT_EQ(1, run.condition);
    EXPECT_EQ("before", var("SETUPTYPE"));
    EXPECT_TRUE(recording::asked().empty());
    EXPECT_EQ("000", flags());
    ASSERT_FALSE(recording::diagnostics().empty());
    EXPECT_NE(std::string::npos, recording::diagnostics().back().find("no setup type is defined"));
}

TEST_F(DialogTest, AbortOfSetupTypeOrSmtpIsAskedEvenInSilentMode) {
    // SetupType ends the whole run without a failure
    SetVariable("SETUPTYPE0", "Typical");
    run.silentMode = 1;
    recording::answer("abort");
    line("SetupType");
    EXPECT_EQ(0, run.condition);
    EXPECT_EQ("011", flags());
    EXPECT_EQ(0, finalExitCode());
    EXPECT_EQ((std::vector<std::string>{"setuptype", "msgbox"}), kindsAsked());
    EXPECT_EQ("Installation aborted.", recording::asked()[1].text);
    EXPECT_EQ("Vexa 3D", recording::asked()[1].title);

    SetUp();
    run.silentMode = 1;
    recording::answer("ok", {""});  // refused: the form stays open
    recording::answer("ok", {"smtp.example.org"});
    line("GetSMTPServer");
    EXPECT_EQ(1, run.condition);
    EXPECT_EQ("smtp.example.org", var("STMPServer"));
    EXPECT_EQ((std::vector<std::string>{"smtp"}), kindsAsked());
}

TEST_F(DialogTest, SmtpFormProposesMailAndHasNoCancel) {
    line("GetSMTPServer");
    EXPECT_EQ("mail", var("STMPServer"));
    ASSERT_EQ(1u, recording::asked().size());
    EXPECT_EQ(1u, recording::asked()[0].choices.size());
    EXPECT_EQ(IDC_SMTP_SERVER, recording::asked()[0].fields[0].id);
}

TEST_F(DialogTest, IntroContinuesAbortsOrIsSkippedInSilentMode) {
    struct IntroCase {
        bool silent;
        const char* answer;
        int condition;
        size_t asked;
    };
    static const IntroCase cases[] = {
        {false, "continue", 1, 1}, {false, "abort", 0, 1}, {true, "", 1, 0},
    };
    for (const IntroCase& c : cases) {
        SCOPED_TRACE(c.answer);
        SetUp();
        run.silentMode = c.silent;
        if (*c.answer) recording::answer(c.answer);
        line("IShowInstallDlg");
        EXPECT_EQ(c.condition, run.condition);
        EXPECT_EQ(c.asked, recording::asked().size());
        EXPECT_EQ("000", flags());
    }
}

TEST_F(DialogTest, AnIntroThatCannotBeShownSaysSoAndLeavesANegativeCondition) {
    SetVariable("ERROR_TTL", "Setup error");
    SetVariable("ERROR_DIALOG_MSG", "The dialog cannot be shown.");
    recording::answer("<no dialog>");
    recording::answer("ok");
    line("IShowInstallDlg");
    EXPECT_EQ(kNoDialog, run.condition);
    EXPECT_EQ("000", flags());
    ASSERT_EQ(1u, recording::asked().size());
    EXPECT_EQ("The dialog cannot be shown.", recording::asked()[0].text);
    EXPECT_EQ("Setup error", recording::asked()[0].title);
}

TEST_F(DialogTest, IntroSetsItsLabelsInOrderSoThatAppTitleShows) {
    SetVariable("APP_TITTLE", "Vexa 3D Setup");
    SetVariable("INTRO_TTL", "Introduction");
    SetVariable("INTRO", "Welcome.");
    SetVariable("INTROCHDIR_BTN", "Change...");
    recording::answer("continue");
    line("IShowInstallDlg");
    ASSERT_EQ(1u, recording::asked().size());
    const Question& q = recording::asked()[0];
    std::vector<int> ids;
    for (const QuestionItem& item : q.items) ids.push_back(item.id);
    EXPECT_EQ((std::vector<int>{IDC_INTRO_GROUP, IDC_INTRO_CHANGE, IDC_OK, IDC_CANCEL, kTitleItem, IDC_INTRO_TEXT,
                                IDC_INTRO_DESTINATION, kTitleItem}),
              ids);
    EXPECT_EQ("Introduction", q.items[4].text);
    EXPECT_EQ("Vexa 3D Setup", q.items.back().text);
    EXPECT_EQ("Vexa 3D Setup", q.title);
    EXPECT_EQ("C:\\dst", q.path);
    EXPECT_EQ("", q.items[2].text);  // INTROOK_BTN undefined: an empty label
}

TEST_F(DialogTest, ANewDestinationStaysAfterAbort) {
    recording::addDir("C:\\Apps\\Vexa");
    recording::answer("change");
    recording::answer("folder", {}, "C:\\Apps\\Vexa");
    recording::answer("abort");
    line("IShowInstallDlg");
    EXPECT_EQ(0, run.condition);
    EXPECT_EQ("C:\\Apps\\Vexa", var("DSTDIR"));
    EXPECT_EQ((std::vector<std::string>{"folder", "intro"}), kindsAsked());
}

TEST_F(DialogTest, CancellingTheChooserLeavesDstdir) {
    SetVariable("DSTDIR", "C:\\Program Files\\VEXA\\");
    recording::answer("change");
    recording::answer("cancel");
    recording::answer("continue");
    line("IShowInstallDlg");
    EXPECT_EQ(1, run.condition);
    EXPECT_EQ("C:\\Program Files\\VEXA\\", var("DSTDIR"));
    // NEWDIR_TTL and NEWDIR_BTN undefined: the chooser keeps its own texts
    const Question& chooser = recording::asked()[0];
    EXPECT_EQ("folder", chooser.kind);
    EXPECT_EQ("Choose the destination directory", chooser.title);
    EXPECT_TRUE(chooser.items.empty());
}

TEST_F(DialogTest, ChooserTextsAreSetAsProgressTexts) {
    SetVariable("NEWDIR_TTL", "Choose\\nthe folder");
    SetVariable("NEWDIR_BTN", "New folder");
    recording::answer("change");
    recording::answer("cancel");
    recording::answer("continue");
    line("IShowInstallDlg");
    const Question& chooser = recording::asked()[0];
    EXPECT_EQ("Choose\r\nthe folder", chooser.title);
    EXPECT_EQ("New folder", chooser.choices[ChooserNewFolder].label);
    std::vector<int> ids;
    for (const QuestionItem& item : chooser.items) ids.push_back(item.id);
    EXPECT_EQ((std::vector<int>{IDC_CHOOSER_PATH, kTitleItem, IDC_CHOOSER_NEWDIR}), ids);
    EXPECT_EQ("Choose\r\nthe folder", var("NEWDIR_TTL"));
}

TEST_F(DialogTest, ChooserRefusesDriveRootsMissingFoldersAndBadNames) {
    recording::addDir("C:\\Apps");
    Question q = chooserQuestion("Choose", nullptr, "C:\\Apps");
    struct RuleCase {
        int choice;
        const char* text;
        bool accepted;
    };
    static const RuleCase cases[] = {
        {ChooserFolder, "C:\\Apps", true},      {ChooserFolder, "c:\\apps\\", true},
        {ChooserFolder, "C:", false},           {ChooserFolder, "d:\\", false},
        {ChooserFolder, "C:\\Nowhere", false},  {ChooserFolder, "", false},
        {ChooserNewFolder, "Vexa 3D", true},    {ChooserNewFolder, "a:b", false},
        {ChooserNewFolder, "a\\b", false},      {ChooserNewFolder, "", false},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.text);
        q.answerText = c.text;
        EXPECT_EQ(c.accepted, q.check(q, c.choice).empty());
    }
    EXPECT_EQ("New directory...", q.choices[ChooserNewFolder].label);
    EXPECT_EQ(ChooserCancel, q.defaultChoice);
}

TEST_F(DialogTest, AnswersFileDrivesTheIntroAndTheChooser) {
    recording::addDir("C:\\Apps");
    answersFile("intro change\nnewfolder bad:name\nnewfolder Vexa 3D\nINTRO change\nfolder cancel\nintro continue\n");
    SetVariable("DSTDIR", "C:\\Apps\\");
    line("IShowInstallDlg");
    EXPECT_EQ(1, run.condition);
    EXPECT_EQ("000", flags());
    EXPECT_TRUE(recording::isDir("C:\\Apps\\Vexa 3D"));
    EXPECT_FALSE(recording::exists("C:\\Apps\\bad:name"));
    EXPECT_EQ("C:\\Apps\\Vexa 3D", var("DSTDIR"));
    EXPECT_TRUE(recording::asked().empty());  // nobody was asked
}

TEST_F(DialogTest, AnswersFileLinesTheDialogCannotTakeEndTheRun) {
    struct BadCase {
        const char* lines;
        const char* command;
        const char* why;  // in the diagnostic
    };
    static const BadCase cases[] = {
        {"intro change\nfolder C:\\Nowhere\n", "IShowInstallDlg", "there is no folder C:\\Nowhere"},
        {"intro change\nfolder C:\n", "IShowInstallDlg", "root of a drive"},
        {"intro maybe\n", "IShowInstallDlg", "does not answer this question"},
        {"licence agree\n", "IShowInstallDlg", "but the question is \"intro\""},
        {"intro change\n", "IShowInstallDlg", "ran out of answers before a \"folder\" or \"newfolder\" question"},
        {"setuptype 4\n", "SetupType", "does not answer this question"},
        {"smtp \n", "GetSMTPServer", "ran out of answers"},
        {"nickname Jo\nemail\n", "GetVexaSettings", "ran out of answers"},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.lines);
        SetUp();
        for (const char* t : {"SETUPTYPE0", "SETUPTYPE1", "SETUPTYPE2"}) SetVariable(t, t);
        answersFile(c.lines);
        line(c.command);
        EXPECT_EQ("111", flags());
        EXPECT_EQ(1, finalExitCode());
        ASSERT_FALSE(recording::diagnostics().empty());
        EXPECT_NE(std::string::npos, recording::diagnostics().back().find(c.why)) << recording::diagnostics().back();
    }
}

TEST_F(DialogTest, AnswersFileFillsTheFormsInOrder) {
    run.languageCode = 9;
    answersFile("nickname  two  blanks \nemail\ninformation NO\nsmtp \nsmtp mail.example.org\n");
    line("GetVexaSettings");
    line("GetSMTPServer");
    EXPECT_EQ("000", flags());
    EXPECT_EQ("DefaultName \\ two\\ \\ blanks\\ \nDefaultEmail \nDefaultLanguage English\nRegistering No\n",
              recording::content("C:\\dst\\qoltress.ini"));
    EXPECT_EQ("mail.example.org", var("STMPServer"));
}

TEST_F(DialogTest, LicenceShowsTheFileWithButtonTextsSetAsProgressTexts) {
    recording::addFile("C:\\src\\licence.txt", "Terms\r\nMore terms\r\n");
    SetVariable("LICENCE_TTL", "Licence");
    SetVariable("LICENCEOK_BTN", "I\\nagree");
    recording::answer("agree");
    line("ShowFile \"C:\\src\\licence.txt\"");
    EXPECT_EQ(1, run.condition);
    ASSERT_EQ(1u, recording::asked().size());
    const Question& q = recording::asked()[0];
    EXPECT_EQ("Terms\r\nMore terms\r\n", q.text);
    EXPECT_EQ("Licence", q.title);
    EXPECT_EQ("I\r\nagree", q.choices[0].label);
    EXPECT_EQ("Disagree", q.choices[1].label);  // undefined: the dialog's own
    EXPECT_EQ("I\r\nagree", var("LICENCEOK_BTN"));  // converted in the store, as progress texts are
    recording::answer("disagree");
    line("ShowFile \"C:\\src\\licence.txt\"");
    EXPECT_EQ(0, run.condition);
}

TEST_F(DialogTest, AnUnreadableLicenceShowsTheDialogsOwnTexts) {
    SetVariable("LICENCE_TTL", "Licence");
    recording::answer("disagree");
    line("ShowFile \"C:\\src\\missing.txt\"");
    EXPECT_EQ(0, run.condition);
    const Question& q = recording::asked()[0];
    EXPECT_EQ("", q.text);
    EXPECT_EQ("Licence Agreement", q.title);
    EXPECT_TRUE(q.items.empty());
    run.silentMode = 1;
    run.condition = 7;
    line("ShowFile \"C:\\src\\missing.txt\"");
    EXPECT_EQ(1, run.condition);  // silent: agreed without asking
    EXPECT_EQ(1u, recording::asked().size());
}
