// File operations: directories, copies and moves with their path
// compositions, deletions, tree copies and the search of the fixed drives.
// Plain operations: they take the directories they work in as arguments,
// report through the report sink, and return what happened; what a failure
// does to the run is the caller's decision.
#pragma once
#include "../base/window.h"
#include "../platform/files.h"
#include <functional>

// How a path that does not fit in kPathBytes is reported.
enum LongPathReport { ReportQuietly, ReportWithBox };

// Formats format (only %s, at most three parts) into out (kPathBytes bytes).
// An absent part or a result longer than 259 characters gives -1, reported as
// a diagnostic (and in an error box with ReportWithBox); out is then empty.
int composePath(char* out, LongPathReport report, const char* format, const char* a, const char* b = nullptr,
                const char* c = nullptr);

enum TransferResult {
    TransferDone = 0,
    TransferNothing,        // a path was absent: nothing done, nothing asked
    TransferFailed,         // the copy or move failed (or its paths could not be made)
    TransferFailedRestart,  // failed, and the person asked for a restart at the end
    TransferPartial,        // a tree copy went on, but a folder of it could not be read (reported)
};

// Copies or moves source onto target, replacing it. A failure asks (unless
// silent) whether to restart Windows at the end, and leaves the target as it
// was, its attributes included.
TransferResult CopyOneFile(const char* source, const char* target);
TransferResult MoveOneFile(const char* source, const char* target);
// Reports a failed copy (or move) of source to target as CopyOneFile does:
// the question, unless silent, and a diagnostic with the reason (why, or the
// platform's when why is nullptr).
TransferResult transferFailed(const char* source, const char* target, bool move, const char* why = nullptr);

// How the Copy and Move commands make their paths from their two arguments:
// A both as written; Plain SRCDIR\first to DSTDIR\second (or DSTDIR\first);
// S SRCDIR\first to second\first; D first as written to DSTDIR\second.
enum PathForm { FormA, FormPlain, FormS, FormD };
// Composes the two paths, shows the progress text (MOVE_MSG with the source
// for MoveA, else COPY_MSG or MOVE_MSG with the target) and transfers. An
// empty name is refused as an absent one is: "SRCDIR\" would name the whole
// source folder.
TransferResult copyOrMove(PlatWindow progress, PathForm form, bool move, const char* srcdir, const char* dstdir,
                          const char* first, const char* second);

// Deletes the tree root\sub (or root when sub is absent or empty): files,
// then directories, bottom up. Read-only files and the directories above
// them stay; links are removed as links and never entered, the root too (a
// root that is a link loses the link alone). An absent or empty root is
// refused. Returns -1 (reported) when a part of the tree could not be
// reached: deeper than 259 characters, or unreadable; it stays.
int DeleteTree(const char* root, const char* sub);
// 1 when root may be the root of a tree deletion: given and not empty. An
// empty root would list "\*.*", the root of the current drive.
bool treeRootAccepted(const char* root);
// Deletes the plain files of root\sub (or root); directories stay. A root
// that is a link is left alone (reported). -1 when it cannot be read.
int DeleteFilesIn(const char* root, const char* sub);
// Deletes name, or dir\name when dir is given and not empty; failures are ignored.
void deleteOneFile(const char* name, const char* dir);
// Copies the tree sourceRoot/relative to destRoot/relative, showing each
// entry's name; each copy takes the exact name of its source. Stops at the
// first file that cannot be copied, and at a link in the destination where a
// folder goes (never written through). Links and names no Windows file can
// have (a backslash) in the source are left out, reported. A source folder
// that is missing or cannot be read gives TransferPartial (reported).
TransferResult CopyTree(PlatWindow window, const char* destRoot, const char* sourceRoot, const char* relative);

// The search of the fixed drives for a file named exactly fileName.
struct DriveSearch {
    PlatWindow owner;       // owns the WAITER window of each drive
    bool showWaitWindow;    // neither mini nor silent mode
    bool updateMainWindow;  // not silent mode
    // Called for each match with its directory and the wait window; returns
    // false to end the search.
    std::function<bool(const char* directory, PlatWindow waitWindow)> onMatch;
};
void SearchDrives(const DriveSearch& search, const char* fileName);
// The search of one tree below directory, in the given wait window.
// Returns false when onMatch ended the search.
bool SearchTreeForFile(const DriveSearch& search, PlatWindow waitWindow, const char* directory,
                       const char* fileName);
