// File operations and the runtime's configuration files: arguments into
// service calls, results into the run's flags.
#include "handlers.h"
#include "messages.h"
#include "runner.h"
#include "runstate.h"
#include "store.h"
#include "../base/report.h"
#include "../config/config.h"
#include "../fileops/fileops.h"

namespace {
// A failed copy or move ends the run as failed; Yes to its question asks for
// a restart at the end. A tree copy that could not read a folder goes on,
// and the run still ends as failed.
void afterTransfer(PlatWindow progress, TransferResult result) {
    if (result == TransferFailedRestart) run.rebootRequested = 1;
    if (result == TransferFailed || result == TransferFailedRestart) endRun(progress, EndMarkFailure | EndStopAll);
    if (result == TransferPartial) noteFailure();
}

// Each form reads only the directories its paths are made from (the command
// table lists them).
void transfer(CommandCall& c, PathForm form, bool move) {
    const char* srcdir = (form == FormPlain || form == FormS) ? GetVariable("SRCDIR") : nullptr;
    const char* dstdir = (form == FormPlain || form == FormD) ? GetVariable("DSTDIR") : nullptr;
    afterTransfer(c.progress, copyOrMove(c.progress, form, move, srcdir, dstdir, c.value[0], c.value[1]));
}
}  // namespace

void doMkDir(CommandCall& c) {
    const char* dir = c.value[0] ? c.value[0] : "";
    if (!*dir) {
        // "\" alone is the root of the drive, and "\name" a folder at that root,
        // which a script never means by an undefined or empty folder
        if (c.value[1] && *c.value[1])
            reportDiagnostic("MkDir: no folder given to make %s in; nothing made", c.value[1]);
        else
            reportDiagnostic("MkDir: no directory given; nothing made");
        setFailure();
        return;
    }
    char path[kPathBytes];
    int composed = c.value[1] ? composePath(path, ReportWithBox, "%s\\%s", dir, c.value[1])
                              : composePath(path, ReportWithBox, "%s\\", dir);
    if (composed == 0) {
        reportProgress(c.progress, "CREATING_DIR_MSG", path);
        if (platCreateDir(path) >= 0) return;  // created, or there already
        const char* args[1] = {path};
        reportBox(UnlessSilent, BoxOK, "ERROR_COPY_TTL", "ERROR_CRDIR_MSG", args, 1);
    }
    // a missing parent or drive (or a path too long): the install cannot go on
    reportDiagnostic("MkDir: cannot create %s", composed == 0 ? path : "the directory");
    endRun(c.progress, EndCloseProgress | EndMarkFailure | EndStopAll, 1);
}

void doCopyA(CommandCall& c) { transfer(c, FormA, false); }
void doCopy(CommandCall& c) { transfer(c, FormPlain, false); }
void doCopyS(CommandCall& c) { transfer(c, FormS, false); }
void doCopyD(CommandCall& c) { transfer(c, FormD, false); }
void doMoveA(CommandCall& c) { transfer(c, FormA, true); }
void doMove(CommandCall& c) { transfer(c, FormPlain, true); }
void doMoveS(CommandCall& c) { transfer(c, FormS, true); }
void doMoveD(CommandCall& c) { transfer(c, FormD, true); }

void doCopyDir2Dest(CommandCall& c) {
    if (!c.value[0]) {
        reportDiagnostic("CopyDir2Dest: no directory given; nothing copied");
        return;
    }
    afterTransfer(c.progress, CopyTree(c.progress, GetVariable("DSTDIR"), GetVariable("SRCDIR"), c.value[0]));
}

void doApplyOnFiles(CommandCall& c) {
    const char* section = c.value[1];
    DriveSearch search;
    search.owner = c.progress;
    search.showWaitWindow = !run.miniMode && !run.silentMode;
    search.updateMainWindow = !run.silentMode;
    search.onMatch = [section](const char* directory, PlatWindow wait) {
        SetVariable("DSTDIR", directory);
        RunSection(wait, section);
        return !run.stopAll;
    };
    if (!run.stopAll) SearchDrives(search, c.value[0]);
    run.condition = 0;
}

void doDelete(CommandCall& c) { deleteOneFile(c.value[0], c.value[1]); }
// Tree deletions report nothing to the script; what they leave behind still
// makes the run end as failed.
void doDeltree(CommandCall& c) {
    if (DeleteTree(c.value[0], c.value[1]) != 0) noteFailure();
}
void doDeleteAllFiles(CommandCall& c) {
    if (DeleteFilesIn(c.value[0], nullptr) != 0) noteFailure();
}

void doAddPartition(CommandCall& c) {
    if (AddPartition(GetVariable("DSTDIR"), c.value[0]) != 0) noteFailure();
}

void doImportOldVexa(CommandCall& c) {
    ImportResult result = ImportOldVexa(GetVariable("SRCDIR"), GetVariable("DSTDIR"), c.value[0], c.value[1]);
    afterTransfer(c.progress, result.copy);
    if (result.failed) setFailure();
    if (result.unwritten) noteFailure();
}

void doIsVexaUpdated(CommandCall& c) {
    run.condition = IsVexaUpdated(GetVariable("DSTDIR"), run.failure != 0, c.value[0]);
}
