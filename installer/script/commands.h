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

// What an argument is to its command.
enum ArgKind : unsigned char {
    ArgUnused,    // not read
    ArgValue,     // a value: quoted text, or the value of the variable written bare
    ArgMessage,   // a value shown as a message: a format that is given no text to fill
    ArgVariable,  // the name of a variable the command writes, written bare
    ArgWord,      // taken as written, never looked up as a variable
    ArgSection,   // the name of a section of the current script file
    ArgScript,    // a script file, one of whose sections runs
    ArgFile,      // a file the command reads
};

// A message key looked up by a command or by the section runner, and how its
// text is shown.
const int kShownAsWritten = -1;  // a title or a label: never used as a format
enum KeyUse : unsigned char {
    KeyNeeded,         // every script that uses the command should define it
    KeyOptional,       // a script may leave it undefined (SETUPTYPE1 to SETUPTYPE9)
    KeyOnScriptFault,  // shown only for a fault of the script itself (a missing section, an If without Endif)
};
struct MessageKey {
    const char* name;  // nullptr ends a list
    int args;          // the texts given to its %s conversions, or kShownAsWritten
    KeyUse use;
};

enum CommandTrait : unsigned {
    TraitCondition = 1u << 0,             // stores the condition flag
    TraitSilentKeepsCondition = 1u << 1,  // silent mode: shows nothing, and the condition stays as it was
    TraitRunsSection = 1u << 2,           // runs a section by name (which may store the condition)
};

// One command: everything the installer knows about it. setup runs the
// handler; setupcheck checks script lines against the rest.
struct CommandRow {
    int code;
    const char* word;
    int declaredArgs;          // documentation only: every line is parsed for two arguments
    CommandHandler handler;
    int leastArgs;             // arguments it needs to do its work
    ArgKind args[2];
    const MessageKey* keys;    // the message keys it shows
    const char* const* reads;  // variables it reads besides its arguments (nullptr ends the list)
    const char* const* sets;   // variables it writes besides one named by an argument
    unsigned traits;           // CommandTrait bits
};

extern const CommandRow commandTable[];
extern const int commandCount;  // 79

// The keys the section runner shows itself: ERROR_INI_SYNTAX for a line whose
// first word is no command, ERROR_INI_INC for a section that cannot be found,
// ERROR_TTL as their title.
extern const MessageKey runnerKeys[];

// Case-insensitive lookup of a command word; the code, or -1.
int findCommand(const char* word);
// The row of a code, or nullptr.
const CommandRow* commandRow(int code);

// Runs one command. Values and tokens are nullptr for none.
void ExecuteCommand(PlatWindow progress, const char* value1, const char* value2, const char* token1,
                    const char* token2, int code, bool bare1, bool bare2);
