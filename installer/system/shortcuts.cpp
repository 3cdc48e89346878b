#include "shortcuts.h"
#include "../base/report.h"
#include "../fileops/fileops.h"
#include "../platform/files.h"
#include "../platform/shell.h"
#include <cstring>

namespace {
const char* commandOf(LinkFolder folder) {
    switch (folder) {
    case LinkInProgramGroup: return "MkLink";
    case LinkOnDesktop: return "CreateDesktopLink";
    case LinkAtStartup: return "CreateStartLink";
    }
    return "";
}

ShellFolder shellFolderOf(LinkFolder folder) {
    return folder == LinkOnDesktop ? FolderDesktop : folder == LinkAtStartup ? FolderStartup : FolderPrograms;
}

bool shellFolder(ShellFolder folder, const char* command, char* out) {
    if (platShellFolder(folder, out, kPathBytes) == 0) return true;
    reportDiagnostic("%s: the system gives no %s folder; nothing done", command,
                     folder == FolderPrograms ? "Programs" : folder == FolderStartup ? "Startup" : "Desktop");
    return false;
}

// A group is a folder below Programs: a relative path whose parts are names.
bool groupAccepted(const char* group) {
    if (!group || !*group || group[0] == '\\' || group[0] == '/' || std::strchr(group, ':')) return false;
    const char* part = group;
    for (;;) {
        size_t n = std::strcspn(part, "\\/");
        if ((n == 1 && part[0] == '.') || (n == 2 && part[0] == '.' && part[1] == '.')) return false;
        if (!part[n]) return true;
        part += n + 1;
    }
}
}  // namespace

LinkAttempt CreateLink(PlatWindow progress, const LinkRequest& r) {
    reportProgress(progress, "CREATELINK_MSG", r.title);
    const char* command = commandOf(r.folder);
    if (!r.file || !r.baseDir || !r.title) {
        reportDiagnostic("%s: the target, its directory or the title has no value; no shortcut made", command);
        return LinkNotAttempted;
    }
    char target[kPathBytes];
    if (composePath(target, ReportQuietly, "%s\\%s", r.baseDir, r.file) != 0) return LinkNotMade;
    char folder[kPathBytes];
    if (!shellFolder(shellFolderOf(r.folder), command, folder)) return LinkNotMade;
    std::string format = std::string("%s\\%s") + platShortcutExtension();
    char file[kPathBytes];
    char groupDir[kPathBytes];
    if (r.folder == LinkInProgramGroup) {
        if (!r.group) {
            reportDiagnostic("%s: PROGRAMGROUP has no value; no shortcut made", command);
            return LinkNotMade;
        }
        if (composePath(groupDir, ReportQuietly, "%s\\%s", folder, r.group) != 0) return LinkNotMade;
        if (composePath(file, ReportQuietly, format.c_str(), groupDir, r.title) != 0) return LinkNotMade;
    } else if (composePath(file, ReportQuietly, format.c_str(), folder, r.title) != 0) {
        return LinkNotMade;
    }
    ShortcutSpec spec = {target, r.workDir, r.arguments ? r.arguments : "", r.title};
    if (platSaveShortcut(file, spec) != 0) {
        // as on Windows, a missing group folder leaves no shortcut and shows nothing
        reportDiagnostic("%s: the shortcut %s could not be saved (is its folder there?)", command, file);
        return LinkNotMade;
    }
    if (r.folder == LinkInProgramGroup) platProgramGroupChanged(groupDir);
    return LinkMade;
}

void MkPgmGroup(PlatWindow progress, const char* group) {
    reportProgress(progress, "CREATEPGMGROUP_MSG", group);
    if (!group) return;
    char folder[kPathBytes];
    char path[kPathBytes];
    if (!shellFolder(FolderPrograms, "MkPgmGroup", folder) ||
        composePath(path, ReportQuietly, "%s\\%s", folder, group) != 0)
        return;
    if (platCreateDir(path) < 0) reportDiagnostic("MkPgmGroup: cannot create the program group %s", path);
    else platProgramGroupChanged(path);
}

int GetPgmGroup(std::string& path) {
    char folder[kPathBytes];
    if (!shellFolder(FolderPrograms, "GetPgmGroup", folder)) return -1;
    path = folder;
    return 0;
}

void DelPgmGroup(const char* group) {
    if (!groupAccepted(group)) {
        reportDiagnostic("DelPgmGroup: \"%s\" is no program group below the Programs folder; nothing removed",
                         group ? group : "(no value)");
        return;
    }
    char folder[kPathBytes];
    char path[kPathBytes];
    if (!shellFolder(FolderPrograms, "DelPgmGroup", folder) ||
        composePath(path, ReportQuietly, "%s\\%s", folder, group) != 0)
        return;
    DeleteTree(path, nullptr);
    platRemoveDir(path);  // once more, as the group itself may have been left
    platProgramGroupChanged(path);
}

void DestroyLink(LinkFolder folder, const char* title) {
    const char* command = folder == LinkOnDesktop ? "DestroyDesktopLink" : "DestroyStartLink";
    if (!title) {
        reportDiagnostic("%s: the title has no value; nothing deleted", command);
        return;
    }
    char dir[kPathBytes];
    char file[kPathBytes];
    std::string format = std::string("%s\\%s") + platShortcutExtension();
    if (!shellFolder(shellFolderOf(folder), command, dir) || composePath(file, ReportQuietly, format.c_str(), dir, title) != 0)
        return;
    platDeleteFile(file);  // a shortcut that is not there: nothing to do
}
