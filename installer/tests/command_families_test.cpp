// Commands on the recording platform: for each family, what a script line
// asks of the system and what it does to the run's flags.
#include "command_fixture.h"
#include "platform/recording/recording.h"
#include "script/commands.h"
#include "script/runstate.h"
#include "script/store.h"
#include "frame/startup.h"
#include "system/installstate.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

TEST_F(CommandTest, CopyFailuresEndTheRunAndYesAsksForARestart) {
    struct CopyCase {
        bool silent;
        const char* answer;  // the Yes/No question's answer, "" when not asked
        std::string flags;
    };
    static const CopyCase cases[] = {
        {false, "yes", "1111"},
        {false, "no", "1110"},
        {true, "", "1110"},  // silent: nothing asked, no restart
    };
    for (const CopyCase& c : cases) {
        SCOPED_TRACE(c.answer);
        SetUp();
        run.silentMode = c.silent;
        if (*c.answer) recording::answer(c.answer);
        SetVariable("ERROR_COPY_TTL", "Copy error");
        SetVariable("ERROR_COPY_MSG", "Cannot copy %s to %s");
        line("Copy \"missing.dll\"");
        EXPECT_EQ(c.flags, flags());
        ASSERT_EQ(c.silent ? 0u : 1u, recording::asked().size());
        if (!c.silent) {
            EXPECT_EQ("Cannot copy C:\\src\\missing.dll to C:\\dst\\missing.dll", recording::asked()[0].text);
        }
    }
}

TEST_F(CommandTest, CopyAWithAnAbsentPathDoesNothing) {
    line("CopyA \"C:\\src\\a.dll\" Undefined");
    EXPECT_EQ("0000", flags());
    EXPECT_TRUE(recording::asked().empty());
}

TEST_F(CommandTest, MkDirWithoutItsParentEndsTheRunWithCodeOne) {
    line("MkDir \"C:\\dst\\new\"");
    EXPECT_EQ("0000", flags());
    EXPECT_TRUE(recording::isDir("C:\\dst\\new"));
    line("MkDir \"C:\\dst\\new\"");  // there already: no failure
    EXPECT_EQ("0000", flags());
    run.silentMode = 1;
    line("MkDir \"C:\\nowhere\\new\"");
    EXPECT_EQ("1110", flags());
    EXPECT_EQ(1, finalExitCode());
}

TEST_F(CommandTest, ApplyOnFilesRunsItsSectionWithDstdirSetForEachMatch) {
    recording::addFile("C:\\setup\\setup.ini", "[Found]\nAppendFile DSTDIR \"C:\\found.txt\"\n");
    run.scriptFile = platFileOpen("C:\\setup\\setup.ini", "rb");
    recording::addFile("C:\\apps\\a\\qoltwin.exe", "x");
    recording::addFile("D:\\b\\qoltwin.exe", "x");
    run.condition = 1;
    line("ApplyOnFiles \"qoltwin.exe\" \"Found\"");
    platFileClose(run.scriptFile);
    run.scriptFile = nullptr;
    EXPECT_EQ("c:\\apps\\a\nd:\\b\n", recording::content("C:\\found.txt"));
    EXPECT_EQ("d:\\b", var("DSTDIR"));  // the last match stays
    EXPECT_EQ(0, run.condition);
}

TEST_F(CommandTest, ImportOldVexaMarksAFailureWhenTheNewReleaseIsMissing) {
    recording::addFile("C:\\dst\\qolt.ini", "vexa 1\nupdate no\nplugin old.dll\n");
    line("ImportOldVexa \"2.0\" \"auto\"");
    EXPECT_EQ("1000", flags());  // no new qolt.ini to merge from: marked, and the run goes on
    EXPECT_EQ("vexa 2.0\nupdate auto\nplugin old.dll\n", recording::content("C:\\dst\\qolt.ini"));
    line("IsVexaUpdated \"1.0\"");
    EXPECT_EQ(0, run.condition);  // after a failure, never up to date
}

TEST_F(CommandTest, InstallStateAndUninstallEntryInTheRegistry) {
    const char* vendor = "Software\\Maroveth";
    const char* entry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vexa 3D";
    EXPECT_EQ(0, MarkInstallStarted());
    EXPECT_EQ("1", recording::registryValue(RegLocalMachine, vendor, "InstallFailled"));
    EXPECT_EQ(1, MarkInstallStarted());  // the mark of the run before
    SetVariable("APP_VERSION", "2.4.1");
    line("InstallSuccess");
    EXPECT_EQ("<absent>", recording::registryValue(RegLocalMachine, vendor, "InstallFailled"));
    EXPECT_EQ("1", recording::registryValue(RegLocalMachine, vendor, "Success"));
    EXPECT_EQ("2.4.1", recording::registryValue(RegLocalMachine, vendor, "Netscape"));
    line("SetUninstall \"Vexa 3D\" \"C:\\dst\\setup.exe /UNINSTALL\"");
    EXPECT_EQ("C:\\dst\\setup.exe /UNINSTALL", recording::registryValue(RegLocalMachine, entry, "UninstallString"));
    line("DelUninstall \"Vexa 3D\"");
    EXPECT_FALSE(recording::registryKeyExists(RegLocalMachine, entry));
    line("DelUninstall \"\"");  // never the list of entries itself
    EXPECT_TRUE(recording::registryKeyExists(RegLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
}

TEST_F(CommandTest, DetectVexaReadsTheFileClassesUnlessAFailureIsKnown) {
    platRegSetString(RegClassesRoot, "vxm_auto_file\\shell\\open\\command", nullptr,
                     "\"C:\\Apps\\Rt\\qoltwin.exe\" \"%1\"");
    line("DetectVEXA");
    EXPECT_EQ(1, run.condition);
    EXPECT_EQ("C:\\Apps\\Rt", var("VEXApath"));
    run.failure = 1;
    line("DetectVEXA");
    EXPECT_EQ(0, run.condition);
    EXPECT_EQ("", var("VEXApath"));
}

// Every command reads its arguments before it writes its result, even when
// an argument names the variable it writes: each command that writes a
// variable, run with that variable as its own argument (under the sanitizers
// a result written first would be read after it was freed).
TEST_F(CommandTest, ResultsNamedByTheirOwnArgumentsReadTheArgumentFirst) {
    struct OwnCase {
        std::vector<std::string> before;
        std::string line;
        const char* variable;
        const char* expected;
    };
    recording::addFile("C:\\v.txt", "key 1 2\n");
    recording::addFile("C:\\apps\\found\\qoltwin.exe", "x");
    recording::setFixedDrives({"C:\\apps"});
    recording::addFile("C:\\setup\\setup.ini", "[Nowhere]\n[Found]\n");
    run.scriptFile = platFileOpen("C:\\setup\\setup.ini", "rb");
    SetVariable("VFILE", "C:\\v.txt");
    const OwnCase cases[] = {
        {{"set QTSTR \"x\""}, "MkStr QTSTR", "QTSTR", "\"x\""},
        {{"set MAJMIN \"key\""}, "GetVersion VFILE MAJMIN", "MAJMIN", "0001-0002"},
        {{"set MAJMIN \"C:\\v.txt\"", "set K \"key\""}, "GetVersion MAJMIN K", "MAJMIN", "0001-0002"},
        {{"set A \"ab\""}, "Strcat A A", "A", "abab"},
        {{"set B \"copy\""}, "set B B", "B", "copy"},
        {{"set TempLine \"C:\\v.txt\"", "set S \"Nowhere\""}, "ParseFile TempLine S", "TempLine", "key 1 2"},
        {{"set TempStripped \"C:\\v.txt\""}, "ParseFile TempStripped \"Nowhere\"", "TempStripped", "key 1 2"},
        {{"set T \"C:\\dst\""}, "GetTempFileName T", "T", "C:\\dst\\tem1.tmp"},
        {{"set DSTDIR \"qoltwin.exe\""}, "ApplyOnFiles DSTDIR \"Found\"", "DSTDIR", "C:\\apps\\found"},
        {{"set F \"Found\"", "set DSTDIR \"C:\\dst\""}, "ApplyOnFiles \"qoltwin.exe\" F", "DSTDIR",
         "C:\\apps\\found"},
        {{"set C \"gone\""}, "Clr C", "C", "<none>"},
        {{"set VEXApath \"x\""}, "DetectVEXA", "VEXApath", ""},
    };
    for (const OwnCase& c : cases) {
        SCOPED_TRACE(c.line);
        for (const std::string& b : c.before) line(b);
        line(c.line);
        EXPECT_EQ(c.expected, var(c.variable));
    }
    platFileClose(run.scriptFile);
    run.scriptFile = nullptr;
}

// An empty name, or a variable holding the empty text, would make
// "SRCDIR\" the whole source folder: refused as an absent name is.
TEST_F(CommandTest, EmptyNamesOfFileOperationsAreRefused) {
    struct EmptyCase {
        const char* line;
        const char* flags;  // failure stopSection stopAll reboot
    };
    static const EmptyCase cases[] = {
        {"Move EMPTY", "1110"},           {"Move \"\" \"b.dll\"", "1110"},  {"Move \"a.dll\" EMPTY", "1110"},
        {"MoveS \"\" \"C:\\x\"", "1110"}, {"Copy EMPTY", "1110"},            {"CopyS EMPTY \"C:\\x\"", "1110"},
        {"CopyD \"C:\\src\\a.dll\" EMPTY", "1110"}, {"MoveD \"C:\\src\\a.dll\" \"\"", "1110"},
        // the A forms do nothing at all with an empty path, as with an absent one
        {"MoveA EMPTY \"C:\\x\\a.dll\"", "0000"}, {"CopyA \"C:\\src\\a.dll\" EMPTY", "0000"},
    };
    for (const EmptyCase& c : cases) {
        SCOPED_TRACE(c.line);
        SetUp();
        run.silentMode = 1;
        recording::addFile("C:\\src\\a.dll", "a");
        recording::addDir("C:\\x");
        SetVariable("EMPTY", "");
        size_t before = recording::calls().size();
        line(c.line);
        EXPECT_EQ(c.flags, flags());
        for (size_t i = before; i < recording::calls().size(); i++) {
            EXPECT_NE(0u, recording::calls()[i].compare(0, 8, "moveFile")) << recording::calls()[i];
            EXPECT_NE(0u, recording::calls()[i].compare(0, 8, "copyFile")) << recording::calls()[i];
        }
        EXPECT_EQ((std::vector<std::string>{"C:\\src\\", "C:\\src\\a.dll"}), recording::tree("C:\\src"));
    }
}

// Failures the script is not told of still end the run with exit status 1;
// the failure flag, and so the flow of the script, stay as they were.
TEST_F(CommandTest, FailuresThatLeaveTheFlagStillEndTheRunAsFailed) {
    struct SilentFailure {
        const char* what;
        void (*prepare)();
        const char* line;
        const char* present;  // a file there afterwards, "" for none
    };
    static const SilentFailure cases[] = {
        {"uninstall entry", [] { recording::failRegistryWrites(true); }, "SetUninstall \"Vexa\" \"setup /U\"", ""},
        {"success mark", [] { recording::failRegistryWrites(true); }, "InstallSuccess", ""},
        {"registry cleaning", [] { recording::failRegistryWrites(true); }, "CleanRegistry", ""},
        {"AddPartition without its folder", [] { SetVariable("DSTDIR", "C:\\nowhere"); }, "AddPartition \"E:\\data\"",
         ""},
        {"AddPartition on an unreadable file",
         [] {
             recording::addFile("C:\\dst\\qolt.ini", "vexa 1\n");
             recording::failOpen("C:\\dst\\qolt.ini");
         },
         "AddPartition \"E:\\data\"", "C:\\dst\\qolt.ini"},
        {"ImportOldVexa without its temporary file",
         [] {
             recording::addFile("C:\\src\\qolt.ini", "plugin a.dll\n");
             recording::addFile("C:\\dst\\qolt.ini", "vexa 1\n");
             recording::failOpen("C:\\dst\\qolttemp.ini");
         },
         "ImportOldVexa \"2\" \"auto\"", "C:\\dst\\qolt.ini"},
        {"CopyDir2Dest of a missing folder", [] {}, "CopyDir2Dest \"nothere\"", ""},
        {"CopyDir2Dest with an unreadable folder",
         [] {
             recording::addFile("C:\\src\\pkg\\a.txt", "a");
             recording::addFile("C:\\src\\pkg\\locked\\b.txt", "b");
             recording::addFile("C:\\src\\pkg\\z.txt", "z");
             recording::failOpen("C:\\src\\pkg\\locked");
         },
         "CopyDir2Dest \"pkg\"", "C:\\dst\\pkg\\z.txt"},  // the copy goes on past it
        {"Deltree deeper than 259 characters",
         [] { recording::addFile("C:\\dst\\" + std::string(130, 'd') + "\\" + std::string(130, 'e') + "\\f.txt", "f"); },
         "Deltree \"C:\\dst\"", ""},
    };
    for (const SilentFailure& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        run.silentMode = 1;
        c.prepare();
        line(c.line);
        EXPECT_EQ("0000", flags());
        EXPECT_EQ(1, finalExitCode());
        EXPECT_FALSE(recording::diagnostics().empty());
        if (*c.present) {
            EXPECT_TRUE(recording::exists(c.present));
        }
    }
}

TEST_F(CommandTest, AnInstallThatCannotBeRecordedEndsAsFailed) {
    recording::failRegistryWrites(true);
    recording::addFile("C:\\setup\\setup.ini", "[Setup]\nAppendFile \"went on\" \"C:\\out.txt\"\n");
    ASSERT_EQ(0, runSetupScript());
    finishSetupScript();
    EXPECT_EQ("went on\n", recording::content("C:\\out.txt"));
    EXPECT_EQ(1, run.failure);
    EXPECT_EQ(1, finalExitCode());
}

TEST_F(CommandTest, MkDirOfNothingIsRefused) {
    for (const char* text : {"MkDir \"\"", "MkDir Undefined", "MkDir \"\" \"\""}) {
        SCOPED_TRACE(text);
        SetUp();
        size_t before = recording::calls().size();
        line(text);
        EXPECT_EQ(before, recording::calls().size());  // nothing asked of the file system
        EXPECT_EQ("1000", flags());
        EXPECT_EQ(1, finalExitCode());
    }
}

TEST_F(CommandTest, MessageBoxesSetTheConditionFromTheButton) {
    struct BoxCase {
        const char* line;
        const char* answer;
        int condition;
    };
    static const BoxCase cases[] = {
        {"MsgBoxYESNO \"Go on?\" \"Setup\"", "yes", 1}, {"MsgBoxYESNO \"Go on?\" \"Setup\"", "no", 0},
        {"MsgBoxOKCancel \"Go on?\" \"Setup\"", "cancel", 0}, {"MsgBoxOKCancel \"Go on?\" \"Setup\"", "ok", 1},
        {"MsgBoxOK \"Done\" \"Setup\"", "ok", 1},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(std::string(c.line) + " " + c.answer);
        recording::answer(c.answer);
        run.condition = 7;
        line(c.line);
        EXPECT_EQ(c.condition, run.condition);
    }
    run.silentMode = 1;
    run.condition = 7;
    line("MsgBoxYESNO \"Go on?\" \"Setup\"");
    EXPECT_EQ(7, run.condition);  // silent: not shown, the condition stays
    EXPECT_EQ(5u, recording::asked().size());
}

TEST_F(CommandTest, AnswersFileAnswersBoxesAndEndsTheRunWhenItRunsOut) {
    recording::addFile("C:\\answers.txt", "# unattended\nmsgbox NO\n\nmsgbox yes\n");
    recording::setEnv("SETUP_ANSWERS", "C:\\answers.txt");
    line("MsgBoxYESNO \"Go on?\" \"Setup\"");
    EXPECT_EQ(0, run.condition);
    line("MsgBoxYESNO \"Go on?\" \"Setup\"");
    EXPECT_EQ(1, run.condition);
    EXPECT_TRUE(recording::asked().empty());  // nobody was asked
    EXPECT_EQ("0000", flags());
    line("MsgBoxOK \"Done\" \"Setup\"");
    EXPECT_EQ("1110", flags());
}

// A path is an argument of a diagnostic, never its format.
TEST_F(CommandTest, PercentSignsInPathsReachDiagnosticsAsWritten) {
    run.silentMode = 1;
    line("Copy \"100%sale.dll\"");
    ASSERT_FALSE(recording::diagnostics().empty());
    EXPECT_EQ("setup: cannot copy C:\\src\\100%sale.dll to C:\\dst\\100%sale.dll: No such file or directory",
              recording::diagnostics().back());
}

// An empty or undefined folder never turns a path into one at the root of the drive.
TEST_F(CommandTest, EmptyFoldersNeverNameTheRootOfTheDrive) {
    static const char* const lines[] = {
        "MkDir \"\" \"made\"", "MkDir Undefined \"made\"", "CopyS \"a.dll\" \"\"", "MoveS \"a.dll\" Undefined",
        "CopyD \"C:\\src\\a.dll\" \"\"",
    };
    for (const char* text : lines) {
        SCOPED_TRACE(text);
        SetUp();
        run.silentMode = 1;
        recording::addFile("C:\\src\\a.dll", "library");
        line(text);
        EXPECT_TRUE(recording::isDir("C:\\dst"));
        EXPECT_FALSE(recording::exists("C:\\made"));
        EXPECT_FALSE(recording::exists("C:\\a.dll"));
        EXPECT_TRUE(recording::exists("C:\\src\\a.dll"));
        EXPECT_EQ(1, run.failure);
    }
}
