// File operations of the script: directories, copies and moves with their
// path compositions, deletions, tree copies and the search of the fixed drives.
#include "fileops.h"
#include "../base/report.h"
#include "../platform/ui.h"
#include <cstring>
#include <memory>
#include <string>

namespace {
// A name read from a directory that a Windows path cannot hold: on Linux a
// file may be named "..\..\x", which joined into a path would lead elsewhere.
bool holdsSeparator(const char* name) { return std::strchr(name, '\\') || std::strchr(name, '/'); }

// Copy or move. The platform replaces a read-only target itself, and a
// failure leaves it as it was, read-only included.
TransferResult transferOneFile(const char* source, const char* target, bool move) {
    if (!source || !target) {
        reportDiagnostic("%s: a path is missing; nothing done", move ? "move" : "copy");
        return TransferNothing;
    }
    int result = move ? platMoveFile(source, target) : platCopyFile(source, target);
    if (result == 0) {
        platClearAttributes(target);
        return TransferDone;
    }
    return transferFailed(source, target, move);
}

// The path of an entry of dir, for messages and the length limit; false when
// it is longer than 259 characters (the caller says so).
bool entryPath(std::string& out, const std::string& dir, const char* name, char separator) {
    if (dir.size() + 1 + std::strlen(name) >= static_cast<size_t>(kPathBytes)) return false;
    out = dir + separator + name;
    return true;
}

// Deletes what dir (open, at path) holds, bottom up; -1 when a part of it
// could not be reached.
int deleteEntries(PlatTreeDir* dir, const std::string& path) {
    int result = 0;
    PlatDirEntry entry;
    while (platTreeRead(dir, &entry)) {
        std::string full;
        if (!entryPath(full, path, entry.name, '\\')) {
            reportDiagnostic("Deltree: %s\\%s is deeper than 259 characters and is left in place", path.c_str(),
                             entry.name);
            result = -1;
            continue;
        }
        if (entry.isLink) {
            platTreeRemoveLink(dir, entry.name);  // the link goes, what it names stays
        } else if (entry.isDir) {
            PlatTreeStatus status;
            PlatTreeDir* sub = platTreeOpenSub(dir, entry.name, &status);
            if (sub) {
                if (deleteEntries(sub, full) != 0) result = -1;
                platTreeClose(sub);
                platTreeRemoveDir(dir, entry.name);  // fails while something is left in it
            } else if (status == TreeIsLink) {
                platTreeRemoveLink(dir, entry.name);  // made a link since it was listed
            } else if (status == TreeNotDir) {
                platTreeDeleteFile(dir, entry.name);
            } else if (status != TreeMissing) {
                reportDiagnostic("Deltree: cannot read %s (%s); it is left in place", full.c_str(), platFailureText());
                result = -1;
            }
        } else {
            platTreeDeleteFile(dir, entry.name);  // read-only files stay
        }
    }
    return result;
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

struct TreeCopy {
    PlatWindow window;
    bool partial;  // a source folder could not be read
};

// Copies the entries of source (open, at sourcePath) into target (open, at
// targetPath).
TransferResult copyEntries(TreeCopy& copy, PlatTreeDir* source, PlatTreeDir* target, const std::string& sourcePath,
                           const std::string& targetPath) {
    TransferResult result = TransferDone;
    PlatDirEntry entry;
    while (result == TransferDone && platTreeRead(source, &entry)) {
        reportProgress(copy.window, "COPY_MSG", entry.name);
        std::string from, to;
        if (holdsSeparator(entry.name)) {
            reportDiagnostic("CopyDir2Dest: %s/%s has a name no Windows file can have (a backslash) and is not copied",
                             sourcePath.c_str(), entry.name);
        } else if (entry.isLink) {
            // a link may lead out of the tree or round in a loop: it is not copied
            reportDiagnostic("CopyDir2Dest: %s/%s is a link and is not copied", sourcePath.c_str(), entry.name);
        } else if (!entryPath(from, sourcePath, entry.name, '/') || !entryPath(to, targetPath, entry.name, '/')) {
            // said with the path that does not fit, as every path too long is
            char path[kPathBytes];
            composePath(path, ReportWithBox, "%s/%s", (from.empty() ? sourcePath : targetPath).c_str(), entry.name);
            result = TransferFailed;
        } else if (entry.isDir) {
            // the folder is made first, so an empty source folder is made too
            PlatTreeStatus status;
            PlatTreeDir* made = platTreeMakeSub(target, entry.name, &status);
            if (!made) {
                result = transferFailed(from.c_str(), to.c_str(), false,
                                        status == TreeIsLink ? "the target is a link, never written through" : nullptr);
            } else if (PlatTreeDir* sub = platTreeOpenSub(source, entry.name, &status)) {
                result = copyEntries(copy, sub, made, from, to);
                platTreeClose(sub);
            } else if (status == TreeIsLink) {
                reportDiagnostic("CopyDir2Dest: %s is a link and is not copied", from.c_str());
            } else {
                reportDiagnostic("CopyDir2Dest: cannot read the folder %s (%s); its files are not copied",
                                 from.c_str(), platFailureText());
                copy.partial = true;
            }
            platTreeClose(made);
        } else if (platTreeCopyFile(source, entry.name, target, entry.name) != 0) {
            result = transferFailed(from.c_str(), to.c_str(), false);
        }
        platPumpMessages(1);
    }
    return result;
}

// Searches the open directory dir (at path) and below it.
bool searchEntries(const DriveSearch& search, PlatWindow waitWindow, PlatTreeDir* dir, const std::string& path,
                   const char* fileName) {
    reportProgress(waitWindow, "SEARCHING_FILES_MSG", path.c_str());
    PlatDirEntry entry;
    bool going = true;
    while (going && platTreeRead(dir, &entry)) {
        if (entry.isDir) {
            if (entry.isLink) continue;  // never followed: it may lead out of the tree or round in a loop
            std::string sub;
            if (holdsSeparator(entry.name)) {
                reportDiagnostic("ApplyOnFiles: %s\\%s has a name no Windows folder can have (a backslash) and is "
                                 "not searched",
                                 path.c_str(), entry.name);
                continue;
            }
            if (!entryPath(sub, path, entry.name, '\\')) {
                reportDiagnostic("ApplyOnFiles: %s\\%s is deeper than 259 characters and is not searched", path.c_str(),
                                 entry.name);
                continue;
            }
            PlatTreeStatus status;
            if (PlatTreeDir* open = platTreeOpenSub(dir, entry.name, &status)) {
                going = searchEntries(search, waitWindow, open, sub, fileName);
                platTreeClose(open);
            }
        } else if (std::strcmp(entry.name, fileName) == 0) {  // exact case
            going = search.onMatch(path.c_str(), waitWindow);
        }
    }
    return going;
}
}  // namespace

TransferResult transferFailed(const char* source, const char* target, bool move, const char* reason) {
    std::string why = reason ? reason : platFailureText();
    const char* args[2] = {source, target};
    int answer = reportBox(UnlessSilent, BoxYesNo, move ? "ERROR_MOVE_TTL" : "ERROR_COPY_TTL",
                           move ? "ERROR_MOVE_MSG" : "ERROR_COPY_MSG", args, 2);
    if (why.empty()) reportDiagnostic("cannot %s %s to %s", move ? "move" : "copy", source, target);
    else reportDiagnostic("cannot %s %s to %s: %s", move ? "move" : "copy", source, target, why.c_str());
    return answer == ButtonYes ? TransferFailedRestart : TransferFailed;
}

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
    const char* command[2][4] = {{"CopyA", "Copy", "CopyS", "CopyD"}, {"MoveA", "Move", "MoveS", "MoveD"}};
    const char* word = command[move ? 1 : 0][form];
    // what each form needs: FormA both paths (or it does nothing), the others
    // a name, and CopyS/MoveS a folder: none may be absent or empty, since an
    // empty one would name a folder itself ("DSTDIR\") or the root ("\name")
    const char* needed[2] = {first, form == FormPlain ? (second ? second : first) : second};
    const char* what[2] = {form == FormD ? "source" : "file name", form == FormS ? "folder" : "file name"};
    for (int i = 0; i < 2; i++) {
        if (needed[i] && *needed[i]) continue;
        if (form == FormA) {
            reportDiagnostic("%s: a path is %s; nothing done", word, needed[i] ? "empty" : "missing");
            return TransferNothing;
        }
        reportDiagnostic("%s: %s %s; nothing done", word, needed[i] ? "an empty" : "no", what[i]);
        return TransferFailed;
    }
    char source[kPathBytes];
    char target[kPathBytes];
    bool sourceOk = true, targetOk = true;
    switch (form) {
    case FormA:
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

int DeleteTree(const char* root, const char* sub) {
    char dir[kPathBytes];
    if (!treeRootGiven("Deltree", root)) return 0;
    if (treeDirectory(dir, root, sub) != 0) return -1;  // reported: longer than 259 characters
    PlatTreeStatus status;
    PlatTreeDir* tree = platTreeOpen(dir, 0, &status);
    if (!tree) {
        switch (status) {
        case TreeIsLink:
            reportDiagnostic("Deltree: %s is a link; the link is removed and what it names is left alone", dir);
            platRemoveLink(dir);
            return 0;
        case TreeUnreadable:
            reportDiagnostic("Deltree: cannot read %s (%s); it is left in place", dir, platFailureText());
            return -1;
        default:
            return 0;  // nothing there, or a file: nothing to delete
        }
    }
    int result = deleteEntries(tree, dir);
    platTreeClose(tree);
    platRemoveDir(dir);  // fails while something is left in it
    return result;
}

int DeleteFilesIn(const char* root, const char* sub) {
    char dir[kPathBytes];
    if (!treeRootGiven("DeleteAllFiles", root)) return 0;
    if (treeDirectory(dir, root, sub) != 0) return -1;
    PlatTreeStatus status;
    PlatTreeDir* list = platTreeOpen(dir, 0, &status);
    if (!list) {
        if (status == TreeIsLink)
            reportDiagnostic("DeleteAllFiles: %s is a link; nothing is deleted through it", dir);
        if (status != TreeUnreadable) return 0;
        reportDiagnostic("DeleteAllFiles: cannot read %s (%s)", dir, platFailureText());
        return -1;
    }
    PlatDirEntry entry;
    while (platTreeRead(list, &entry))
        if (!entry.isDir) platTreeDeleteFile(list, entry.name);  // a link to a file goes itself
    platTreeClose(list);
    return 0;
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
    if (composePath(target, ReportWithBox, "%s/%s", destRoot, relative) != 0) return TransferFailed;
    platCreateDir(target);  // it may exist already
    if (composePath(source, ReportQuietly, "%s/%s/*.*", sourceRoot, relative) != 0) {
        reportDiagnostic("CopyDir2Dest: nothing can be listed in %s/%s", sourceRoot ? sourceRoot : "", relative);
        return TransferPartial;
    }
    composePath(source, ReportQuietly, "%s/%s", sourceRoot, relative);
    PlatTreeStatus status;
    // the source folder the script names may be a link; nothing below it is followed
    PlatTreeDir* from = platTreeOpen(source, 1, &status);
    if (!from) {
        if (status == TreeMissing)
            reportDiagnostic("CopyDir2Dest: the source folder %s does not exist; nothing is copied", source);
        else
            reportDiagnostic("CopyDir2Dest: cannot read the source folder %s (%s); nothing is copied", source,
                             platFailureText());
        return TransferPartial;
    }
    PlatTreeDir* to = platTreeOpen(target, 0, &status);
    if (!to) {
        platTreeClose(from);
        return transferFailed(source, target, false,
                              status == TreeIsLink ? "the target is a link, never written through" : nullptr);
    }
    TreeCopy copy{window, false};
    TransferResult result = copyEntries(copy, from, to, source, target);
    platTreeClose(to);
    platTreeClose(from);
    return (result == TransferDone && copy.partial) ? TransferPartial : result;
}

bool SearchTreeForFile(const DriveSearch& search, PlatWindow waitWindow, const char* directory,
                       const char* fileName) {
    PlatTreeStatus status;
    // a drive root, or a root given for the search, is entered as given
    PlatTreeDir* dir = platTreeOpen(directory, 1, &status);
    if (!dir) {
        reportProgress(waitWindow, "SEARCHING_FILES_MSG", directory);
        return true;
    }
    bool going = searchEntries(search, waitWindow, dir, directory, fileName);
    platTreeClose(dir);
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
