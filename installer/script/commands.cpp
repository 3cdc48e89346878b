// The command table and the executor.
#include "commands.h"
#include "handlers.h"
#include "messages.h"
#include "runstate.h"
#include "store.h"
#include "../base/format.h"
#include "../base/report.h"
#include "../base/text.h"

// ORDER COMMANDS: same order and codes as CommandCode.
const CommandRow commandTable[] = {
    {CmdMkDir, "MkDir", 1, doMkDir},
    {CmdCopyA, "CopyA", 2, doCopyA},
    {CmdCopy, "Copy", 1, doCopy},
    {CmdCopyS, "CopyS", 2, doCopyS},
    {CmdCopyD, "CopyD", 2, doCopyD},
    {CmdMoveA, "MoveA", 2, doMoveA},
    {CmdMove, "Move", 1, doMove},
    {CmdMoveS, "MoveS", 2, doMoveS},
    {CmdMoveD, "MoveD", 2, doMoveD},
    {CmdRegister, "Register", 1, doRegister},
    {CmdMkPgmGroup, "MkPgmGroup", 1, doMkPgmGroup},
    {CmdMkLink, "MkLink", 2, doMkLink},
    {CmdCopyDir2Dest, "CopyDir2Dest", 2, doCopyDir2Dest},
    {CmdCreateSourceLink, "CreateSourceLink", 2, doCreateSourceLink},
    {CmdAddPartition, "AddPartition", 1, doAddPartition},
    {CmdSet, "set", 2, doSet},
    {CmdGet, "get", 2, doGet},
    {CmdGoto, "goto", 1, doGoto},
    {CmdQuit, "quit", 1, doQuit},
    {CmdShowFile, "ShowFile", 1, doShowFile},
    {CmdGetSystemVars, "GetSystemVars", 0, doGetSystemVars},
    {CmdIShowInstallDlg, "IShowInstallDlg", 0, doIShowInstallDlg},
    {CmdIf, "If", 0, doIf},
    {CmdElse, "Else", 0, doElse},
    {CmdEndif, "Endif", 0, doEndif},
    {CmdExist, "Exist", 1, doExist},
    {CmdApplyOnFiles, "ApplyOnFiles", 2, doApplyOnFiles},
    {CmdReturn, "Return", 0, doReturn},
    {CmdMsgBoxOK, "MsgBoxOK", 2, doMsgBoxOK},
    {CmdMsgBoxOKCancel, "MsgBoxOKCancel", 2, doMsgBoxOKCancel},
    {CmdDetectTCPIP, "DetectTCPIP", 0, doDetectTCPIP},
    {CmdStrcat, "Strcat", 2, doStrcat},
    {CmdStrcmp, "Strcmp", 2, doStrcmp},
    {CmdRun, "Run", 2, doRun},
    {CmdDelete, "Delete", 1, doDelete},
    {CmdUnregister, "Unregister", 1, doUnregister},
    {CmdDeltree, "Deltree", 1, doDeltree},
    {CmdGetPgmGroup, "GetPgmGroup", 1, doGetPgmGroup},
    {CmdDelPgmGroup, "DelPgmGroup", 1, doDelPgmGroup},
    {CmdSetUninstall, "SetUninstall", 2, doSetUninstall},
    {CmdRegisterFont, "RegisterFont", 1, doRegisterFont},
    {CmdUnregisterFont, "UnregisterFont", 1, doUnregisterFont},
    {CmdFindInFile, "FindInFile", 2, doFindInFile},
    {CmdParseFile, "ParseFile", 2, doParseFile},
    {CmdDetectVEXA, "DetectVEXA", 0, doDetectVEXA},
    {CmdAppendFile, "AppendFile", 2, doAppendFile},
    {CmdGetTempFileName, "GetTempFileName", 0, doGetTempFileName},
    {CmdInclude, "Include", 1, doInclude},
    {CmdDelUninstall, "DelUninstall", 0, doDelUninstall},
    {CmdSetupType, "SetupType", 0, doSetupType},
    {CmdClr, "Clr", 1, doClr},
    {CmdStricmp, "Stricmp", 2, doStricmp},
    {CmdMsgBoxYESNO, "MsgBoxYESNO", 2, doMsgBoxYESNO},
    {CmdRunWait, "RunWait", 2, doRunWait},
    {CmdCleanRegistry, "CleanRegistry", 0, doCleanRegistry},
    {CmdShowWindow, "ShowWindow", 0, doShowWindow},
    {CmdHideWindow, "HideWindow", 0, doHideWindow},
    {CmdCD, "CD", 1, doCD},
    {CmdGetVexaSettings, "GetVexaSettings", 0, doGetVexaSettings},
    {CmdGetSMTPServer, "GetSMTPServer", 0, doGetSMTPServer},
    {CmdIsVexaUpdated, "IsVexaUpdated", 1, doIsVexaUpdated},
    {CmdIsVexaRunning, "IsVexaRunning", 0, doIsVexaRunning},
    {CmdImportOldVexa, "ImportOldVexa", 2, doImportOldVexa},
    {CmdDeleteAllFiles, "DeleteAllFiles", 1, doDeleteAllFiles},
    {CmdCheckForDLL, "CheckForDLL", 1, doCheckForDLL},
    {CmdIsMini, "IsMini", 0, doIsMini},
    {CmdSetText, "SetText", 1, doSetText},
    {CmdQuiterr, "quiterr", 1, doQuiterr},
    {CmdIsSilent, "IsSilent", 0, doIsSilent},
    {CmdInstallSuccess, "InstallSuccess", 0, doInstallSuccess},
    {CmdCreateDesktopLink, "CreateDesktopLink", 2, doCreateDesktopLink},
    {CmdDestroyDesktopLink, "DestroyDesktopLink", 1, doDestroyDesktopLink},
    {CmdIsSpace, "IsSpace", 0, doIsSpace},
    {CmdCreateStartLink, "CreateStartLink", 2, doCreateStartLink},
    {CmdDestroyStartLink, "DestroyStartLink", 1, doDestroyStartLink},
    {CmdGetVersion, "GetVersion", 2, doGetVersion},
    {CmdIsGreater, "IsGreater", 2, doIsGreater},
    {CmdIsLower, "IsLower", 2, doIsLower},
    {CmdMkStr, "MkStr", 1, doMkStr},
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
// Keeps a copy of an argument in the call; nullptr stays nullptr.
const char* keep(CommandCall& call, int slot, const char* text) {
    if (!text) return nullptr;
    call.copies[slot] = text;
    return call.copies[slot].c_str();
}
}  // namespace

void ExecuteCommand(PlatWindow progress, const char* value1, const char* value2, const char* token1,
                    const char* token2, int code, bool bare1, bool bare2) {
    const CommandRow* row = commandRow(code);
    if (!row || !row->handler) return;  // every row has its handler (the table test says so)
    // every argument is read before any result is written
    CommandCall call;
    call.progress = progress;
    call.value[0] = keep(call, 0, value1);
    call.value[1] = keep(call, 1, value2);
    call.token[0] = keep(call, 2, token1 ? token1 : "");
    call.token[1] = keep(call, 3, token2 ? token2 : "");
    call.bare[0] = bare1;
    call.bare[1] = bare2;
    row->handler(call);
}
