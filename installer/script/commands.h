// The command table and the command executor.
#pragma once
#include "../platform/platform.h"

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

struct CommandRow {
    int code;
    const char* word;
    int declaredArgs;  // documentation only: every line is parsed for two arguments
    bool built;        // false: the command is known but not available yet
};

extern const CommandRow commandTable[];
extern const int commandCount;  // 79

// Case-insensitive lookup of a command word; the code, or -1.
int findCommand(const char* word);
// The row of a code, or nullptr.
const CommandRow* commandRow(int code);

// Runs one command. Values and tokens are nullptr for none.
void ExecuteCommand(PlatWindow progress, const char* value1, const char* value2,
                    const char* token1, const char* token2, int code, bool bare1, bool bare2);

// Splits a configuration line in place into at most maxTokens tokens (spaces
// separate; backslash escapes). Returns the number of tokens; tokens beyond
// maxTokens are not stored and *overflow is set.
int SplitConfigTokens(char* line, char** tokens, int maxTokens, bool* overflow);
const int kConfigTokens = 128;
