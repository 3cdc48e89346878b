// File operations of the script: directories, copies and moves with their
// path compositions, deletions, tree copies and the search of the fixed drives.
#pragma once
#include "../platform/platform.h"

// How a path that does not fit in kPathBytes is reported.
enum LongPathReport { ReportQuietly, ReportWithBox };

// Formats format (only %s, at most three parts) into out (kPathBytes bytes).
// An absent part or a result longer than 259 characters gives -1, reported on
// stderr (and in an error box with ReportWithBox unless silent); out is then empty.
int composePath(char* out, LongPathReport report, const char* format, const char* a, const char* b = nullptr,
                const char* c = nullptr);

// Copies or moves source onto target, replacing it. 0, or -1: an absent path
// does nothing else; a failed copy asks whether to restart Windows at the end
// (not in silent mode) and ends the run as a failure.
int CopyOneFile(const char* source, const char* target);
int MoveOneFile(const char* source, const char* target);

// Deletes the tree root\sub (or root when sub is absent or empty): files,
// then directories, bottom up. Read-only files and the directories above
// them stay; links are removed as links and never entered. Nothing is
// reported, except an absent or empty root, which is refused.
void DeleteTree(const char* root, const char* sub);
// 1 when root may be the root of a tree deletion: given and not empty. An
// empty root would list "\*.*", the root of the current drive.
bool treeRootAccepted(const char* root);
// Deletes the plain files of root\sub (or root); directories stay.
void DeleteFilesIn(const char* root, const char* sub);
// Copies the tree sourceRoot/relative to DSTDIR/relative, showing each entry's
// name. -1 as soon as one file cannot be copied (the run then ends).
int CopyTree(PlatWindow window, const char* sourceRoot, const char* relative);
// Runs section once for each file named exactly fileName on the fixed drives,
// with DSTDIR set to its directory.
void SearchDrives(PlatWindow window, const char* fileName, const char* section);
// The search of one tree; window is given for a drive root (it owns the WAITER
// window), nullptr below it.
void SearchTreeForFile(PlatWindow window, const char* directory, const char* fileName, const char* section);

// Commands (arguments as the script resolved them, nullptr when absent).
void runMkDir(PlatWindow progress, const char* dir, const char* name);
// Copy, CopyA, CopyS, CopyD, Move, MoveA, MoveS, MoveD.
void runCopyOrMove(PlatWindow progress, int code, const char* first, const char* second);
void runDelete(const char* name, const char* dir);
void runCopyDir2Dest(PlatWindow progress, const char* dir);
void runApplyOnFiles(PlatWindow progress, const char* fileName, const char* section);
