// System directories, the default destination, browser facts and the message file.
#include "sysvars.h"
#include "messages.h"
#include "../platform/platform.h"
#include "../script/store.h"
#include "../script/text.h"
#include <cstring>
#include <string>

namespace {
const int kPathChars = 261;

// The Netscape install directory, kept only when its program file is there.
void detectNetscapePath() {
    SetVariable("NETSCAPEPATH", "");
    char dir[512];
    if (platRegGetString(RegCurrentUser, "Software\\Netscape\\Netscape Navigator\\Main", "Install Directory", dir,
                         sizeof dir) != 0)
        return;
    size_t n = std::strlen(dir);
    if (n && dir[n - 1] == '\\') dir[--n] = 0;
    SetVariable("NETSCAPEPATH", dir);
    std::string program = dir;
    if (n > 7 && textEqualNoCase(dir + n - 7, "program")) program += "\\netscape.exe";
    else if (n > 7) program += "\\Program\\netscape.exe";
    if (!platFileNonEmpty(program.c_str())) SetVariable("NETSCAPEPATH", "");
}

// "YES" when the open command of the .htm class names Netscape.
void detectNetscapeDefault() {
    SetVariable("NETSCAPEDEFAULT", "");
    char docClass[1024];
    if (platRegGetString(RegClassesRoot, ".htm", nullptr, docClass, sizeof docClass) != 0) return;
    std::string key = std::string(docClass) + "\\shell\\open\\command";
    char command[1024];
    if (platRegGetString(RegClassesRoot, key.c_str(), nullptr, command, sizeof command) != 0 || !command[0]) return;
    if (textContainsNoCase(command, "netscape")) SetVariable("NETSCAPEDEFAULT", "YES");
}
}  // namespace

void GetSystemVars() {
    char sysDir[kPathChars], winDir[kPathChars], curDir[kPathChars], tempDir[kPathChars];
    platSystemDir(sysDir, sizeof sysDir);
    platWindowsDir(winDir, sizeof winDir);
    // a working directory longer than a Windows path leaves SRCDIR as it was
    bool haveCurDir = platGetCurrentDir(curDir, sizeof curDir) == 0;
    if (!haveCurDir) {
        curDir[0] = 0;
        platDiagnostic("setup: GetSystemVars: the working directory is longer than 260 characters; SRCDIR is not set");
    }
    size_t n = std::strlen(curDir);
    if (n && curDir[n - 1] == '\\') curDir[n - 1] = 0;

    // program files: ProgramFilesDir, else ProgramFilesPath; neither leaves both variables as they are
    char programFiles[1024] = "";
    const char* versionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    bool havePrograms =
        platRegGetString(RegLocalMachine, versionKey, "ProgramFilesDir", programFiles, sizeof programFiles) == 0 ||
        platRegGetString(RegLocalMachine, versionKey, "ProgramFilesPath", programFiles, sizeof programFiles) == 0;
    std::string programs = std::string(programFiles) + "\\";

    SetVariable("SYSDIR", sysDir);
    SetVariable("WINDIR", winDir);
    if (haveCurDir) SetVariable("SRCDIR", curDir);
    if (havePrograms) {
        SetVariable("DSTDIR", (programs + "VEXA\\").c_str());
        SetVariable("PROGRAMFILES", programs.c_str());
    }
    platTempDir(tempDir, sizeof tempDir);
    SetVariable("WINDOWSTEMP", tempDir);
    detectNetscapePath();
    detectNetscapeDefault();
    chooseLanguageFile(platUserLanguage());
}
