// Shortcuts and program groups, programs, libraries, fonts and the network
// probes: arguments into service calls, results into the run's flags.
#include "handlers.h"
#include "runstate.h"
#include "store.h"
#include "../base/report.h"
#include "../system/network.h"
#include "../system/programs.h"
#include "../system/shortcuts.h"
#include <string>

namespace {
// A shortcut to baseVariable\A titled B; LINKARG serves one attempted shortcut.
void makeLink(CommandCall& c, LinkFolder folder, const char* baseVariable) {
    LinkRequest request;
    request.folder = folder;
    request.baseDir = GetVariable(baseVariable);
    request.file = c.value[0];
    request.title = c.value[1];
    request.workDir = GetVariable("DSTDIR");
    request.arguments = GetVariable("LINKARG");
    request.group = folder == LinkInProgramGroup ? GetVariable("PROGRAMGROUP") : nullptr;
    if (CreateLink(c.progress, request) != LinkNotAttempted) SetVariable("LINKARG", "");
}
}  // namespace

void doMkPgmGroup(CommandCall& c) { MkPgmGroup(c.progress, c.value[0]); }
void doMkLink(CommandCall& c) { makeLink(c, LinkInProgramGroup, "DSTDIR"); }
void doCreateSourceLink(CommandCall& c) { makeLink(c, LinkInProgramGroup, "SRCDIR"); }
void doCreateDesktopLink(CommandCall& c) { makeLink(c, LinkOnDesktop, "DSTDIR"); }
void doCreateStartLink(CommandCall& c) { makeLink(c, LinkAtStartup, "DSTDIR"); }
void doDestroyDesktopLink(CommandCall& c) { DestroyLink(LinkOnDesktop, c.value[0]); }
void doDestroyStartLink(CommandCall& c) { DestroyLink(LinkAtStartup, c.value[0]); }
void doDelPgmGroup(CommandCall& c) { DelPgmGroup(c.value[0]); }

void doGetPgmGroup(CommandCall& c) {
    if (!*c.token[0]) {
        reportDiagnostic("GetPgmGroup: no variable named; nothing set");
        return;
    }
    std::string path;
    if (GetPgmGroup(path) == 0) SetVariable(c.token[0], path.c_str());
}

void doRegister(CommandCall& c) {
    if (RegisterLibrary(c.progress, GetVariable("DSTDIR"), c.value[0]) != SelfRegistered) setFailure();
}

void doUnregister(CommandCall& c) {
    if (UnregisterLibrary(c.value[0], c.value[1]) != SelfRegistered) setFailure();
}

void doCheckForDLL(CommandCall& c) { run.condition = CheckForDLL(c.value[0]); }
void doRegisterFont(CommandCall& c) { RegisterFont(c.value[0]); }
void doUnregisterFont(CommandCall& c) { UnregisterFont(c.value[0]); }
void doRun(CommandCall& c) { RunProgram(c.value[0], c.value[1], GetVariable("DSTDIR")); }
void doRunWait(CommandCall& c) { run.condition = RunWait(c.value[0], c.value[1]); }
void doDetectTCPIP(CommandCall&) { run.condition = DetectTCPIP(); }
void doIsVexaRunning(CommandCall&) { run.condition = IsVexaRunning(); }
