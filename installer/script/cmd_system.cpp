// System variables, install state and the main window.
#include "handlers.h"
#include "runstate.h"
#include "store.h"
#include "../platform/ui.h"
#include "../system/installstate.h"
#include "../system/sysvars.h"
#include <string>

void doGetSystemVars(CommandCall&) {
    SystemVars vars = readSystemVars();
    for (const auto& v : vars.values) SetVariable(v.first.c_str(), v.second.c_str());
    run.languageCode = static_cast<uint16_t>(vars.languageCode);
}

// Registry writes are not reported to the script; one that fails still makes
// the run end as failed.
void doInstallSuccess(CommandCall&) {
    if (InstallSuccess(GetVariable("APP_VERSION")) != 0) noteFailure();
}
void doCleanRegistry(CommandCall&) {
    if (CleanRegistry() != 0) noteFailure();
}
void doSetUninstall(CommandCall& c) {
    if (SetUninstall(c.value[0], c.value[1]) != 0) noteFailure();
}
void doDelUninstall(CommandCall& c) { DelUninstall(c.value[0]); }

void doDetectVEXA(CommandCall&) {
    std::string path;
    run.condition = DetectVEXA(run.failure != 0, path);
    SetVariable("VEXApath", path.c_str());
}

void doShowWindow(CommandCall&) {
    if (!run.silentMode) platShowMainWindow(1, GetVariable("SETUPNAME"));
}

void doHideWindow(CommandCall&) {
    if (!run.silentMode) platShowMainWindow(0, nullptr);
}
