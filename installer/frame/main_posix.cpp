// setup on Linux: no window system; message boxes and progress on the terminal.
#include "installlog.h"
#include "startup.h"
#include "../platform/hostpath_posix.h"
#include "../platform/system.h"
#include "../platform/ui.h"
#include "../script/runstate.h"
#include <cstdio>
#include <string>

namespace {
const char kLinuxLines[] =
    "  SETUP_SEARCH_ROOTS=DIR:DIR...  the folders that ApplyOnFiles searches, instead\n"
    "                       of the mount points of the local disks\n"
    "  SETUP_REGISTRY=FILE  the registry, a .reg file (default\n"
    "                       $XDG_DATA_HOME/vexa/registry.reg)\n"
    "  XDG_DATA_HOME, XDG_CONFIG_HOME, XDG_DESKTOP_DIR\n"
    "                       where the menus and program groups, the autostart\n"
    "                       entries, the desktop and the fonts are\n"
    "  LC_ALL, LC_MESSAGES, LANG\n"
    "                       the user's language: the script's language file, and the\n"
    "                       words of the terminal's questions\n"
    "  TMPDIR               the temporary folder (WINDOWSTEMP)\n";
}  // namespace

int main(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; i++) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    if (isHelpRequest(commandLine.c_str())) {
        std::fputs(setupUsage(kLinuxLines).c_str(), stdout);
        return 0;
    }
    resetRunState();
    const char* logPath = platEnv("SETUP_LOG");
    if (logPath && *logPath) openInstallLog(logPath, toUtf8);
    setupStartUp(commandLine.c_str());
    if (runSetupScript() == 0) {
        platBroadcastSettingChange();
        finishSetupScript();
    }
    platFinishRun();
    int status = finalExitCode();
    closeInstallLog(status);
    return status;
}
