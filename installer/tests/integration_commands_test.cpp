// Shortcuts and program groups, programs, libraries, fonts and the network
// probes, on the recording platform.
#include "command_fixture.h"
#include "frame/startup.h"
#include "platform/recording/recording.h"
#include "script/runstate.h"
#include "script/store.h"
#include "system/programs.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
const std::string programs = recording::kProgramsFolder;
const std::string desktop = recording::kDesktopFolder;
const std::string startup = recording::kStartupFolder;

// "target|workdir|arguments" of the shortcut in file, or "<none>".
std::string link(const std::string& file) {
    recording::RecordedShortcut s;
    if (!recording::shortcut(file, s)) return "<none>";
    return s.target + "|" + s.workDir + "|" + s.arguments;
}

bool called(const std::string& call) {
    const auto& calls = recording::calls();
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}
}  // namespace

TEST_F(CommandTest, LinkargServesOneShortcutAndIsEmptiedAfterIt) {
    line("MkPgmGroup \"Vexa 3D\"");
    EXPECT_TRUE(recording::isDir(programs + "\\Vexa 3D"));
    line("set PROGRAMGROUP \"Vexa 3D\"");
    line("set LINKARG \"-f \"");
    line("MkLink \"bin\\qoltwin.exe\" \"Vexa\"");
    EXPECT_EQ("C:\\dst\\bin\\qoltwin.exe|C:\\dst|-f ", link(programs + "\\Vexa 3D\\Vexa.lnk"));
    EXPECT_EQ("", var("LINKARG"));
    line("MkLink \"docs\\readme.txt\" \"Read me\"");
    EXPECT_EQ("C:\\dst\\docs\\readme.txt|C:\\dst|", link(programs + "\\Vexa 3D\\Read me.lnk"));
    // every kind of shortcut takes LINKARG and empties it
    line("set LINKARG \"/desk\"");
    line("CreateDesktopLink \"bin\\qoltwin.exe\" \"Vexa\"");
    EXPECT_EQ("C:\\dst\\bin\\qoltwin.exe|C:\\dst|/desk", link(desktop + "\\Vexa.lnk"));
    line("set LINKARG \"/start\"");
    line("CreateStartLink \"bin\\qoltwin.exe\" \"Vexa\"");
    EXPECT_EQ("C:\\dst\\bin\\qoltwin.exe|C:\\dst|/start", link(startup + "\\Vexa.lnk"));
    EXPECT_EQ("", var("LINKARG"));
    EXPECT_EQ("0000", flags());
    EXPECT_TRUE(recording::asked().empty());
    EXPECT_TRUE(called("programGroupChanged(\"" + programs + "\\Vexa 3D\") = 0"));
}

TEST_F(CommandTest, AnAbsentTargetDirectoryOrTitleMakesNothingAndKeepsLinkarg) {
    static const char* const lines[] = {
        "CreateDesktopLink \"a.exe\" Undefined",     // no title
        "CreateDesktopLink Undefined \"Title\"",     // no file
        "CreateStartLink \"a.exe\"",                 // no title
        "MkLink \"a.exe\" Undefined",
        "CreateSourceLink \"a.exe\" Undefined",
    };
    for (const char* l : lines) {
        SCOPED_TRACE(l);
        SetUp();
        line("set LINKARG \"-keep\"");
        line("set PROGRAMGROUP \"G\"");
        line("MkPgmGroup \"G\"");
        size_t before = recording::tree("C:\\Users").size();
        line(l);
        EXPECT_EQ("-keep", var("LINKARG"));
        EXPECT_EQ(before, recording::tree("C:\\Users").size());
    }
    // no DSTDIR: no base directory for the target
    SetUp();
    ClearVariable("DSTDIR");
    line("set LINKARG \"-keep\"");
    line("CreateDesktopLink \"a.exe\" \"T\"");
    EXPECT_EQ("-keep", var("LINKARG"));
    EXPECT_FALSE(recording::exists(desktop + "\\T.lnk"));
}

TEST_F(CommandTest, MkLinkBeforeTheGroupExistsMakesNothingAndReportsNothing) {
    std::vector<std::string> before = recording::tree(programs);
    line("set PROGRAMGROUP \"Vexa 3D\"");
    line("set LINKARG \"-x\"");
    line("MkLink \"bin\\qoltwin.exe\" \"Vexa\"");
    EXPECT_EQ(before, recording::tree(programs));
    EXPECT_TRUE(recording::asked().empty());
    EXPECT_EQ("0000", flags());
    EXPECT_EQ("", var("LINKARG"));  // the shortcut was attempted
}

TEST_F(CommandTest, WithoutProgramGroupNoShortcutIsMadeAnywhere) {
    std::vector<std::string> before = recording::tree(programs);
    line("set LINKARG \"-x\"");
    line("MkLink \"bin\\qoltwin.exe\" \"Vexa\"");
    line("CreateSourceLink \"setup.exe\" \"Setup\"");
    EXPECT_EQ(before, recording::tree(programs));
    EXPECT_EQ("0000", flags());
    EXPECT_TRUE(recording::asked().empty());
    ASSERT_FALSE(recording::diagnostics().empty());
    EXPECT_NE(std::string::npos, recording::diagnostics().back().find("PROGRAMGROUP has no value"));
    EXPECT_EQ("", var("LINKARG"));
}

TEST_F(CommandTest, ASourceLinkPointsToTheSourceAndStartsInTheDestination) {
    line("set PROGRAMGROUP \"Vexa 3D\"");
    line("MkPgmGroup \"Vexa 3D\"");
    line("CreateSourceLink \"setup.exe\" \"Setup again\"");
    EXPECT_EQ("C:\\src\\setup.exe|C:\\dst|", link(programs + "\\Vexa 3D\\Setup again.lnk"));
}

TEST_F(CommandTest, ProgressLinesNameTheGroupAndTheTitle) {
    SetVariable("CREATEPGMGROUP_MSG", "Group %s");
    SetVariable("CREATELINK_MSG", "Link %s");
    line("MkPgmGroup \"Vexa 3D\"");
    line("set PROGRAMGROUP \"Vexa 3D\"");
    line("MkLink \"a.exe\" \"Vexa\"");
    line("CreateDesktopLink \"a.exe\" \"Desk\"");
    line("CreateStartLink \"a.exe\" \"Start\"");
    line("CreateSourceLink \"a.exe\" \"Source\"");
    std::vector<std::string> expected = {"Group Vexa 3D", "Link Vexa", "Link Desk", "Link Start", "Link Source"};
    EXPECT_EQ(expected, recording::progressTexts());
}

TEST_F(CommandTest, DelPgmGroupRemovesTheGroupWithEveryShortcutAndSubfolder) {
    recording::addFile(programs + "\\Vexa 3D\\Vexa.lnk", "");
    recording::addFile(programs + "\\Vexa 3D\\Tools\\Deep\\Tool.lnk", "");
    recording::addFile(programs + "\\Other\\Other.lnk", "");
    line("DelPgmGroup \"vexa 3d\"");
    EXPECT_FALSE(recording::exists(programs + "\\Vexa 3D"));
    EXPECT_TRUE(recording::exists(programs + "\\Other\\Other.lnk"));
    EXPECT_TRUE(called("programGroupChanged(\"" + programs + "\\vexa 3d\") = 0"));
    EXPECT_EQ("0000", flags());
}

// An empty or wandering group would take the whole Programs folder (or the
// Start menu above it) with it: refused.
TEST_F(CommandTest, DelPgmGroupRefusesWhatIsNoGroupBelowPrograms) {
    static const char* const lines[] = {
        "DelPgmGroup \"\"", "DelPgmGroup Undefined", "DelPgmGroup \"..\"", "DelPgmGroup \"Other\\..\"",
        "DelPgmGroup \".\"", "DelPgmGroup \"\\\"", "DelPgmGroup \"C:\\Users\"", "DelPgmGroup \"..\\..\"",
    };
    for (const char* l : lines) {
        SCOPED_TRACE(l);
        SetUp();
        recording::addFile(programs + "\\Other\\Other.lnk", "");
        recording::addFile(programs + "\\Top.lnk", "");
        size_t before = recording::tree("C:\\").size();
        line(l);
        EXPECT_EQ(before, recording::tree("C:\\").size());
        ASSERT_FALSE(recording::diagnostics().empty());
        EXPECT_NE(std::string::npos, recording::diagnostics().back().find("no program group below"));
    }
}

TEST_F(CommandTest, DestroyingShortcutsRemovesOnlyThem) {
    recording::addFile(desktop + "\\Vexa.lnk", "");
    recording::addFile(desktop + "\\Vexa.txt", "keep");
    recording::addFile(startup + "\\Vexa.lnk", "");
    line("DestroyDesktopLink \"Missing\"");  // nothing there: nothing done, nothing said
    EXPECT_EQ("0000", flags());
    EXPECT_TRUE(recording::asked().empty());
    line("DestroyDesktopLink \"vexa\"");
    EXPECT_FALSE(recording::exists(desktop + "\\Vexa.lnk"));
    EXPECT_TRUE(recording::exists(desktop + "\\Vexa.txt"));
    EXPECT_TRUE(recording::exists(startup + "\\Vexa.lnk"));
    line("DestroyStartLink \"Vexa\"");
    EXPECT_FALSE(recording::exists(startup + "\\Vexa.lnk"));
    EXPECT_EQ("0000", flags());
}

TEST_F(CommandTest, GetPgmGroupSetsTheVariableItNames) {
    line("GetPgmGroup MENU");
    EXPECT_EQ(programs, var("MENU"));
    line("GetPgmGroup \"Quoted\"");
    EXPECT_EQ(programs, var("Quoted"));
    recording::failShellFolders(true);
    line("set MENU \"before\"");
    line("GetPgmGroup MENU");
    EXPECT_EQ("before", var("MENU"));  // no folder: the variable stays
    EXPECT_EQ("0000", flags());
}

TEST_F(CommandTest, RegisterCallsTheEntryPointOrShowsWhyNotAndMarksAFailure) {
    SetVariable("ERROR_TTL", "Error");
    SetVariable("ERROR_LOAD_DLL", "Cannot load %s");
    SetVariable("ERROR_REG_DLL", "Cannot register %s");
    SetVariable("ERROR_UREG_DLL", "Cannot unregister %s");
    SetVariable("REGISTERING_MSG", "Registering %s");
    struct RegisterCase {
        const char* line;
        bool silent;
        const char* box;  // "" when none is shown
        const char* flags;
    };
    const RegisterCase cases[] = {
        {"Register \"good.dll\"", false, "", "0000"},
        {"Register \"noreg.dll\"", false, "Cannot register C:\\dst\\noreg.dll", "1000"},
        {"Register \"noreg.dll\"", true, "", "1000"},
        {"Register \"missing.dll\"", false, "Cannot load C:\\dst\\missing.dll", "1000"},
        {"Register \"plain.txt\"", true, "", "1000"},
        {"Unregister \"good.dll\" \"C:\\dst\"", false, "", "0000"},
        {"Unregister \"noreg.dll\" \"C:\\dst\"", false, "Cannot unregister C:\\dst\\noreg.dll", "1000"},
        {"Unregister \"noreg.dll\" \"C:\\dst\"", true, "", "1000"},
        {"Unregister Undefined", false, "", "1000"},
    };
    for (const RegisterCase& c : cases) {
        SCOPED_TRACE(std::string(c.line) + (c.silent ? " (silent)" : ""));
        SetUp();
        SetVariable("ERROR_TTL", "Error");
        SetVariable("ERROR_LOAD_DLL", "Cannot load %s");
        SetVariable("ERROR_REG_DLL", "Cannot register %s");
        SetVariable("ERROR_UREG_DLL", "Cannot unregister %s");
        recording::addLibrary("C:\\dst\\good.dll", {"DllRegisterServer", "DllUnregisterServer"});
        recording::addLibrary("C:\\dst\\noreg.dll", {"noregVersion"});
        recording::addFile("C:\\dst\\plain.txt", "text");
        run.silentMode = c.silent;
        line(c.line);
        EXPECT_EQ(c.flags, flags());
        if (*c.box) {
            ASSERT_EQ(1u, recording::asked().size());
            EXPECT_EQ(c.box, recording::asked()[0].text);
            EXPECT_EQ("Error", recording::asked()[0].title);
        } else {
            EXPECT_TRUE(recording::asked().empty());
        }
    }
    SetUp();
    SetVariable("REGISTERING_MSG", "Registering %s");
    recording::addLibrary("C:\\dst\\good.dll", {"DllRegisterServer"});
    line("Register \"good.dll\"");
    EXPECT_EQ(std::vector<std::string>{"Registering C:\\dst\\good.dll"}, recording::progressTexts());
    EXPECT_TRUE(called("callEntryPoint(C:\\dst\\good.dll, \"DllRegisterServer\") = 1"));
    EXPECT_TRUE(called("freeLibrary(C:\\dst\\good.dll) = 0"));
}

TEST_F(CommandTest, AFailedRegistrationWithoutItsMessageShowsNothingButStillFails) {
    recording::addLibrary("C:\\dst\\noreg.dll", {});
    line("Register \"noreg.dll\"");  // ERROR_REG_DLL has no text
    EXPECT_TRUE(recording::asked().empty());
    EXPECT_EQ("1000", flags());
    EXPECT_EQ(1, finalExitCode());
}

TEST_F(CommandTest, UnregisterWithOneArgumentLooksInTheCurrentDirectory) {
    recording::addLibrary("C:\\setup\\x.dll", {"DllUnregisterServer"});
    recording::addLibrary("C:\\dst\\x.dll", {"DllUnregisterServer"});
    line("Unregister \"x.dll\"");
    EXPECT_TRUE(called("callEntryPoint(C:\\setup\\x.dll, \"DllUnregisterServer\") = 1"));
    EXPECT_FALSE(called("loadLibrary(\"C:\\dst\\x.dll\") = 0"));
    line("Unregister \"x.dll\" \"\"");  // an empty directory is no directory
    EXPECT_TRUE(called("loadLibrary(\"x.dll\") = 0"));
    EXPECT_EQ("0000", flags());
}

TEST_F(CommandTest, CheckForDllTellsWhetherTheLibraryLoads) {
    recording::addLibrary("C:\\dst\\good.dll", {});
    recording::addFile("C:\\dst\\plain.txt", "text");
    struct CheckCase {
        const char* line;
        int condition;
    };
    const CheckCase cases[] = {
        {"CheckForDLL \"C:\\dst\\good.dll\"", 1}, {"CheckForDLL \"C:\\dst\\missing.dll\"", 0},
        {"CheckForDLL \"C:\\dst\\plain.txt\"", 0}, {"CheckForDLL Undefined", 0},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.line);
        run.condition = 7;
        line(c.line);
        EXPECT_EQ(c.condition, run.condition);
    }
    EXPECT_TRUE(recording::asked().empty());
    EXPECT_EQ("0000", flags());
}

TEST_F(CommandTest, RunWaitGivesTheExitCodeOrMinusOneWhichIfTakesAsTrue) {
    recording::addProgram("C:\\setup\\x.exe", 3);
    line("RunWait \"x.exe\" \"/s\"");
    EXPECT_EQ(3, run.condition);
    EXPECT_TRUE(called("runAndWait(\"x.exe\", \"/s\") = 0"));  // found here; the command line alone
    line("RunWait \"missing.exe\" \"/s\"");
    EXPECT_EQ(-1, run.condition);
    recording::addProgram("C:\\setup\\broken.exe", 0, false);
    line("RunWait \"broken.exe\" Undefined");
    EXPECT_EQ(-1, run.condition);
    line("RunWait Undefined \"/s\"");
    EXPECT_EQ(-1, run.condition);
    EXPECT_EQ("0000", flags());  // nothing is marked failed
    // -1 is true for If
    recording::addFile("C:\\setup\\setup.ini", "[S]\nRunWait \"missing.exe\" \"\"\nIf\nset TAKEN \"yes\"\nEndif\n");
    run.scriptFile = platFileOpen("C:\\setup\\setup.ini", "rb");
    line("goto \"S\"");
    platFileClose(run.scriptFile);
    run.scriptFile = nullptr;
    EXPECT_EQ("yes", var("TAKEN"));
}

TEST_F(CommandTest, ProgramsAreFoundAsWrittenThenOnThePathWithTheirExtensions) {
    recording::setEnv("PATH", "C:\\bin;;C:\\tools\\");
    recording::addProgram("C:\\bin\\tool.exe", 0);
    recording::addProgram("C:\\bin\\tool.com", 0);
    recording::addProgram("C:\\tools\\script.bat", 0);
    recording::addProgram("C:\\tools\\plain", 0);
    recording::addProgram("C:\\setup\\local.cmd", 0);
    recording::addProgram("C:\\setup\\sub\\x.exe", 0);
    recording::addProgram("C:\\bin\\sub\\y.exe", 0);
    recording::addDir("C:\\bin\\dir.exe");
    struct FindCase {
        const char* program;
        const char* found;
    };
    const FindCase cases[] = {
        {"tool", "C:\\bin\\tool.com"},       // .com before .exe
        {"tool.exe", "C:\\bin\\tool.exe"},
        {"script", "C:\\tools\\script.bat"},
        {"plain", "C:\\tools\\plain"},       // the name as written comes first
        {"local", "local.cmd"},              // here, as written
        {"sub\\x", "sub\\x.exe"},
        {"sub\\y", "C:\\bin\\sub\\y.exe"},    // a backslash still searches PATH
        {"sub/y", ""},                        // a forward slash does not
        {"tool.txt", ""},                     // an extension is never replaced
        {"dir.exe", ""},                      // a directory is no program
        {"", ""},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.program);
        EXPECT_EQ(c.found, findProgram(c.program));
    }
}

TEST_F(CommandTest, RunOpensTheFileWithItsParametersInTheDestination) {
    line("Run \"C:\\apps\\viewer.exe\" \"-open a.txt\"");
    EXPECT_TRUE(called("openFile(\"C:\\apps\\viewer.exe\", \"-open a.txt\", \"C:\\dst\") = 0"));
    line("Run \"readme.txt\"");
    EXPECT_TRUE(called("openFile(\"readme.txt\", null, \"C:\\dst\") = 0"));
    size_t before = recording::calls().size();
    line("Run Undefined \"x\"");
    EXPECT_EQ(before, recording::calls().size());
    EXPECT_EQ("0000", flags());
}

TEST_F(CommandTest, FontsAreAddedAndRemoved) {
    recording::addFile("C:\\dst\\fonts\\vexa.ttf", "font");
    line("RegisterFont \"C:\\dst\\fonts\\vexa.ttf\"");
    EXPECT_EQ(std::vector<std::string>{"C:\\dst\\fonts\\vexa.ttf"}, recording::fonts());
    line("RegisterFont \"C:\\dst\\fonts\\missing.ttf\"");
    line("UnregisterFont \"C:\\DST\\fonts\\VEXA.ttf\"");
    EXPECT_TRUE(recording::fonts().empty());
    line("UnregisterFont \"C:\\dst\\fonts\\vexa.ttf\"");  // not there any more: nothing said to the user
    line("RegisterFont Undefined");
    EXPECT_TRUE(recording::asked().empty());
    EXPECT_EQ("0000", flags());
}

TEST_F(CommandTest, DetectTcpipNeedsSocketsOneOneTheThreeProtocolsAndATcpSocket) {
    struct TcpCase {
        const char* what;
        bool sockets;
        int major, minor;
        const char* missing;
        int condition;
    };
    const TcpCase cases[] = {
        {"usable", true, 1, 1, "", 1},
        {"no UDP in the protocol database", true, 1, 1, "UDP", 0},
        {"no IP", true, 1, 1, "IP", 0},
        {"no sockets", false, 1, 1, "", 0},
        {"version 2.0 granted", true, 2, 0, "", 0},
    };
    for (const TcpCase& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        recording::setSockets(c.sockets, c.major, c.minor);
        if (*c.missing) recording::removeProtocol(c.missing);
        run.condition = 7;
        line("DetectTCPIP");
        EXPECT_EQ(c.condition, run.condition);
        if (c.sockets) {
            EXPECT_TRUE(called("netStop() = 0"));
        }
    }
    SetUp();
    line("DetectTCPIP");
    std::vector<std::string> expected = {"netStart() = 0",         "protocolKnown(\"TCP\") = 1",
                                         "protocolKnown(\"IP\") = 1", "protocolKnown(\"UDP\") = 1",
                                         "streamSocket(6) = 0",     "closeSocket() = 0",
                                         "netStop() = 0"};
    EXPECT_EQ(expected, recording::calls());
}

TEST_F(CommandTest, IsVexaRunningWhenPort1200CannotBeTaken) {
    struct PortCase {
        const char* what;
        bool sockets;
        int major, minor;
        bool taken;
        int condition;
    };
    const PortCase cases[] = {
        {"free", true, 1, 1, false, 0},
        {"taken", true, 1, 1, true, 1},
        {"no sockets", false, 1, 1, false, 1},
        {"version 2.2 granted", true, 2, 2, false, 1},
    };
    for (const PortCase& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        recording::setSockets(c.sockets, c.major, c.minor);
        if (c.taken) recording::takePort(1200);
        line("IsVexaRunning");
        EXPECT_EQ(c.condition, run.condition);
    }
    SetUp();
    line("IsVexaRunning");
    std::vector<std::string> expected = {"netStart() = 0", "streamSocket(0) = 0", "bind(1200) = 0", "listen(3) = 0",
                                         "closeSocket() = 0", "netStop() = 0"};
    EXPECT_EQ(expected, recording::calls());
}

TEST_F(CommandTest, ShowAndHideWindowDoNothingInSilentMode) {
    SetVariable("SETUPNAME", "Vexa 3D");
    line("ShowWindow");
    line("HideWindow");
    EXPECT_EQ((std::vector<std::string>{"showMainWindow(1, \"Vexa 3D\") = 0", "showMainWindow(0, null) = 0"}),
              recording::calls());
    SetUp();
    run.silentMode = 1;
    line("ShowWindow");
    line("HideWindow");
    EXPECT_TRUE(recording::calls().empty());
}

// A restart asked for during the run (a failed copy answered Yes) is asked of
// the system once the run ends, and only then.
TEST_F(CommandTest, TheSystemRestartsAtTheEndOnlyWhenAStepAskedForIt) {
    recording::addFile("C:\\setup\\setup.ini", "[Setup]\nAppendFile \"ran\" \"C:\\\\out.txt\"\n");
    ASSERT_EQ(0, runSetupScript());
    finishSetupScript();
    EXPECT_FALSE(recording::restartRequested());
    platFileClose(run.scriptFile);

    SetUp();
    recording::addFile("C:\\setup\\setup.ini",
                       "[Setup]\nset ERROR_COPY_MSG \"%s %s\"\nCopy \"missing.dll\"\nAppendFile \"ran\" \"C:\\\\out.txt\"\n");
    recording::answer("yes");  // restart at the end
    ASSERT_EQ(0, runSetupScript());
    EXPECT_FALSE(recording::restartRequested());  // not during the run
    EXPECT_EQ(1, run.rebootRequested);
    finishSetupScript();
    EXPECT_TRUE(recording::restartRequested());
    platFileClose(run.scriptFile);
    run.scriptFile = nullptr;
}
