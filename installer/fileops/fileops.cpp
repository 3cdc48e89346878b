// File operations of the script: directories, copies and moves with their
// path compositions, deletions, tree copies and the search of the fixed drives.
#include "fileops.h"
#include "progress.h"
#include "../frame/messages.h"
#include "../script/commands.h"
#include "../script/runner.h"
#include "../script/runstate.h"
#include "../script/store.h"
#include <cstring>
#include <string>

namespace {
PlatWindow waitWindow = nullptr;  // the WAITER window of the drive search under way

bool isDots(const char* name) { return !std::strcmp(name, ".") || !std::strcmp(name, ".."); }

// Shows a stored progress text with one argument (none when absent).
void showProgress(PlatWindow window, const char* key, const char* arg) {
    const char* args[1] = {arg};
    SetProgressText(window, GetVariable(key), args, arg ? 1 : 0);
}

// The run ends as after a failed copy, without the restart question.
void failRun() {
    setFailure();
    run.stopSection = 1;
    run.stopAll = 1;
}

// Copy or move: replaced targets lose read-only first, so they can be renamed over.
int transferOneFile(const char* source, const char* target, bool move) {
    if (!source || !target) {
        scriptDiagnostic(move ? "move: %s" : "copy: %s", "a path is missing; nothing done");
        return -1;
    }
    // The old target is not deleted first: the new file is renamed over it, so
    // a failed copy leaves it in place.
    platClearAttributes(target);
    int result = move ? platMoveFile(source, target) : platCopyFile(source, target);
    if (result == 0) {
        platClearAttributes(target);
        return 0;
    }
    if (!run.silentMode) {
        const char* args[2] = {source, target};
        int answer = ShowMessageBox(BoxYesNo, GetVariable(move ? "ERROR_MOVE_TTL" : "ERROR_COPY_TTL"),
                                    GetVariable(move ? "ERROR_MOVE_MSG" : "ERROR_COPY_MSG"), args, 2);
        if (answer == ButtonYes) run.rebootRequested = 1;
    }
    std::string what = std::string(move ? "cannot move " : "cannot copy ") + source + " to %s";
    scriptDiagnostic(what.c_str(), target);
    failRun();
    return -1;
}

// Deletes the tree at dir (a composed path that fits).
void deleteTreeAt(const char* dir) {
    char pattern[kPathBytes];
    if (composePath(pattern, ReportQuietly, "%s\\*.*", dir) == 0) {
        if (PlatDirList list = platOpenDir(dir)) {
            PlatDirEntry entry;
            while (platReadDir(list, &entry)) {
                if (isDots(entry.name)) continue;
                char path[kPathBytes];
                if (composePath(path, ReportQuietly, "%s\\%s", dir, entry.name) != 0) continue;
                if (entry.isLink) platRemoveLink(path);  // the link goes, what it names stays
                else if (entry.isDir) deleteTreeAt(path);
                else platDeleteFile(path);  // read-only files stay
            }
            platCloseDir(list);
        }
    }
    platRemoveDir(dir);  // fails while something is left in it
}

// The directory root\sub, or root alone when sub is absent or empty.
int treeDirectory(char* out, const char* root, const char* sub) {
    if (sub && *sub) return composePath(out, ReportQuietly, "%s\\%s", root, sub);
    return composePath(out, ReportQuietly, "%s", root);
}

// The current wait window of a search: runs section for a match in directory.
void searchTree(const char* directory, const char* fileName, const char* section) {
    showProgress(waitWindow, "SEARCHING_FILES_MSG", directory);
    char pattern[kPathBytes];
    if (composePath(pattern, ReportQuietly, "%s\\*.*", directory) != 0) return;
    PlatDirList list = platOpenDir(directory);
    if (!list) return;
    PlatDirEntry entry;
    while (!run.stopAll && platReadDir(list, &entry)) {
        if (isDots(entry.name)) continue;
        if (entry.isDir) {
            if (entry.isLink) continue;  // never followed: it may lead out of the tree or round in a loop
            char path[kPathBytes];
            if (composePath(path, ReportQuietly, "%s\\%s", directory, entry.name) == 0)
                searchTree(path, fileName, section);
        } else if (std::strcmp(entry.name, fileName) == 0) {  // exact case
            SetVariable("DSTDIR", directory);
            RunSection(waitWindow, section);
        }
    }
    platCloseDir(list);
}
}  // namespace

int composePath(char* out, LongPathReport report, const char* format, const char* a, const char* b,
                const char* c) {
    out[0] = 0;
    const char* parts[3] = {a, b, c};
    std::string path;
    int used = 0;
    for (const char* f = format; *f; f++) {
        if (f[0] == '%' && f[1] == 's') {
            const char* part = used < 3 ? parts[used] : nullptr;
            used++;
            if (!part) {
                scriptDiagnostic("a path of the form %s cannot be made: a part of it is absent", format);
                return -1;
            }
            path += part;
            f++;
        } else {
            path += *f;
        }
    }
    if (path.size() >= static_cast<size_t>(kPathBytes)) {
        scriptDiagnostic("path longer than 259 characters refused: %s", path.c_str());
        if (report == ReportWithBox && !run.silentMode) {
            std::string text = "The path " + path + " is longer than 259 characters; setup cannot use it.";
            showFixedMessageBox(BoxOK, GetVariable("ERROR_TTL"), text.c_str());
        }
        return -1;
    }
    std::memcpy(out, path.c_str(), path.size() + 1);
    return 0;
}

int CopyOneFile(const char* source, const char* target) { return transferOneFile(source, target, false); }

int MoveOneFile(const char* source, const char* target) { return transferOneFile(source, target, true); }

bool treeRootAccepted(const char* root) { return root && *root; }

// An absent or empty root would name the current directory, or on Windows
// the root of the current drive (under Wine the whole Linux file system): refused.
static bool treeRootGiven(const char* command, const char* root) {
    if (treeRootAccepted(root)) return true;
    scriptDiagnostic("%s: no directory given; nothing deleted", command);
    return false;
}

void DeleteTree(const char* root, const char* sub) {
    char dir[kPathBytes];
    if (!treeRootGiven("Deltree", root) || treeDirectory(dir, root, sub) != 0) return;
    deleteTreeAt(dir);
}

void DeleteFilesIn(const char* root, const char* sub) {
    char dir[kPathBytes];
    char pattern[kPathBytes];
    if (!treeRootGiven("DeleteAllFiles", root) || treeDirectory(dir, root, sub) != 0) return;
    if (composePath(pattern, ReportQuietly, "%s\\*.*", dir) != 0) return;
    PlatDirList list = platOpenDir(dir);
    if (!list) return;
    PlatDirEntry entry;
    while (platReadDir(list, &entry)) {
        if (isDots(entry.name)) continue;
        char path[kPathBytes];
        if (composePath(path, ReportQuietly, "%s\\%s", dir, entry.name) == 0) platDeleteFile(path);
    }
    platCloseDir(list);
}

int CopyTree(PlatWindow window, const char* sourceRoot, const char* relative) {
    char target[kPathBytes];
    char source[kPathBytes];
    char pattern[kPathBytes];
    if (composePath(target, ReportWithBox, "%s/%s", GetVariable("DSTDIR"), relative) != 0) {
        failRun();
        return -1;
    }
    platCreateDir(target);  // it may exist already
    if (composePath(source, ReportQuietly, "%s/%s", sourceRoot, relative) != 0 ||
        composePath(pattern, ReportQuietly, "%s/%s/*.*", sourceRoot, relative) != 0)
        return 0;  // nothing can be listed there
    PlatDirList list = platOpenDir(source);
    if (!list) return 0;
    PlatDirEntry entry;
    int result = 0;
    while (result == 0 && platReadDir(list, &entry)) {
        if (isDots(entry.name)) continue;
        showProgress(window, "COPY_MSG", entry.name);
        if (entry.isLink) {
            // a link may lead out of the tree or round in a loop: it is not copied
            std::string where = std::string(source) + "/" + entry.name;
            scriptDiagnostic("CopyDir2Dest: %s is a link and is not copied", where.c_str());
        } else if (entry.isDir) {
            char sub[kPathBytes];
            if (composePath(sub, ReportQuietly, "%s/%s", relative, entry.name) != 0) {
                composePath(sub, ReportWithBox, "%s/%s/%s", GetVariable("DSTDIR"), relative, entry.name);
                failRun();
                result = -1;
            } else {
                result = CopyTree(window, sourceRoot, sub);
            }
        } else {
            char from[kPathBytes];
            char to[kPathBytes];
            if (composePath(from, ReportWithBox, "%s/%s/%s", sourceRoot, relative, entry.name) != 0 ||
                composePath(to, ReportWithBox, "%s/%s/%s", GetVariable("DSTDIR"), relative, entry.name) != 0) {
                failRun();
                result = -1;
            } else if (CopyOneFile(from, to) != 0) {
                result = -1;
            }
        }
        platPumpMessages(1);
    }
    platCloseDir(list);
    return result;
}

void SearchTreeForFile(PlatWindow window, const char* directory, const char* fileName, const char* section) {
    PlatWindow saved = waitWindow;
    if (window) waitWindow = platWaiterOpen(window, !run.miniMode && !run.silentMode);
    // without a name only an entry literally named *.* would match
    searchTree(directory, fileName ? fileName : "*.*", section);
    if (window) {
        platProgressClose(waitWindow);
        waitWindow = saved;
    }
}

void SearchDrives(PlatWindow window, const char* fileName, const char* section) {
    static char roots[64][kPathBytes];
    int count = platFixedDrives(roots, 64);
    for (int i = 0; i < count && !run.stopAll; i++) {
        SearchTreeForFile(window, roots[i], fileName, section);
        if (!run.silentMode) platUpdateMainWindow();
        platPumpMessages(1);
    }
}

void runMkDir(PlatWindow progress, const char* dir, const char* name) {
    char path[kPathBytes];
    int composed = name ? composePath(path, ReportWithBox, "%s\\%s", dir ? dir : "", name)
                        : composePath(path, ReportWithBox, "%s\\", dir ? dir : "");
    if (composed == 0) {
        showProgress(progress, "CREATING_DIR_MSG", path);
        if (platCreateDir(path) >= 0) return;  // created, or there already
    }
    // a missing parent or drive (or a path too long): the install cannot go on
    if (!run.silentMode && composed == 0) {
        const char* args[1] = {path};
        ShowMessageBox(BoxOK, GetVariable("ERROR_COPY_TTL"), GetVariable("ERROR_CRDIR_MSG"), args, 1);
    }
    scriptDiagnostic("MkDir: cannot create %s", composed == 0 ? path : "the directory");
    platProgressClose(progress);
    failRun();
    postQuitRequest(1);
}

void runCopyOrMove(PlatWindow progress, int code, const char* first, const char* second) {
    const char* src = GetVariable("SRCDIR");
    const char* dst = GetVariable("DSTDIR");
    char source[kPathBytes];
    char target[kPathBytes];
    bool sourceOk = true, targetOk = true;
    bool move = code >= CmdMoveA && code <= CmdMoveD;
    switch (code) {
    case CmdCopyA:
    case CmdMoveA:
        // an absent path does nothing at all
        if (!first || !second) {
            scriptDiagnostic("%s: a path is missing; nothing done", move ? "MoveA" : "CopyA");
            return;
        }
        sourceOk = composePath(source, ReportWithBox, "%s", first) == 0;
        targetOk = composePath(target, ReportWithBox, "%s", second) == 0;
        break;
    case CmdCopy:
    case CmdMove:
        sourceOk = composePath(source, ReportWithBox, "%s\\%s", src, first) == 0;
        targetOk = composePath(target, ReportWithBox, "%s\\%s", dst, second ? second : first) == 0;
        break;
    case CmdCopyS:
    case CmdMoveS:
        sourceOk = composePath(source, ReportWithBox, "%s\\%s", src, first) == 0;
        targetOk = composePath(target, ReportWithBox, "%s\\%s", second, first) == 0;
        break;
    default:  // CopyD, MoveD
        sourceOk = composePath(source, ReportWithBox, "%s", first) == 0;
        targetOk = composePath(target, ReportWithBox, "%s\\%s", dst, second) == 0;
        break;
    }
    if (!sourceOk || !targetOk) {
        // a path that cannot be made is a failed copy or move, never a different path
        failRun();
        return;
    }
    if (code == CmdMoveA) showProgress(progress, "MOVE_MSG", source);
    else showProgress(progress, move ? "MOVE_MSG" : "COPY_MSG", target);
    if (move) MoveOneFile(source, target);
    else CopyOneFile(source, target);
}

void runDelete(const char* name, const char* dir) {
    char path[kPathBytes];
    int composed = (dir && *dir) ? composePath(path, ReportQuietly, "%s\\%s", dir, name)
                                 : composePath(path, ReportQuietly, "%s", name);
    if (composed == 0) platDeleteFile(path);  // failures are ignored
}

void runCopyDir2Dest(PlatWindow progress, const char* dir) {
    if (!dir) {
        scriptDiagnostic("CopyDir2Dest: %s", "no directory given; nothing copied");
        return;
    }
    CopyTree(progress, GetVariable("SRCDIR"), dir);
}

void runApplyOnFiles(PlatWindow progress, const char* fileName, const char* section) {
    // the names may be variables that the section changes (DSTDIR among them)
    std::string sectionName = section ? section : "";
    std::string name = fileName ? fileName : "";
    SearchDrives(progress, fileName ? name.c_str() : nullptr, section ? sectionName.c_str() : nullptr);
    run.condition = 0;
}
