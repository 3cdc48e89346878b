// Process-wide run modes and flags shared by the frame, the runner and the commands.
#pragma once
#include <cstdint>
#include <cstdio>

struct RunState {
    // run modes, fixed at start-up
    int32_t silentMode;
    int32_t miniMode;
    int32_t uninstallMode;
    // flags steering the run
    int32_t condition;
    int32_t stopSection;
    int32_t stopAll;
    int32_t failure;
    int32_t rebootRequested;
    // a failure was recorded during this run (not merely inherited at start)
    int32_t failedDuringRun;
    // the pending quit request, as the message queue would hold it
    int32_t quitPending;
    int32_t quitCode;
    // the open script file that section runs read from, and its name
    FILE* scriptFile;
    const char* scriptName;
    // nesting depth of section runs (goto, Include, ParseFile)
    int32_t depth;
    // language code chosen by GetSystemVars
    uint16_t languageCode;
};

extern RunState run;

// Deepest nesting of section runs; going deeper ends the run as a failure.
const int kMaxSectionDepth = 200;

void resetRunState();
// Sets the failure flag and records that this run failed.
void setFailure();
// Posts a quit request; a request already pending keeps its code.
void postQuitRequest(int code);
// The process exit status: the pending quit code when not 0, else 1 when a
// failure happened during the run, else 0.
int finalExitCode();
// A diagnostic about the script for the person running the installer.
void scriptDiagnostic(const char* format, const char* arg);
