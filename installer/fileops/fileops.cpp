// File operations of the script: directories, copies and moves with their
// path compositions, deletions, tree copies and the search of the fixed drives.
#include "fileops.h"
#include "../base/report.h"
#include "../platform/ui.h"
#include <cstring>
#include <memory>
#include <string>

namespace {
bool isDots(const char* name) { return !std::strcmp(name, ".") || !std::strcmp(name, ".."); }

// Copy or move: replaced targets lose read-only first, so they can be renamed over.
TransferResult transferOneFile(const char* source, const char* target, bool move) {
    if (!source || !target) {
        reportDiagnostic("%s: a path is missing; nothing done", move ? "move" : "copy");
        return TransferNothing;
    }
    // The old target is not deleted first: the new file is renamed over it, so
    // a failed copy leaves it in place.
    platClearAttributes(target);
    int result = move ? platMoveFile(source, target) : platCopyFile(source, target);
    if (result == 0) {
        platClearAttributes(target);
        return TransferDone;
    }
    const char* args[2] = {source, target};
    int answer = reportBox(UnlessSilent, BoxYesNo, move ? "ERROR_MOVE_TTL" : "ERROR_COPY_TTL",
                           move ? "ERROR_MOVE_MSG" : "ERROR_COPY_MSG", args, 2);
    reportDiagnostic("cannot %s %s to %s", move ? "move" : "copy", source, target);
    return answer == ButtonYes ? TransferFailedRestart : TransferFailed;
}

// Deletes the tree at dir (a composed path that fits).
void deleteTreeAt(const char* dir) {
    char pattern[kPathBytes];
    if (composePath(pattern, ReportQuietly, "%s\\*.*", dir) == 0) {
        if (PlatDirList* list = platOpenDir(dir)) {
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

// An absent or empty root would name the current directory, or on Windows
// the root of the current drive (under Wine the whole Linux file system): refused.
bool treeRootGiven(const char* command, const char* root) {
    if (treeRootAccepted(root)) return true;
    reportDiagnostic("%s: no directory given; nothing deleted", command);
    return false;
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
                reportDiagnostic("a path of the form %s cannot be made: a part of it is absent", format);
                return -1;
            }
            path += part;
            f++;
        } else {
            path += *f;
        }
    }
    if (path.size() >= static_cast<size_t>(kPathBytes)) {
        reportDiagnostic("path longer than 259 characters refused: %s", path.c_str());
        if (report == ReportWithBox) {
            std::string text = "The path " + path + " is longer than 259 characters; setup cannot use it.";
            reportFixedBox(UnlessSilent, BoxOK, "ERROR_TTL", text.c_str());
        }
        return -1;
    }
    std::memcpy(out, path.c_str(), path.size() + 1);
    return 0;
}

TransferResult CopyOneFile(const char* source, const char* target) { return transferOneFile(source, target, false); }

TransferResult MoveOneFile(const char* source, const char* target) { return transferOneFile(source, target, true); }

TransferResult copyOrMove(PlatWindow progress, PathForm form, bool move, const char* srcdir, const char* dstdir,
                          const char* first, const char* second) {
    char source[kPathBytes];
    char target[kPathBytes];
    bool sourceOk = true, targetOk = true;
    switch (form) {
    case FormA:
        // an absent path does nothing at all
        if (!first || !second) {
            reportDiagnostic("%s: a path is missing; nothing done", move ? "MoveA" : "CopyA");
            return TransferNothing;
        }
        sourceOk = composePath(source, ReportWithBox, "%s", first) == 0;
        targetOk = composePath(target, ReportWithBox, "%s", second) == 0;
        break;
    case FormPlain:
        sourceOk = composePath(source, ReportWithBox, "%s\\%s", srcdir, first) == 0;
        targetOk = composePath(target, ReportWithBox, "%s\\%s", dstdir, second ? second : first) == 0;
        break;
    case FormS:
        sourceOk = composePath(source, ReportWithBox, "%s\\%s", srcdir, first) == 0;
        targetOk = composePath(target, ReportWithBox, "%s\\%s", second, first) == 0;
        break;
    case FormD:
        sourceOk = composePath(source, ReportWithBox, "%s", first) == 0;
        targetOk = composePath(target, ReportWithBox, "%s\\%s", dstdir, second) == 0;
        break;
    }
    // a path that cannot be made is a failed copy or move, never a different path
    if (!sourceOk || !targetOk) return TransferFailed;
    if (form == FormA && move) reportProgress(progress, "MOVE_MSG", source);
    else reportProgress(progress, move ? "MOVE_MSG" : "COPY_MSG", target);
    return move ? MoveOneFile(source, target) : CopyOneFile(source, target);
}

bool treeRootAccepted(const char* root) { return root && *root; }

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
    PlatDirList* list = platOpenDir(dir);
    if (!list) return;
    PlatDirEntry entry;
    while (platReadDir(list, &entry)) {
        if (isDots(entry.name)) continue;
        char path[kPathBytes];
        if (composePath(path, ReportQuietly, "%s\\%s", dir, entry.name) == 0) platDeleteFile(path);
    }
    platCloseDir(list);
}

void deleteOneFile(const char* name, const char* dir) {
    char path[kPathBytes];
    int composed = (dir && *dir) ? composePath(path, ReportQuietly, "%s\\%s", dir, name)
                                 : composePath(path, ReportQuietly, "%s", name);
    if (composed == 0) platDeleteFile(path);  // failures are ignored
}

TransferResult CopyTree(PlatWindow window, const char* destRoot, const char* sourceRoot, const char* relative) {
    char target[kPathBytes];
    char source[kPathBytes];
    char pattern[kPathBytes];
    if (composePath(target, ReportWithBox, "%s/%s", destRoot, relative) != 0) return TransferFailed;
    platCreateDir(target);  // it may exist already
    if (composePath(source, ReportQuietly, "%s/%s", sourceRoot, relative) != 0 ||
        composePath(pattern, ReportQuietly, "%s/%s/*.*", sourceRoot, relative) != 0)
        return TransferDone;  // nothing can be listed there
    PlatDirList* list = platOpenDir(source);
    if (!list) return TransferDone;
    PlatDirEntry entry;
    TransferResult result = TransferDone;
    while (result == TransferDone && platReadDir(list, &entry)) {
        if (isDots(entry.name)) continue;
        reportProgress(window, "COPY_MSG", entry.name);
        if (entry.isLink) {
            // a link may lead out of the tree or round in a loop: it is not copied
            reportDiagnostic("CopyDir2Dest: %s/%s is a link and is not copied", source, entry.name);
        } else if (entry.isDir) {
            char sub[kPathBytes];
            if (composePath(sub, ReportQuietly, "%s/%s", relative, entry.name) != 0) {
                composePath(sub, ReportWithBox, "%s/%s/%s", destRoot, relative, entry.name);
                result = TransferFailed;
            } else {
                result = CopyTree(window, destRoot, sourceRoot, sub);
            }
        } else {
            char from[kPathBytes];
            char to[kPathBytes];
            if (composePath(from, ReportWithBox, "%s/%s/%s", sourceRoot, relative, entry.name) != 0 ||
                composePath(to, ReportWithBox, "%s/%s/%s", destRoot, relative, entry.name) != 0)
                result = TransferFailed;
            else
                result = CopyOneFile(from, to);
        }
        platPumpMessages(1);
    }
    platCloseDir(list);
    return result;
}

bool SearchTreeForFile(const DriveSearch& search, PlatWindow waitWindow, const char* directory,
                       const char* fileName) {
    reportProgress(waitWindow, "SEARCHING_FILES_MSG", directory);
    char pattern[kPathBytes];
    if (composePath(pattern, ReportQuietly, "%s\\*.*", directory) != 0) return true;
    PlatDirList* list = platOpenDir(directory);
    if (!list) return true;
    PlatDirEntry entry;
    bool going = true;
    while (going && platReadDir(list, &entry)) {
        if (isDots(entry.name)) continue;
        if (entry.isDir) {
            if (entry.isLink) continue;  // never followed: it may lead out of the tree or round in a loop
            char path[kPathBytes];
            if (composePath(path, ReportQuietly, "%s\\%s", directory, entry.name) == 0)
                going = SearchTreeForFile(search, waitWindow, path, fileName);
        } else if (std::strcmp(entry.name, fileName) == 0) {  // exact case
            going = search.onMatch(directory, waitWindow);
        }
    }
    platCloseDir(list);
    return going;
}

void SearchDrives(const DriveSearch& search, const char* fileName) {
    // each search has its own list: a section run for a match may search again
    const int maxRoots = 64;
    std::unique_ptr<char[][kPathBytes]> roots(new char[maxRoots][kPathBytes]);
    int count = platFixedDrives(roots.get(), maxRoots);
    // without a name only an entry literally named *.* would match
    if (!fileName) fileName = "*.*";
    bool going = true;
    for (int i = 0; i < count && going; i++) {
        PlatWindow wait = platWaiterOpen(search.owner, search.showWaitWindow);
        going = SearchTreeForFile(search, wait, roots[i], fileName);
        platProgressClose(wait);
        if (search.updateMainWindow) platUpdateMainWindow();
        platPumpMessages(1);
    }
}
