// Whole runs on the recording platform: the command line, what ends a run
// and with which exit status, the install log, and script files written in
// UTF-8.
#include "command_fixture.h"
#include "base/log.h"
#include "frame/startup.h"
#include "platform/recording/recording.h"
#include "platform/system.h"
#include "script/runstate.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
// Runs C:\setup\setup.ini as the program does and gives the exit status.
int runScript(const std::string& script) {
    recording::addFile("C:\\setup\\setup.ini", script);
    int status = runSetupScript();
    if (status == 0) finishSetupScript();
    int exitStatus = finalExitCode();
    if (run.scriptFile) platFileClose(run.scriptFile);
    run.scriptFile = nullptr;
    return exitStatus;
}

std::vector<std::string> logged;
void keepLine(const char* line) { logged.push_back(line); }

// The first logged line that holds text, or "" when none does.
std::string loggedWith(const std::string& text) {
    for (const std::string& line : logged)
        if (line.find(text) != std::string::npos) return line;
    return "";
}
}  // namespace

TEST(CommandLine, SwitchesDirectoriesAndHelp) {
    struct LineCase {
        const char* line;
        SetupSwitch mode;
        const char* directory;
    };
    static const LineCase cases[] = {
        {"", NoSwitch, ""},
        {"/silent", SwitchSilent, ""},
        {"/UNINSTALL", SwitchUninstall, ""},
        {"/Mini", SwitchMini, ""},
        {"/SILENT /media/cdrom", SwitchSilent, "/media/cdrom"},
        {"/uninstall   D:\\my folder", SwitchUninstall, "D:\\my folder"},
        {"/SILENT \"D:\\my folder\"", SwitchSilent, "D:\\my folder"},
        {"/MINI relative", SwitchMini, "relative"},
        // two switches are no switch: the whole line names a folder
        {"/SILENT /MINI", NoSwitch, "/SILENT /MINI"},
        {"D:\\source", NoSwitch, "D:\\source"},
        {"\"D:\\with blanks\"", NoSwitch, "D:\\with blanks"},
        {"/SILENTLY", NoSwitch, "/SILENTLY"},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.line);
        SetupCommandLine parsed = parseSetupCommandLine(c.line);
        EXPECT_EQ(c.mode, parsed.mode);
        EXPECT_EQ(c.directory, parsed.directory);
    }
    for (const char* help : {"--help", "/?", "-h", "-?", "/help", " --help "}) EXPECT_TRUE(isHelpRequest(help)) << help;
    for (const char* other : {"", "/SILENT", "--helpme", "/? /SILENT", "help"}) EXPECT_FALSE(isHelpRequest(other)) << other;
    EXPECT_NE(std::string::npos, setupUsage("").find("SETUP_LOG=FILE"));
}

class RunRules : public CommandTest {};

TEST_F(RunRules, ARelativeSourceDirectoryIsTakenFromWhereSetupWasStarted) {
    struct DirCase {
        const char* line;
        const char* folder;  // the current folder afterwards
        int silent;
    };
    static const DirCase cases[] = {
        {"/SILENT media", "C:\\start\\media", 1},
        {"media", "C:\\start\\media", 0},
        {"/SILENT D:\\cd", "D:\\cd", 1},
        {"/SILENT nowhere", "C:\\setup", 1},  // a folder that does not exist is ignored
    };
    for (const DirCase& c : cases) {
        SCOPED_TRACE(c.line);
        SetUp();
        recording::addDir("C:\\start\\media");
        recording::addDir("D:\\cd");
        platSetCurrentDir("C:\\setup");
        applyCommandLine(c.line, "C:\\start");
        char here[300];
        ASSERT_EQ(0, platGetCurrentDir(here, sizeof here));
        EXPECT_EQ(c.folder, std::string(here));
        EXPECT_EQ(c.silent, run.silentMode);
    }
}

// Script errors count in the exit status; the run itself goes on as before.
TEST_F(RunRules, ScriptErrorsMakeTheExitStatusOne) {
    struct ErrorCase {
        const char* what;
        std::string script;
        int status;
    };
    const std::string after = "AppendFile \"went on\" \"C:\\out.txt\"\n";
    const ErrorCase cases[] = {
        {"a clean run", "[Setup]\n" + after, 0},
        {"an unknown command word", "[Setup]\nfrob now\n" + after, 1},
        {"a goto to a missing section", "[Setup]\ngoto \"Nowhere\"\n" + after, 1},
        {"an Include of a missing section", "[Setup]\nInclude \"texts.txt\" \"Nowhere\"\n" + after, 1},
        // a file that cannot be opened gives the condition 0, which a script may test
        {"an Include of a missing file", "[Setup]\nInclude \"nofile.txt\" \"Messages\"\n" + after, 0},
        // a skipped line is never read as a command
        {"an unknown word in a skipped branch", "[Setup]\nStrcmp \"a\" \"b\"\nIf\n  frob\nEndif\n" + after, 0},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        recording::addFile("C:\\setup\\texts.txt", "[Messages]\nset A \"a\"\n");
        run.silentMode = 1;
        EXPECT_EQ(c.status, runScript(c.script));
        EXPECT_EQ("went on\n", recording::content("C:\\out.txt"));
        EXPECT_EQ(0, run.failure);  // the failure flag, and so the registry mark, stay as they were
    }
}

// The end of the input at a question is no answer, never its first button.
TEST_F(RunRules, TheEndOfTheInputAtAQuestionEndsTheRunAsAFailure) {
    for (const char* box : {"MsgBoxYESNO", "MsgBoxOKCancel", "MsgBoxOK"}) {
        SCOPED_TRACE(box);
        SetUp();
        recording::answer("<end of input>");
        std::string script = std::string("[Setup]\n") + box +
                             " \"Install?\" \"Setup\"\nIf\n  AppendFile \"installed\" \"C:\\out.txt\"\nEndif\n"
                             "AppendFile \"went on\" \"C:\\out.txt\"\n";
        EXPECT_EQ(1, runScript(script));
        EXPECT_FALSE(recording::exists("C:\\out.txt"));
        EXPECT_EQ(1, run.failure);
        EXPECT_EQ(1u, recording::asked().size());
    }
}

TEST_F(RunRules, TheLogFollowsSectionsCommandsChangesAndAnswers) {
    logged.clear();
    setLogWriter(keepLine);
    recording::addDir("C:\\src\\bin");
    recording::addFile("C:\\src\\bin\\a.dll", "code");
    recording::answer("yes");
    int status = runScript(
        "[Setup]\n"
        "set DSTDIR \"C:\\dst\"\n"
        "MsgBoxYESNO \"Install it?\" \"Demo\"\n"
        "If\n"
        "  goto \"Files\"\n"
        "Endif\n"
        "MsgBoxOK \"Done\" \"Demo\"\n"
        "[Files]\n"
        "CopyDir2Dest \"bin\"\n"
        "SetUninstall \"Demo\" \"demo /UNINSTALL\"\n"
        "Delete \"C:\\dst\\bin\\a.dll\"\n");
    setLogWriter(nullptr);
    EXPECT_EQ(0, status);
    // each expected line, in this order
    const std::vector<std::string> expected = {
        "registry value set: HKEY_LOCAL_MACHINE\\Software\\Maroveth [InstallFailled] = \"1\"",
        "section [Setup] of setup.ini, line 1: entered",
        "setup.ini:2: set DSTDIR \"C:\\dst\" [A=\"C:\\dst\", B=\"C:\\dst\"]",
        "setup.ini:3: MsgBoxYESNO \"Install it?\" \"Demo\" [A=\"Install it?\", B=\"Demo\"]",
        "question msgbox \"Demo\": \"Install it?\" -> Yes (answered by the person)",
        "setup.ini:3: -> condition 1, failure 0, stop section 0, stop all 0",
        "setup.ini:5: goto \"Files\" [A=\"Files\"]",
        "section [Files] of setup.ini, line 8: entered",
        "setup.ini:9: CopyDir2Dest \"bin\" [A=\"bin\"]",
        "folder created: C:\\dst",  // the recording platform joins with its own separator
        "file copied: C:\\src\\bin\\a.dll -> C:\\dst\\bin\\a.dll",
        "registry value set: HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo "
        "[UninstallString] = \"demo /UNINSTALL\"",
        "setup.ini:11: Delete \"C:\\dst\\bin\\a.dll\" [A=\"C:\\dst\\bin\\a.dll\"]",
        "file deleted: C:\\dst\\bin\\a.dll",
        "section [Files]: left",
        // after the nested section the line numbers go on where they were
        "setup.ini:5: -> condition 1",
        "setup.ini:7: MsgBoxOK \"Done\" \"Demo\"",
        "question msgbox \"Demo\": \"Done\" -> OK (the default: nobody could be asked)",
        "section [Setup]: left",
        "registry value deleted: HKEY_LOCAL_MACHINE\\Software\\Maroveth [InstallFailled]",
    };
    size_t at = 0;
    for (const std::string& want : expected) {
        while (at < logged.size() && logged[at].compare(0, want.size(), want) != 0) at++;
        EXPECT_LT(at, logged.size()) << "not logged in order: " << want;
        if (at == logged.size()) {
            for (const std::string& line : logged) std::printf("  %s\n", line.c_str());
            break;
        }
    }
    // the If skipped nothing, and Endif is a line of its own
    EXPECT_NE("", loggedWith("setup.ini:6: Endif"));
}

TEST_F(RunRules, TheLogSaysWhereAnAnswerCameFromAndWhenNoneCame) {
    recording::addFile("C:\\answers.txt", "msgbox no\n");
    recording::setEnv("SETUP_ANSWERS", "C:\\answers.txt");
    logged.clear();
    setLogWriter(keepLine);
    int status = runScript("[Setup]\nMsgBoxYESNO \"First?\" \"Demo\"\nMsgBoxYESNO \"Second?\" \"Demo\"\n");
    setLogWriter(nullptr);
    EXPECT_EQ(1, status);
    EXPECT_NE("", loggedWith("question msgbox \"Demo\": \"First?\" -> No (from the answers file, line 1)"));
    EXPECT_NE("", loggedWith("question msgbox \"Demo\": \"Second?\" -> no answer: answers file C:\\answers.txt: ran out"));
    EXPECT_NE("", loggedWith("said on standard error: answers file C:\\answers.txt: ran out of answers"));
}

TEST_F(RunRules, NothingIsLoggedWithoutALog) {
    logged.clear();
    ASSERT_FALSE(logEnabled());
    EXPECT_EQ(0, runScript("[Setup]\nAppendFile \"x\" \"C:\\out.txt\"\n"));
    EXPECT_TRUE(logged.empty());
}

// A line break in a logged text never starts a line without its time stamp.
TEST(InstallLog, LineBreaksStayInsideTheirLine) {
    logged.clear();
    setLogWriter(keepLine);
    logLine("text %s", "one\r\ntwo\nthree");
    setLogWriter(nullptr);
    ASSERT_EQ(1u, logged.size());
    EXPECT_EQ("text one\\ntwo\\nthree", logged[0]);
}

// Script and language files in UTF-8 with a byte-order mark: the header after
// the mark is found, and the texts are made ready for display (the recording
// platform, as Windows in the West, converts them to Windows-1252).
TEST_F(RunRules, UTF8FilesWithAByteOrderMark) {
    recording::addFile("C:\\setup\\setup.French.txt",
                       "\xEF\xBB\xBF[Messages]\nset TITLE \"Ch\xC3\xA2teau \xE2\x82\xAC\"\n[Other]\nset X \"x\"\n");
    recording::addFile("C:\\setup\\plain.txt", "[Messages]\nset PLAIN \"Ch\xE2teau\"\n");
    recording::addFile("C:\\setup\\nomark.txt", "[Messages]\nset NOMARK \"Ch\xC3\xA2teau\"\n");
    EXPECT_EQ(0, runScript("\xEF\xBB\xBF[Setup]\n"
                           "Include \"setup.French.txt\" \"Messages\"\n"
                           "Include \"plain.txt\" \"Messages\"\n"
                           "Include \"nomark.txt\" \"Messages\"\n"
                           "AppendFile TITLE \"C:\\out.txt\"\n"));
    EXPECT_EQ("Ch\xE2teau \x80", var("TITLE"));
    EXPECT_EQ("Ch\xE2teau", var("PLAIN"));         // Windows-1252 as it stands
    EXPECT_EQ("Ch\xC3\xA2teau", var("NOMARK"));  // no mark: the bytes as they stand
    EXPECT_EQ("<none>", var("X"));                 // the section ended at the next header
    EXPECT_EQ("Ch\xE2teau \x80\n", recording::content("C:\\out.txt"));
}
