// The command table and the executor: control flow, variables, strings,
// comparisons, message boxes, mode tests and file tests.
#include "commands.h"
#include "format.h"
#include "parse.h"
#include "runner.h"
#include "runstate.h"
#include "store.h"
#include "text.h"
#include "../fileops/config.h"
#include "../fileops/fileops.h"
#include "../fileops/progress.h"
#include "../frame/messages.h"
#include "../frame/sysvars.h"
#include "../system/installstate.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

// ORDER COMMANDS: same order and codes as CommandCode.
const CommandRow commandTable[] = {
    {CmdMkDir, "MkDir", 1, true},
    {CmdCopyA, "CopyA", 2, true},
    {CmdCopy, "Copy", 1, true},
    {CmdCopyS, "CopyS", 2, true},
    {CmdCopyD, "CopyD", 2, true},
    {CmdMoveA, "MoveA", 2, true},
    {CmdMove, "Move", 1, true},
    {CmdMoveS, "MoveS", 2, true},
    {CmdMoveD, "MoveD", 2, true},
    {CmdRegister, "Register", 1, false},
    {CmdMkPgmGroup, "MkPgmGroup", 1, false},
    {CmdMkLink, "MkLink", 2, false},
    {CmdCopyDir2Dest, "CopyDir2Dest", 2, true},
    {CmdCreateSourceLink, "CreateSourceLink", 2, false},
    {CmdAddPartition, "AddPartition", 1, true},
    {CmdSet, "set", 2, true},
    {CmdGet, "get", 2, true},
    {CmdGoto, "goto", 1, true},
    {CmdQuit, "quit", 1, true},
    {CmdShowFile, "ShowFile", 1, false},
    {CmdGetSystemVars, "GetSystemVars", 0, true},
    {CmdIShowInstallDlg, "IShowInstallDlg", 0, false},
    {CmdIf, "If", 0, true},
    {CmdElse, "Else", 0, true},
    {CmdEndif, "Endif", 0, true},
    {CmdExist, "Exist", 1, true},
    {CmdApplyOnFiles, "ApplyOnFiles", 2, true},
    {CmdReturn, "Return", 0, true},
    {CmdMsgBoxOK, "MsgBoxOK", 2, true},
    {CmdMsgBoxOKCancel, "MsgBoxOKCancel", 2, true},
    {CmdDetectTCPIP, "DetectTCPIP", 0, false},
    {CmdStrcat, "Strcat", 2, true},
    {CmdStrcmp, "Strcmp", 2, true},
    {CmdRun, "Run", 2, false},
    {CmdDelete, "Delete", 1, true},
    {CmdUnregister, "Unregister", 1, false},
    {CmdDeltree, "Deltree", 1, true},
    {CmdGetPgmGroup, "GetPgmGroup", 1, false},
    {CmdDelPgmGroup, "DelPgmGroup", 1, false},
    {CmdSetUninstall, "SetUninstall", 2, true},
    {CmdRegisterFont, "RegisterFont", 1, false},
    {CmdUnregisterFont, "UnregisterFont", 1, false},
    {CmdFindInFile, "FindInFile", 2, true},
    {CmdParseFile, "ParseFile", 2, true},
    {CmdDetectVEXA, "DetectVEXA", 0, true},
    {CmdAppendFile, "AppendFile", 2, true},
    {CmdGetTempFileName, "GetTempFileName", 0, true},
    {CmdInclude, "Include", 1, true},
    {CmdDelUninstall, "DelUninstall", 0, true},
    {CmdSetupType, "SetupType", 0, false},
    {CmdClr, "Clr", 1, true},
    {CmdStricmp, "Stricmp", 2, true},
    {CmdMsgBoxYESNO, "MsgBoxYESNO", 2, true},
    {CmdRunWait, "RunWait", 2, false},
    {CmdCleanRegistry, "CleanRegistry", 0, true},
    {CmdShowWindow, "ShowWindow", 0, true},
    {CmdHideWindow, "HideWindow", 0, true},
    {CmdCD, "CD", 1, true},
    {CmdGetVexaSettings, "GetVexaSettings", 0, false},
    {CmdGetSMTPServer, "GetSMTPServer", 0, false},
    {CmdIsVexaUpdated, "IsVexaUpdated", 1, true},
    {CmdIsVexaRunning, "IsVexaRunning", 0, false},
    {CmdImportOldVexa, "ImportOldVexa", 2, true},
    {CmdDeleteAllFiles, "DeleteAllFiles", 1, true},
    {CmdCheckForDLL, "CheckForDLL", 1, false},
    {CmdIsMini, "IsMini", 0, true},
    {CmdSetText, "SetText", 1, true},
    {CmdQuiterr, "quiterr", 1, true},
    {CmdIsSilent, "IsSilent", 0, true},
    {CmdInstallSuccess, "InstallSuccess", 0, true},
    {CmdCreateDesktopLink, "CreateDesktopLink", 2, false},
    {CmdDestroyDesktopLink, "DestroyDesktopLink", 1, false},
    {CmdIsSpace, "IsSpace", 0, true},
    {CmdCreateStartLink, "CreateStartLink", 2, false},
    {CmdDestroyStartLink, "DestroyStartLink", 1, false},
    {CmdGetVersion, "GetVersion", 2, true},
    {CmdIsGreater, "IsGreater", 2, true},
    {CmdIsLower, "IsLower", 2, true},
    {CmdMkStr, "MkStr", 1, true},
};
const int commandCount = static_cast<int>(sizeof commandTable / sizeof commandTable[0]);
static_assert(sizeof commandTable / sizeof commandTable[0] == 79, "79 commands");

int findCommand(const char* word) {
    for (int i = 0; i < commandCount; i++)
        if (textEqualNoCase(commandTable[i].word, word)) return commandTable[i].code;
    return -1;
}

const CommandRow* commandRow(int code) {
    for (int i = 0; i < commandCount; i++)
        if (commandTable[i].code == code) return &commandTable[i];
    return nullptr;
}

namespace {

// A known command this version cannot carry out yet: say so and count it as a failure.
void commandNotBuilt(const char* word) {
    std::string text = std::string("The command ") + word +
                       " is not available in this version of setup; the installation is not complete.";
    scriptDiagnostic("command %s is not available in this version of setup", word);
    if (!run.silentMode) showFixedMessageBox(BoxOK, GetVariable("ERROR_TTL"), text.c_str());
    setFailure();
}

// Skips lines of the current script file up to a line whose first word is one
// of the two words. Returns the index of the word found, or -1 at the end of the file.
int SkipBlock(const char* word1, const char* word2) {
    char line[kLineBytes];
    while (readTextPiece(line, kLineBytes, run.scriptFile) > 0) {
        char* p = line;
        while (*p && isScriptBlank(*p)) p++;
        char* w = p;
        while (*p && !isScriptBlank(*p)) p++;
        *p = 0;
        if (textEqualNoCase(w, word1)) return 0;
        if (word2 && textEqualNoCase(w, word2)) return 1;
    }
    return -1;
}

void blockSyntaxError(const char* missing) {
    const char* args[1] = {missing};
    ShowErrorBox(GetVariable("ERROR_SYNTAX"), args, 1);
    scriptDiagnostic("If or Else without its %s", missing);
    run.condition = 0;
    setFailure();
    run.stopSection = 1;
}

void doIf() {
    if (run.condition) return;
    int found = SkipBlock("Else", "Endif");
    if (found == 0) run.condition = 1;
    else if (found == 1) run.condition = 2;
    else blockSyntaxError("else/endif");
}

void doElse() {
    if (SkipBlock("Endif", nullptr) == 0) run.condition = 1;
    else blockSyntaxError("endif");
}

void doQuit(PlatWindow progress, const char* text, const char* title, bool error) {
    if (!run.silentMode) ShowMessageBox(BoxOK, title, text, nullptr, 0);
    if (error) setFailure();
    if (run.rebootRequested) platRequestRestart();
    platProgressClose(progress);
    run.stopSection = 1;
    run.stopAll = 1;
}

void doInclude(PlatWindow progress, const char* file, const char* section) {
    FILE* f = file ? platOpenFile(file, "rb") : nullptr;
    if (!f) {
        run.condition = 0;
        scriptDiagnostic("Include: cannot open %s", file);
        return;
    }
    // the arguments may be variable values that the included section changes
    std::string fileName = file;
    FILE* savedFile = run.scriptFile;
    const char* savedName = run.scriptName;
    run.scriptFile = f;
    run.scriptName = fileName.c_str();
    RunSection(progress, section);
    std::fclose(f);
    run.scriptFile = savedFile;
    run.scriptName = savedName;
}

void doParseFile(const char* file, const char* sectionValue) {
    FILE* f = file ? platOpenFile(file, "rb") : nullptr;
    if (!f) {
        scriptDiagnostic("ParseFile: cannot open %s", file);
        return;
    }
    // each run of the section may change the variable that named it
    std::string sectionName = sectionValue ? sectionValue : "";
    const char* section = sectionValue ? sectionName.c_str() : nullptr;
    char line[kLineBytes];
    while (!run.stopAll && readTextPiece(line, kLineBytes, f) > 0) {
        size_t n = std::strlen(line);
        if (n && line[n - 1] == '\n') line[n - 1] = 0;
        const char* stripped = line;
        while (*stripped && isScriptBlank(*stripped)) stripped++;
        SetVariable("TempLine", line);
        SetVariable("TempStripped", stripped);
        RunSection(nullptr, section);
    }
    std::fclose(f);
}

void doFindInFile(const char* text, const char* file) {
    run.condition = 0;
    FILE* f = (text && file) ? platOpenFile(file, "rb") : nullptr;
    if (!f) return;
    size_t n = std::strlen(text);
    char line[kLineBytes];
    while (readTextPiece(line, kLineBytes, f) > 0) {
        const char* p = line;
        while (*p && isScriptBlank(*p)) p++;
        if (textPrefixNoCase(p, text, n)) {
            run.condition = 1;
            break;
        }
        platPumpMessages(1);
    }
    std::fclose(f);
}

void doGetVersion(const char* file, const char* key) {
    SetVariable("MAJMIN", "0000-0000");
    FILE* f = (file && key) ? platOpenFile(file, "rb") : nullptr;
    if (!f) return;
    char line[kLineBytes];
    char* tokens[kConfigTokens];
    int count = 0;
    bool found = false;
    while (readTextPiece(line, kLineBytes, f) > 0) {
        bool overflow = false;
        count = SplitConfigTokens(line, tokens, kConfigTokens, &overflow);
        if (count > 2 && textEqualNoCase(tokens[0], key)) {
            found = true;
            break;
        }
    }
    std::fclose(f);
    if (!found) return;
    size_t n = std::strlen(tokens[count - 1]);
    if (n && tokens[count - 1][n - 1] == '\n') tokens[count - 1][n - 1] = 0;
    // at most 25 parts of 4 characters (127 characters with the dashes)
    std::string result;
    for (int i = 1; i < count && i <= 25; i++) {
        std::string part(tokens[i], std::min<size_t>(std::strlen(tokens[i]), 4));
        if (part.size() < 4) part.insert(0, 4 - part.size(), '0');
        if (i > 1) result += '-';
        result += part;
    }
    if (count - 1 > 25) scriptDiagnostic("GetVersion: only the first 25 parts of %s are used", key);
    SetVariable("MAJMIN", result.c_str());
}

void doAppendFile(const char* text, const char* file) {
    if (!text || !file) {
        run.condition = 0;
        scriptDiagnostic("AppendFile: %s", !file ? "no file given" : "no text given");
        return;
    }
    FILE* f = platOpenFile(file, "a+");
    if (!f) {
        run.condition = 0;
        return;
    }
    std::fputs(text, f);
    std::fputs("\n", f);
    std::fclose(f);
    run.condition = 1;
}

void doGetTempFileName(const char* name) {
    const char* dir = GetVariable("DSTDIR");
    if (!*name || !dir) {
        scriptDiagnostic("GetTempFileName: %s", !*name ? "no variable named" : "DSTDIR is not set");
        return;
    }
    char path[1100];
    if (platCreateTempFile(dir, "temp", path, sizeof path) != 0) {
        scriptDiagnostic("GetTempFileName: cannot create a file in %s", dir);
        return;
    }
    SetVariable(name, path);
}

// Writes a variable named by a token, refusing an empty name.
void setNamed(const char* command, const char* name, const char* value) {
    if (!*name) {
        scriptDiagnostic("%s: no variable named", command);
        return;
    }
    if (!value) {
        scriptDiagnostic("set: no value for %s (undefined variable or missing argument)", name);
        return;
    }
    if (SetVariable(name, value) < 0) scriptDiagnostic("cannot store variable %s (store full)", name);
}

int compareCondition(const char* a, const char* b, int (*cmp)(const char*, const char*)) {
    if (!a || !b) return 0;
    return cmp(a, b);
}
int sameText(const char* a, const char* b) { return std::strcmp(a, b) == 0; }
int sameTextNoCase(const char* a, const char* b) { return textEqualNoCase(a, b); }
int sortsAfter(const char* a, const char* b) { return std::strcmp(a, b) > 0; }
int sortsBefore(const char* a, const char* b) { return std::strcmp(a, b) < 0; }

}  // namespace

int SplitConfigTokens(char* line, char** tokens, int maxTokens, bool* overflow) {
    int count = 0;
    *overflow = false;
    char* in = line;
    while (*in) {
        while (*in == ' ') in++;
        if (!*in) break;
        char* out = in;
        char* start = out;
        bool cut = false;  // a backslash-z ended the token's text
        while (*in && *in != ' ') {
            char c = *in++;
            if (c == '\\') {
                if (!*in) break;  // a final backslash ends the line
                char e = *in++;
                if (e >= '0' && e <= '9') {
                    int v = e - '0';
                    for (int k = 0; k < 2 && *in >= '0' && *in <= '9'; k++) v = v * 10 + (*in++ - '0');
                    c = static_cast<char>(v % 256);
                } else if (e == 'n') {
                    c = '\n';
                } else if (e == 'z') {
                    if (!cut) *out = 0;
                    cut = true;
                    continue;
                } else {
                    c = e;
                }
            }
            if (!cut) *out++ = c;
        }
        bool atEnd = !*in;
        if (!cut) *out = 0;
        if (!atEnd) in++;  // past the separating space (out never passes in)
        if (count < maxTokens) tokens[count++] = start;
        else *overflow = true;
        if (atEnd) break;
    }
    return count;
}

void ExecuteCommand(PlatWindow progress, const char* value1, const char* value2, const char* token1,
                    const char* token2, int code, bool bare1, bool bare2) {
    (void)token2;
    (void)bare1;
    (void)bare2;
    if (!token1) token1 = "";
    const CommandRow* row = commandRow(code);
    if (!row) return;
    if (!row->built) {
        commandNotBuilt(row->word);
        return;
    }
    switch (code) {
    case CmdSet:
        setNamed("set", token1, value2);
        if (std::strcmp(token1, "SETUPNAME") == 0 && !run.miniMode) platInvalidateMainWindow();
        break;
    case CmdGet:
        break;
    case CmdGoto:
        RunSection(progress, value1);
        break;
    case CmdQuit:
        doQuit(progress, value1, value2, false);
        break;
    case CmdQuiterr:
        doQuit(progress, value1, value2, true);
        break;
    case CmdGetSystemVars:
        GetSystemVars();
        break;
    case CmdIf:
        doIf();
        break;
    case CmdElse:
        doElse();
        break;
    case CmdEndif:
        break;
    case CmdExist:
        run.condition = value1 ? platPathMatches(value1) : 0;
        break;
    case CmdReturn:
        run.condition = 0;
        run.stopSection = 1;
        break;
    case CmdMsgBoxOK:
        if (!run.silentMode) run.condition = ShowMessageBox(BoxOK, value2, value1, nullptr, 0);
        break;
    case CmdMsgBoxOKCancel:
        if (!run.silentMode) run.condition = ShowMessageBox(BoxOKCancel, value2, value1, nullptr, 0) == ButtonOK;
        break;
    case CmdMsgBoxYESNO:
        if (!run.silentMode) run.condition = ShowMessageBox(BoxYesNo, value2, value1, nullptr, 0) == ButtonYes;
        break;
    case CmdStrcat: {
        std::string joined = std::string(value1 ? value1 : "") + (value2 ? value2 : "");
        setNamed("Strcat", token1, joined.c_str());
        break;
    }
    case CmdStrcmp:
        run.condition = compareCondition(value1, value2, sameText);
        break;
    case CmdStricmp:
        run.condition = compareCondition(value1, value2, sameTextNoCase);
        break;
    case CmdIsGreater:
        run.condition = compareCondition(value1, value2, sortsAfter);
        break;
    case CmdIsLower:
        run.condition = compareCondition(value1, value2, sortsBefore);
        break;
    case CmdFindInFile:
        doFindInFile(value1, value2);
        break;
    case CmdParseFile:
        doParseFile(value1, value2);
        break;
    case CmdAppendFile:
        doAppendFile(value1, value2);
        break;
    case CmdGetTempFileName:
        doGetTempFileName(token1);
        break;
    case CmdInclude:
        doInclude(progress, value1, value2);
        break;
    case CmdClr:
        ClearVariable(token1);
        break;
    case CmdShowWindow:
        if (!run.silentMode) platShowMainWindow(1, GetVariable("SETUPNAME"));
        break;
    case CmdHideWindow:
        if (!run.silentMode) platShowMainWindow(0, nullptr);
        break;
    case CmdCD:
        // the argument as written: a bare word is not looked up
        if (!*token1 || platSetCurrentDir(token1) != 0) scriptDiagnostic("CD: cannot change to \"%s\"", token1);
        break;
    case CmdIsMini:
        run.condition = run.miniMode ? 1 : 0;
        break;
    case CmdIsSilent:
        run.condition = run.silentMode ? 1 : 0;
        break;
    case CmdSetText:
        if (value1) {
            // the stored text is converted in place, as for every progress text
            SetProgressText(progress, const_cast<char*>(value1), nullptr, 0);
        }
        break;
    case CmdIsSpace:
        run.condition = 1;
        break;
    case CmdGetVersion:
        doGetVersion(value1, value2);
        break;
    case CmdMkStr: {
        SetVariable("QTSTR", "");
        if (value1) SetVariable("QTSTR", (std::string("\"") + value1 + "\"").c_str());
        break;
    }
    case CmdMkDir:
        runMkDir(progress, value1, value2);
        break;
    case CmdCopyA:
    case CmdCopy:
    case CmdCopyS:
    case CmdCopyD:
    case CmdMoveA:
    case CmdMove:
    case CmdMoveS:
    case CmdMoveD:
        runCopyOrMove(progress, code, value1, value2);
        break;
    case CmdCopyDir2Dest:
        runCopyDir2Dest(progress, value1);
        break;
    case CmdApplyOnFiles:
        runApplyOnFiles(progress, value1, value2);
        break;
    case CmdDelete:
        runDelete(value1, value2);
        break;
    case CmdDeltree:
        DeleteTree(value1, value2);
        break;
    case CmdDeleteAllFiles:
        DeleteFilesIn(value1, nullptr);
        break;
    case CmdAddPartition:
        AddPartition(value1);
        break;
    case CmdImportOldVexa:
        ImportOldVexa(value1, value2);
        break;
    case CmdIsVexaUpdated:
        run.condition = IsVexaUpdated(value1);
        break;
    case CmdInstallSuccess:
        InstallSuccess();
        break;
    case CmdCleanRegistry:
        CleanRegistry();
        break;
    case CmdSetUninstall:
        SetUninstall(value1, value2);
        break;
    case CmdDelUninstall:
        DelUninstall(value1);
        break;
    case CmdDetectVEXA:
        run.condition = DetectVEXA();
        break;
    default:
        commandNotBuilt(row->word);
        break;
    }
}
