// Start-up and the one run of the script.
#include "startup.h"
#include "../base/report.h"
#include "../base/text.h"
#include "../platform/files.h"
#include "../platform/system.h"
#include "../platform/ui.h"
#include "../script/messages.h"
#include "../script/runner.h"
#include "../script/runstate.h"
#include "../script/store.h"
#include "../system/installstate.h"

void applyCommandLine(const char* commandLine) {
    if (!commandLine || !*commandLine) return;
    if (textEqualNoCase(commandLine, "/UNINSTALL")) {
        run.uninstallMode = 1;
    } else if (textEqualNoCase(commandLine, "/MINI")) {
        run.miniMode = 1;
    } else if (textEqualNoCase(commandLine, "/SILENT")) {
        run.silentMode = 1;
        run.miniMode = 1;
    } else {
        platSetCurrentDir(commandLine);  // a directory that does not exist is ignored
    }
}

void setupStartUp(const char* commandLine) {
    platEnableShutdownPrivilege();
    // the program's own directory becomes the working directory
    char path[1025];
    if (platProgramPath(path, sizeof path) == 0) {
        char* cut = nullptr;
        for (char* p = path; *p; p++)
            if (*p == '/' || *p == '\\') cut = p;
        if (cut) {
            *cut = 0;
            platSetCurrentDir(*path ? path : "/");
        }
    }
    applyCommandLine(commandLine);
    if (platFileReadable("setup.txt")) run.uninstallMode = 1;
    clearVariableStore();
}

int runSetupScript() {
    PlatFile* script = platFileOpen("setup.ini", "rb");
    if (!script) {
        if (!run.silentMode) showFixedMessageBox(BoxOK, "ERROR", "No setup.ini file...");
        platDiagnostic("setup: No setup.ini file...");
        endRun(nullptr, EndClearMark, -1);
        return -1;
    }
    run.scriptFile = script;  // stays open to the end of the process
    run.scriptName = "setup.ini";
    int started = MarkInstallStarted();
    run.failure = started != 0 ? 1 : 0;
    if (started < 0) noteFailure();  // an install that cannot be recorded does not end as a success
    RunSection(platMainWindow(), run.uninstallMode ? "Uninstall" : "Setup");
    return 0;
}

void finishSetupScript() { endRun(nullptr, EndClearMark | EndRestartNow); }
