// Shortcuts and program groups: the Programs folder of the Start menu and
// the groups below it, the desktop and the Startup folder.
#pragma once
#include "../base/window.h"
#include <string>

enum LinkFolder { LinkInProgramGroup, LinkOnDesktop, LinkAtStartup };

// One shortcut to make: folder\title (in the program group for
// LinkInProgramGroup) starting baseDir\file in workDir with arguments.
struct LinkRequest {
    LinkFolder folder;
    const char* baseDir;    // the target's directory (DSTDIR, or SRCDIR for a link to the source)
    const char* file;       // the target's name in baseDir
    const char* title;      // the shortcut's name
    const char* workDir;    // DSTDIR
    const char* arguments;  // LINKARG
    const char* group;      // PROGRAMGROUP, for a link in the program group
};

enum LinkAttempt {
    LinkNotAttempted,  // file, baseDir or title absent: nothing done
    LinkMade,
    LinkNotMade,       // attempted: no group, no folder, or the file could not be saved
};

// Shows CREATELINK_MSG with the title, then makes the shortcut. Nothing is
// shown to the person installing when it cannot be made.
LinkAttempt CreateLink(PlatWindow progress, const LinkRequest& request);
// Shows CREATEPGMGROUP_MSG with the group and creates Programs\group (one
// directory) when group is given; a group that is there already is no error.
void MkPgmGroup(PlatWindow progress, const char* group);
// The path of the Programs folder; -1 when the shell gives none.
int GetPgmGroup(std::string& path);
// Removes the tree Programs\group. A group that is absent, empty, or names
// anything but a folder below Programs (a drive, a root, "." or "..") is
// refused: it would remove the whole Programs folder or more.
void DelPgmGroup(const char* group);
// Deletes the shortcut title of the desktop or the Startup folder; a missing
// one is no error.
void DestroyLink(LinkFolder folder, const char* title);
