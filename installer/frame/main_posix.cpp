// setup on Linux: no window system; message boxes and progress on the terminal.
#include "startup.h"
#include "../platform/ui.h"
#include "../script/runstate.h"
#include <string>

int main(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; i++) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    resetRunState();
    setupStartUp(commandLine.c_str());
    if (runSetupScript() == 0) {
        platBroadcastSettingChange();
        finishSetupScript();
    }
    platFinishRun();
    return finalExitCode();
}
