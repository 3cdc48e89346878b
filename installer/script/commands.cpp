// The command table and the executor.
#include "commands.h"
#include "handlers.h"
#include "messages.h"
#include "runstate.h"
#include "store.h"
#include "../base/format.h"
#include "../base/report.h"
#include "../base/text.h"

namespace {
// Message keys, by the commands that show them. A copy or a move shows its
// progress, asks its Yes/No question when it fails, and refuses a path longer
// than 259 characters in a box titled ERROR_TTL.
const MessageKey kNoKeys[] = {{}};
const MessageKey kMkDirKeys[] = {{"CREATING_DIR_MSG", 1, KeyNeeded},
                                 {"ERROR_COPY_TTL", kShownAsWritten, KeyNeeded},
                                 {"ERROR_CRDIR_MSG", 1, KeyNeeded},
                                 {"ERROR_TTL", kShownAsWritten, KeyNeeded},
                                 {}};
const MessageKey kCopyKeys[] = {{"COPY_MSG", 1, KeyNeeded},
                                {"ERROR_COPY_TTL", kShownAsWritten, KeyNeeded},
                                {"ERROR_COPY_MSG", 2, KeyNeeded},
                                {"ERROR_TTL", kShownAsWritten, KeyNeeded},
                                {}};
const MessageKey kMoveKeys[] = {{"MOVE_MSG", 1, KeyNeeded},
                                {"ERROR_MOVE_TTL", kShownAsWritten, KeyNeeded},
                                {"ERROR_MOVE_MSG", 2, KeyNeeded},
                                {"ERROR_TTL", kShownAsWritten, KeyNeeded},
                                {}};
const MessageKey kImportKeys[] = {{"ERROR_COPY_TTL", kShownAsWritten, KeyNeeded},
                                  {"ERROR_COPY_MSG", 2, KeyNeeded},
                                  {"ERROR_TTL", kShownAsWritten, KeyNeeded},
                                  {}};
const MessageKey kRegisterKeys[] = {{"REGISTERING_MSG", 1, KeyNeeded},
                                    {"ERROR_LOAD_DLL", 1, KeyNeeded},
                                    {"ERROR_REG_DLL", 1, KeyNeeded},
                                    {"ERROR_TTL", kShownAsWritten, KeyNeeded},
                                    {}};
const MessageKey kUnregisterKeys[] = {{"ERROR_LOAD_DLL", 1, KeyNeeded},
                                      {"ERROR_UREG_DLL", 1, KeyNeeded},
                                      {"ERROR_TTL", kShownAsWritten, KeyNeeded},
                                      {}};
const MessageKey kGroupKeys[] = {{"CREATEPGMGROUP_MSG", 1, KeyNeeded}, {}};
const MessageKey kLinkKeys[] = {{"CREATELINK_MSG", 1, KeyNeeded}, {}};
const MessageKey kPartitionKeys[] = {{"ERROR_OPEN_TTL", kShownAsWritten, KeyNeeded},
                                     {"ERROR_OPEN_MSG", 1, KeyNeeded},
                                     {}};
// a section that cannot be found
const MessageKey kSectionKeys[] = {{"ERROR_INI_INC", 0, KeyOnScriptFault},
                                   {"ERROR_TTL", kShownAsWritten, KeyOnScriptFault},
                                   {}};
const MessageKey kSearchKeys[] = {{"SEARCHING_FILES_MSG", 1, KeyNeeded},
                                  {"ERROR_INI_INC", 0, KeyOnScriptFault},
                                  {"ERROR_TTL", kShownAsWritten, KeyOnScriptFault},
                                  {}};
// an If or Else whose end is missing
const MessageKey kBlockKeys[] = {{"ERROR_SYNTAX", 1, KeyOnScriptFault},
                                 {"ERROR_TTL", kShownAsWritten, KeyOnScriptFault},
                                 {}};
const MessageKey kLicenceKeys[] = {{"LICENCE_TTL", kShownAsWritten, KeyNeeded},
                                   {"LICENCEOK_BTN", 0, KeyNeeded},
                                   {"LICENCECANCEL_BTN", 0, KeyNeeded},
                                   {}};
// the chooser's texts are set as progress texts are: formats given nothing
const MessageKey kIntroKeys[] = {{"APP_TITTLE", kShownAsWritten, KeyNeeded},
                                 {"INTRO_TTL", kShownAsWritten, KeyNeeded},
                                 {"INTRO", kShownAsWritten, KeyNeeded},
                                 {"INTROOK_BTN", kShownAsWritten, KeyNeeded},
                                 {"INTROCANCEL_BTN", kShownAsWritten, KeyNeeded},
                                 {"INTROCHDIR_BTN", kShownAsWritten, KeyNeeded},
                                 {"STATICINSTALLDIR", kShownAsWritten, KeyNeeded},
                                 {"NEWDIR_TTL", 0, KeyNeeded},
                                 {"NEWDIR_BTN", 0, KeyNeeded},
                                 {"ERROR_DIALOG_MSG", 0, KeyNeeded},
                                 {"ERROR_TTL", kShownAsWritten, KeyNeeded},
                                 {}};
// the list of setup types is numbered from SETUPTYPE0 without a gap
const MessageKey kSetupTypeKeys[] = {{"SETUPTYPE0", kShownAsWritten, KeyNeeded},
                                     {"SETUPTYPE1", kShownAsWritten, KeyOptional},
                                     {"SETUPTYPE2", kShownAsWritten, KeyOptional},
                                     {"SETUPTYPE3", kShownAsWritten, KeyOptional},
                                     {"SETUPTYPE4", kShownAsWritten, KeyOptional},
                                     {"SETUPTYPE5", kShownAsWritten, KeyOptional},
                                     {"SETUPTYPE6", kShownAsWritten, KeyOptional},
                                     {"SETUPTYPE7", kShownAsWritten, KeyOptional},
                                     {"SETUPTYPE8", kShownAsWritten, KeyOptional},
                                     {"SETUPTYPE9", kShownAsWritten, KeyOptional},
                                     {"ABORT_MSG", 0, KeyNeeded},
                                     {"SETUPNAME", kShownAsWritten, KeyNeeded},
                                     {}};
const MessageKey kSettingsKeys[] = {{"VEXASETTING_TTL", kShownAsWritten, KeyNeeded},
                                    {"STATICNICK", kShownAsWritten, KeyNeeded},
                                    {"STATICEMAIL", kShownAsWritten, KeyNeeded},
                                    {"STATICINFOCHECK", kShownAsWritten, KeyNeeded},
                                    {"ERROR_OPEN_TTL", kShownAsWritten, KeyNeeded},
                                    {"ERROR_OPEN_MSG", 1, KeyNeeded},
                                    {"ABORT_MSG", 0, KeyNeeded},
                                    {"SETUPNAME", kShownAsWritten, KeyNeeded},
                                    {}};

// Variables read besides the arguments, and written besides a named one.
const char* const kNone[] = {nullptr};
const char* const kSrc[] = {"SRCDIR", nullptr};
const char* const kDst[] = {"DSTDIR", nullptr};
const char* const kSrcDst[] = {"SRCDIR", "DSTDIR", nullptr};
const char* const kGroupLink[] = {"DSTDIR", "LINKARG", "PROGRAMGROUP", nullptr};
const char* const kSourceLink[] = {"SRCDIR", "DSTDIR", "LINKARG", "PROGRAMGROUP", nullptr};
const char* const kLink[] = {"DSTDIR", "LINKARG", nullptr};
const char* const kLinkSets[] = {"LINKARG", nullptr};
const char* const kSetupName[] = {"SETUPNAME", nullptr};
const char* const kAppVersion[] = {"APP_VERSION", nullptr};
const char* const kSystemVars[] = {"SYSDIR",      "WINDIR",       "SRCDIR",          "DSTDIR",       "PROGRAMFILES",
                                   "WINDOWSTEMP", "NETSCAPEPATH", "NETSCAPEDEFAULT", "languagefile", nullptr};
const char* const kParseSets[] = {"TempLine", "TempStripped", nullptr};
const char* const kVexaPath[] = {"VEXApath", nullptr};
const char* const kSetupTypeSets[] = {"SETUPTYPE", nullptr};
const char* const kServer[] = {"STMPServer", nullptr};
const char* const kMajmin[] = {"MAJMIN", nullptr};
const char* const kQtstr[] = {"QTSTR", nullptr};

// short names for the table: X marks an argument that is not read
const ArgKind V = ArgValue, M = ArgMessage, N = ArgVariable, W = ArgWord, S = ArgSection, F = ArgFile,
              X = ArgUnused;
const unsigned C = TraitCondition, CS = TraitCondition | TraitSilentKeepsCondition, R = TraitRunsSection;
}  // namespace

const MessageKey runnerKeys[] = {{"ERROR_TTL", kShownAsWritten, KeyOnScriptFault},
                                 {"ERROR_INI_SYNTAX", 1, KeyOnScriptFault},
                                 {"ERROR_INI_INC", 0, KeyOnScriptFault},
                                 {}};

// ORDER COMMANDS: same order and codes as CommandCode.
// {code, word, declared, handler, least arguments, arguments, keys, reads, sets, traits}
const CommandRow commandTable[] = {
    {CmdMkDir, "MkDir", 1, doMkDir, 1, {V, V}, kMkDirKeys, kNone, kNone, 0},
    {CmdCopyA, "CopyA", 2, doCopyA, 2, {V, V}, kCopyKeys, kNone, kNone, 0},
    {CmdCopy, "Copy", 1, doCopy, 1, {V, V}, kCopyKeys, kSrcDst, kNone, 0},
    {CmdCopyS, "CopyS", 2, doCopyS, 2, {V, V}, kCopyKeys, kSrc, kNone, 0},
    {CmdCopyD, "CopyD", 2, doCopyD, 2, {V, V}, kCopyKeys, kDst, kNone, 0},
    {CmdMoveA, "MoveA", 2, doMoveA, 2, {V, V}, kMoveKeys, kNone, kNone, 0},
    {CmdMove, "Move", 1, doMove, 1, {V, V}, kMoveKeys, kSrcDst, kNone, 0},
    {CmdMoveS, "MoveS", 2, doMoveS, 2, {V, V}, kMoveKeys, kSrc, kNone, 0},
    {CmdMoveD, "MoveD", 2, doMoveD, 2, {V, V}, kMoveKeys, kDst, kNone, 0},
    {CmdRegister, "Register", 1, doRegister, 1, {V, X}, kRegisterKeys, kDst, kNone, 0},
    {CmdMkPgmGroup, "MkPgmGroup", 1, doMkPgmGroup, 1, {V, X}, kGroupKeys, kNone, kNone, 0},
    {CmdMkLink, "MkLink", 2, doMkLink, 2, {V, V}, kLinkKeys, kGroupLink, kLinkSets, 0},
    {CmdCopyDir2Dest, "CopyDir2Dest", 2, doCopyDir2Dest, 1, {V, X}, kCopyKeys, kSrcDst, kNone, 0},
    {CmdCreateSourceLink, "CreateSourceLink", 2, doCreateSourceLink, 2, {V, V}, kLinkKeys, kSourceLink, kLinkSets, 0},
    {CmdAddPartition, "AddPartition", 1, doAddPartition, 1, {V, X}, kPartitionKeys, kDst, kNone, 0},
    {CmdSet, "set", 2, doSet, 2, {N, V}, kNoKeys, kNone, kNone, 0},
    {CmdGet, "get", 2, doGet, 0, {X, X}, kNoKeys, kNone, kNone, 0},
    {CmdGoto, "goto", 1, doGoto, 1, {S, X}, kSectionKeys, kNone, kNone, R},
    {CmdQuit, "quit", 1, doQuit, 1, {M, V}, kNoKeys, kNone, kNone, 0},
    {CmdShowFile, "ShowFile", 1, doShowFile, 1, {F, X}, kLicenceKeys, kNone, kNone, C},
    {CmdGetSystemVars, "GetSystemVars", 0, doGetSystemVars, 0, {X, X}, kNoKeys, kNone, kSystemVars, 0},
    {CmdIShowInstallDlg, "IShowInstallDlg", 0, doIShowInstallDlg, 0, {X, X}, kIntroKeys, kDst, kDst, C},
    {CmdIf, "If", 0, doIf, 0, {X, X}, kBlockKeys, kNone, kNone, C},
    {CmdElse, "Else", 0, doElse, 0, {X, X}, kBlockKeys, kNone, kNone, C},
    {CmdEndif, "Endif", 0, doEndif, 0, {X, X}, kNoKeys, kNone, kNone, 0},
    {CmdExist, "Exist", 1, doExist, 1, {V, X}, kNoKeys, kNone, kNone, C},
    {CmdApplyOnFiles, "ApplyOnFiles", 2, doApplyOnFiles, 2, {V, S}, kSearchKeys, kNone, kDst, C | R},
    {CmdReturn, "Return", 0, doReturn, 0, {X, X}, kNoKeys, kNone, kNone, C},
    {CmdMsgBoxOK, "MsgBoxOK", 2, doMsgBoxOK, 1, {M, V}, kNoKeys, kNone, kNone, CS},
    {CmdMsgBoxOKCancel, "MsgBoxOKCancel", 2, doMsgBoxOKCancel, 1, {M, V}, kNoKeys, kNone, kNone, CS},
    {CmdDetectTCPIP, "DetectTCPIP", 0, doDetectTCPIP, 0, {X, X}, kNoKeys, kNone, kNone, C},
    {CmdStrcat, "Strcat", 2, doStrcat, 2, {N, V}, kNoKeys, kNone, kNone, 0},
    {CmdStrcmp, "Strcmp", 2, doStrcmp, 2, {V, V}, kNoKeys, kNone, kNone, C},
    {CmdRun, "Run", 2, doRun, 1, {V, V}, kNoKeys, kDst, kNone, 0},
    {CmdDelete, "Delete", 1, doDelete, 1, {V, V}, kNoKeys, kNone, kNone, 0},
    {CmdUnregister, "Unregister", 1, doUnregister, 1, {V, V}, kUnregisterKeys, kNone, kNone, 0},
    {CmdDeltree, "Deltree", 1, doDeltree, 1, {V, V}, kNoKeys, kNone, kNone, 0},
    {CmdGetPgmGroup, "GetPgmGroup", 1, doGetPgmGroup, 1, {N, X}, kNoKeys, kNone, kNone, 0},
    {CmdDelPgmGroup, "DelPgmGroup", 1, doDelPgmGroup, 1, {V, X}, kNoKeys, kNone, kNone, 0},
    {CmdSetUninstall, "SetUninstall", 2, doSetUninstall, 2, {V, V}, kNoKeys, kNone, kNone, 0},
    {CmdRegisterFont, "RegisterFont", 1, doRegisterFont, 1, {V, X}, kNoKeys, kNone, kNone, 0},
    {CmdUnregisterFont, "UnregisterFont", 1, doUnregisterFont, 1, {V, X}, kNoKeys, kNone, kNone, 0},
    {CmdFindInFile, "FindInFile", 2, doFindInFile, 2, {V, F}, kNoKeys, kNone, kNone, C},
    {CmdParseFile, "ParseFile", 2, doParseFile, 2, {F, S}, kSectionKeys, kNone, kParseSets, R},
    {CmdDetectVEXA, "DetectVEXA", 0, doDetectVEXA, 0, {X, X}, kNoKeys, kNone, kVexaPath, C},
    {CmdAppendFile, "AppendFile", 2, doAppendFile, 2, {V, V}, kNoKeys, kNone, kNone, C},
    {CmdGetTempFileName, "GetTempFileName", 0, doGetTempFileName, 1, {N, X}, kNoKeys, kDst, kNone, 0},
    {CmdInclude, "Include", 1, doInclude, 2, {ArgScript, S}, kSectionKeys, kNone, kNone, C | R},
    {CmdDelUninstall, "DelUninstall", 0, doDelUninstall, 1, {V, X}, kNoKeys, kNone, kNone, 0},
    {CmdSetupType, "SetupType", 0, doSetupType, 0, {X, X}, kSetupTypeKeys, kNone, kSetupTypeSets, C},
    {CmdClr, "Clr", 1, doClr, 1, {N, X}, kNoKeys, kNone, kNone, 0},
    {CmdStricmp, "Stricmp", 2, doStricmp, 2, {V, V}, kNoKeys, kNone, kNone, C},
    {CmdMsgBoxYESNO, "MsgBoxYESNO", 2, doMsgBoxYESNO, 1, {M, V}, kNoKeys, kNone, kNone, CS},
    {CmdRunWait, "RunWait", 2, doRunWait, 1, {V, V}, kNoKeys, kNone, kNone, C},
    {CmdCleanRegistry, "CleanRegistry", 0, doCleanRegistry, 0, {X, X}, kNoKeys, kNone, kNone, 0},
    {CmdShowWindow, "ShowWindow", 0, doShowWindow, 0, {X, X}, kNoKeys, kSetupName, kNone, 0},
    {CmdHideWindow, "HideWindow", 0, doHideWindow, 0, {X, X}, kNoKeys, kNone, kNone, 0},
    {CmdCD, "CD", 1, doCD, 1, {W, X}, kNoKeys, kNone, kNone, 0},
    {CmdGetVexaSettings, "GetVexaSettings", 0, doGetVexaSettings, 0, {X, X}, kSettingsKeys, kDst, kNone, C},
    {CmdGetSMTPServer, "GetSMTPServer", 0, doGetSMTPServer, 0, {X, X}, kNoKeys, kNone, kServer, C},
    {CmdIsVexaUpdated, "IsVexaUpdated", 1, doIsVexaUpdated, 1, {V, X}, kNoKeys, kDst, kNone, C},
    {CmdIsVexaRunning, "IsVexaRunning", 0, doIsVexaRunning, 0, {X, X}, kNoKeys, kNone, kNone, C},
    {CmdImportOldVexa, "ImportOldVexa", 2, doImportOldVexa, 2, {V, V}, kImportKeys, kSrcDst, kNone, 0},
    {CmdDeleteAllFiles, "DeleteAllFiles", 1, doDeleteAllFiles, 1, {V, X}, kNoKeys, kNone, kNone, 0},
    {CmdCheckForDLL, "CheckForDLL", 1, doCheckForDLL, 1, {V, X}, kNoKeys, kNone, kNone, C},
    {CmdIsMini, "IsMini", 0, doIsMini, 0, {X, X}, kNoKeys, kNone, kNone, C},
    {CmdSetText, "SetText", 1, doSetText, 1, {M, X}, kNoKeys, kNone, kNone, 0},
    {CmdQuiterr, "quiterr", 1, doQuiterr, 1, {M, V}, kNoKeys, kNone, kNone, 0},
    {CmdIsSilent, "IsSilent", 0, doIsSilent, 0, {X, X}, kNoKeys, kNone, kNone, C},
    {CmdInstallSuccess, "InstallSuccess", 0, doInstallSuccess, 0, {X, X}, kNoKeys, kAppVersion, kNone, 0},
    {CmdCreateDesktopLink, "CreateDesktopLink", 2, doCreateDesktopLink, 2, {V, V}, kLinkKeys, kLink, kLinkSets, 0},
    {CmdDestroyDesktopLink, "DestroyDesktopLink", 1, doDestroyDesktopLink, 1, {V, X}, kNoKeys, kNone, kNone, 0},
    {CmdIsSpace, "IsSpace", 0, doIsSpace, 0, {X, X}, kNoKeys, kNone, kNone, C},
    {CmdCreateStartLink, "CreateStartLink", 2, doCreateStartLink, 2, {V, V}, kLinkKeys, kLink, kLinkSets, 0},
    {CmdDestroyStartLink, "DestroyStartLink", 1, doDestroyStartLink, 1, {V, X}, kNoKeys, kNone, kNone, 0},
    {CmdGetVersion, "GetVersion", 2, doGetVersion, 2, {F, V}, kNoKeys, kNone, kMajmin, 0},
    {CmdIsGreater, "IsGreater", 2, doIsGreater, 2, {V, V}, kNoKeys, kNone, kNone, C},
    {CmdIsLower, "IsLower", 2, doIsLower, 2, {V, V}, kNoKeys, kNone, kNone, C},
    {CmdMkStr, "MkStr", 1, doMkStr, 1, {V, X}, kNoKeys, kNone, kQtstr, 0},
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
