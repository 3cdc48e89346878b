// The command table: the one place that says what each command is.
#pragma once
#include "../base/window.h"
#include <string>

// Command codes. ORDER COMMANDS: same order as commandTable; 13 and 27 are unused.
enum CommandCode {
    CmdMkDir = 0, CmdCopyA, CmdCopy, CmdCopyS, CmdCopyD, CmdMoveA, CmdMove, CmdMoveS, CmdMoveD,
    CmdRegister, CmdMkPgmGroup, CmdMkLink, CmdCopyDir2Dest,
    CmdCreateSourceLink = 14, CmdAddPartition, CmdSet, CmdGet, CmdGoto, CmdQuit, CmdShowFile,
    CmdGetSystemVars, CmdIShowInstallDlg, CmdIf, CmdElse, CmdEndif, CmdExist,
    CmdApplyOnFiles = 28, CmdReturn, CmdMsgBoxOK, CmdMsgBoxOKCancel, CmdDetectTCPIP, CmdStrcat,
    CmdStrcmp, CmdRun, CmdDelete, CmdUnregister, CmdDeltree, CmdGetPgmGroup, CmdDelPgmGroup,
    CmdSetUninstall, CmdRegisterFont, CmdUnregisterFont, CmdFindInFile, CmdParseFile,
    CmdDetectVEXA, CmdAppendFile, CmdGetTempFileName, CmdInclude, CmdDelUninstall, CmdSetupType,
    CmdClr, CmdStricmp, CmdMsgBoxYESNO, CmdRunWait, CmdCleanRegistry, CmdShowWindow,
    CmdHideWindow, CmdCD, CmdGetVexaSettings, CmdGetSMTPServer, CmdIsVexaUpdated,
    CmdIsVexaRunning, CmdImportOldVexa, CmdDeleteAllFiles, CmdCheckForDLL, CmdIsMini, CmdSetText,
    CmdQuiterr, CmdIsSilent, CmdInstallSuccess, CmdCreateDesktopLink, CmdDestroyDesktopLink,
    CmdIsSpace, CmdCreateStartLink, CmdDestroyStartLink, CmdGetVersion, CmdIsGreater, CmdIsLower,
    CmdMkStr
};

// One command line as the handler sees it. The values are copies taken before
// the handler runs, so a handler may write any variable, the one an argument
// named among them, without changing its arguments.
struct CommandCall {
    PlatWindow progress;      // the progress window of the running section
    const char* value[2];     // argument values, nullptr for none
    const char* token[2];     // arguments as written ("" when missing)
    bool bare[2];             // written as a bare word
    std::string copies[4];    // what value and token point into
};

typedef void (*CommandHandler)(CommandCall& call);

struct CommandRow {
    int code;
    const char* word;
    int declaredArgs;        // documentation only: every line is parsed for two arguments
    CommandHandler handler;
};

extern const CommandRow commandTable[];
extern const int commandCount;  // 79

// Case-insensitive lookup of a command word; the code, or -1.
int findCommand(const char* word);
// The row of a code, or nullptr.
const CommandRow* commandRow(int code);

// Runs one command. Values and tokens are nullptr for none.
void ExecuteCommand(PlatWindow progress, const char* value1, const char* value2, const char* token1,
                    const char* token2, int code, bool bare1, bool bare2);
