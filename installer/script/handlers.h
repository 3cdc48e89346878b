// The command handlers: one thin adapter per command, turning its arguments
// into a service call and the service's result into the run's flags.
#pragma once
#include "commands.h"

// control flow and sections (flow.cpp)
void doGoto(CommandCall& c);
void doQuit(CommandCall& c);
void doQuiterr(CommandCall& c);
void doIf(CommandCall& c);
void doElse(CommandCall& c);
void doEndif(CommandCall& c);
void doReturn(CommandCall& c);
void doInclude(CommandCall& c);
void doParseFile(CommandCall& c);

// variables, texts, comparisons, boxes and small tests (texts.cpp)
void doSet(CommandCall& c);
void doGet(CommandCall& c);
void doStrcat(CommandCall& c);
void doStrcmp(CommandCall& c);
void doStricmp(CommandCall& c);
void doIsGreater(CommandCall& c);
void doIsLower(CommandCall& c);
void doMkStr(CommandCall& c);
void doClr(CommandCall& c);
void doMsgBoxOK(CommandCall& c);
void doMsgBoxOKCancel(CommandCall& c);
void doMsgBoxYESNO(CommandCall& c);
void doExist(CommandCall& c);
void doFindInFile(CommandCall& c);
void doGetVersion(CommandCall& c);
void doAppendFile(CommandCall& c);
void doGetTempFileName(CommandCall& c);
void doCD(CommandCall& c);
void doIsMini(CommandCall& c);
void doIsSilent(CommandCall& c);
void doIsSpace(CommandCall& c);
void doSetText(CommandCall& c);

// files and the runtime's configuration (files.cpp)
void doMkDir(CommandCall& c);
void doCopyA(CommandCall& c);
void doCopy(CommandCall& c);
void doCopyS(CommandCall& c);
void doCopyD(CommandCall& c);
void doMoveA(CommandCall& c);
void doMove(CommandCall& c);
void doMoveS(CommandCall& c);
void doMoveD(CommandCall& c);
void doCopyDir2Dest(CommandCall& c);
void doApplyOnFiles(CommandCall& c);
void doDelete(CommandCall& c);
void doDeltree(CommandCall& c);
void doDeleteAllFiles(CommandCall& c);
void doAddPartition(CommandCall& c);
void doImportOldVexa(CommandCall& c);
void doIsVexaUpdated(CommandCall& c);

// the system: variables, install state, the main window (system.cpp)
void doGetSystemVars(CommandCall& c);
void doInstallSuccess(CommandCall& c);
void doCleanRegistry(CommandCall& c);
void doSetUninstall(CommandCall& c);
void doDelUninstall(CommandCall& c);
void doDetectVEXA(CommandCall& c);
void doShowWindow(CommandCall& c);
void doHideWindow(CommandCall& c);

// the dialogs (dialogs.cpp)
void doIShowInstallDlg(CommandCall& c);
void doShowFile(CommandCall& c);
void doSetupType(CommandCall& c);
void doGetVexaSettings(CommandCall& c);
void doGetSMTPServer(CommandCall& c);

// shortcuts and program groups, programs, libraries, fonts, network (integration.cpp)
void doMkPgmGroup(CommandCall& c);
void doMkLink(CommandCall& c);
void doCreateSourceLink(CommandCall& c);
void doGetPgmGroup(CommandCall& c);
void doDelPgmGroup(CommandCall& c);
void doCreateDesktopLink(CommandCall& c);
void doDestroyDesktopLink(CommandCall& c);
void doCreateStartLink(CommandCall& c);
void doDestroyStartLink(CommandCall& c);
void doRegister(CommandCall& c);
void doUnregister(CommandCall& c);
void doCheckForDLL(CommandCall& c);
void doRegisterFont(CommandCall& c);
void doUnregisterFont(CommandCall& c);
void doRun(CommandCall& c);
void doRunWait(CommandCall& c);
void doDetectTCPIP(CommandCall& c);
void doIsVexaRunning(CommandCall& c);
