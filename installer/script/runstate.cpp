// The run's flags, and the one way to end a section or the run.
#include "runstate.h"
#include "reporting.h"
#include "../base/report.h"
#include "../platform/system.h"
#include "../platform/ui.h"
#include "../system/installstate.h"

RunState run;

void resetRunState() {
    run = RunState();
    installScriptReporting();
}

void setFailure() {
    run.failure = 1;
    run.failedDuringRun = 1;
}

void noteFailure() { run.failedDuringRun = 1; }

void postQuitRequest(int code) {
    if (run.quitPending) return;
    run.quitPending = 1;
    run.quitCode = code;
}

int finalExitCode() {
    if (run.quitPending && run.quitCode != 0) return run.quitCode;
    return run.failedDuringRun ? 1 : 0;
}

void endRun(PlatWindow progress, unsigned steps, int quitCode) {
    if (steps & EndMarkFailure) setFailure();
    if ((steps & EndClearMark) && run.failure == 0 && ClearFailureMark() != 0) {
        reportDiagnostic("the registry mark of an install in progress cannot be removed");
        noteFailure();
    }
    if ((steps & EndRestartNow) && run.rebootRequested) platRequestRestart();
    if (steps & EndCloseProgress) platProgressClose(progress);
    if (steps & (EndStopSection | EndStopAll)) run.stopSection = 1;
    if (steps & EndStopAll) run.stopAll = 1;
    if (quitCode != 0) postQuitRequest(quitCode);
}
