// Process-wide run modes and flags shared by the frame, the runner and the
// command handlers. Only this layer sets them; services return results.
#pragma once
#include "../base/window.h"
#include "../platform/files.h"
#include <cstdint>

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
    PlatFile* scriptFile;
    const char* scriptName;
    // nesting depth of section runs (goto, Include, ParseFile)
    int32_t depth;
    // language code chosen by GetSystemVars
    uint16_t languageCode;
    // work the run may do in all, 0 for no limit (a fuzzed script's goto
    // loop must end), and the work done: a line executed costs 1, a section
    // run (a search of the whole script file) kSectionSteps
    int32_t stepBudget;
    int32_t steps;
};

extern RunState run;

// Deepest nesting of section runs; going deeper ends the run as a failure.
const int kMaxSectionDepth = 200;
const int kSectionSteps = 20;

// Empties the run state and installs the script's report sink.
void resetRunState();
// Sets the failure flag and records that this run failed.
void setFailure();
// Records that this run failed for its exit status alone: the failure flag,
// and so the flow of the script, stay as they are. For failures the script
// is not told of (a registry write, a tree left in place, a missing section),
// which must still not end the run as a success.
void noteFailure();
// Posts a quit request; a request already pending keeps its code.
void postQuitRequest(int code);
// The process exit status: the pending quit code when not 0, else 1 when a
// failure happened during the run, else 0.
int finalExitCode();

// The steps that end a section or the run, done in this order.
enum RunEnd : unsigned {
    EndMarkFailure = 1u << 0,      // the install counts as failed
    EndClearMark = 1u << 1,        // the failed-install mark goes, unless a failure is known
    EndRestartNow = 1u << 2,       // a restart asked for earlier is requested now
    EndCloseProgress = 1u << 3,    // the section's progress window closes
    EndStopSection = 1u << 4,      // the running section ends after this line
    EndStopAll = 1u << 5,          // every running section ends, and new ones end at once
};
// The one way to end a section or the run; quitCode, when not 0, is posted
// as the quit request.
void endRun(PlatWindow progress, unsigned steps, int quitCode = 0);
