// System directories, the default destination, browser facts and the message file.
#include "sysvars.h"
#include "../base/language.h"
#include "../base/report.h"
#include "../base/text.h"
#include "../platform/files.h"
#include "../platform/registry.h"
#include "../platform/system.h"
#include <cstring>

namespace {
const int kPathChars = 261;

// The Netscape install directory, kept only when its program file is there.
std::string netscapePath() {
    char dir[512];
    if (platRegGetString(RegCurrentUser, "Software\\Netscape\\Netscape Navigator\\Main", "Install Directory", dir,
                         sizeof dir) != 0)
        return "";
    size_t n = std::strlen(dir);
    if (n && dir[n - 1] == '\\') dir[--n] = 0;
    std::string program = dir;
    if (n > 7 && textEqualNoCase(dir + n - 7, "program")) program += "\\netscape.exe";
    else if (n > 7) program += "\\Program\\netscape.exe";
    return platFileNonEmpty(program.c_str()) ? dir : "";
}

// "YES" when the open command of the .htm class names Netscape.
std::string netscapeDefault() {
    char docClass[1024];
    if (platRegGetString(RegClassesRoot, ".htm", nullptr, docClass, sizeof docClass) != 0) return "";
    std::string key = std::string(docClass) + "\\shell\\open\\command";
    char command[1024];
    if (platRegGetString(RegClassesRoot, key.c_str(), nullptr, command, sizeof command) != 0 || !command[0]) return "";
    return textContainsNoCase(command, "netscape") ? "YES" : "";
}
}  // namespace

std::string messageFileFor(int languageCode) {
    std::string name = std::string("setup.") + LanguageName(languageCode) + ".txt";
    return platFileReadable(name.c_str()) ? name : "setup.English.txt";
}

SystemVars readSystemVars() {
    SystemVars vars;
    char sysDir[kPathChars], winDir[kPathChars], curDir[kPathChars], tempDir[kPathChars];
    platSystemDir(sysDir, sizeof sysDir);
    platWindowsDir(winDir, sizeof winDir);
    // a working directory longer than a Windows path leaves SRCDIR as it was
    bool haveCurDir = platGetCurrentDir(curDir, sizeof curDir) == 0;
    if (!haveCurDir) {
        curDir[0] = 0;
        reportDiagnostic("GetSystemVars: the working directory is longer than 260 characters; SRCDIR is not set");
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

    vars.values.push_back({"SYSDIR", sysDir});
    vars.values.push_back({"WINDIR", winDir});
    if (haveCurDir) vars.values.push_back({"SRCDIR", curDir});
    if (havePrograms) {
        vars.values.push_back({"DSTDIR", programs + "VEXA\\"});
        vars.values.push_back({"PROGRAMFILES", programs});
    }
    platTempDir(tempDir, sizeof tempDir);
    vars.values.push_back({"WINDOWSTEMP", tempDir});
    vars.values.push_back({"NETSCAPEPATH", netscapePath()});
    vars.values.push_back({"NETSCAPEDEFAULT", netscapeDefault()});
    vars.languageCode = languageCodeFor(platUserLanguage());
    vars.values.push_back({"languagefile", messageFileFor(vars.languageCode)});
    return vars;
}
