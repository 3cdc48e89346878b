// The operating-system services the installer uses, behind one narrow interface.
// Two implementations: *_win32.cpp (the real Windows calls) and *_posix.cpp (the
// Linux equivalents). Portable code composes paths as on Windows (backslash
// joins); the posix layer turns them into Linux paths at this boundary.
// Texts are 8-bit (Windows-1252). Results: 0 success, -1 failure unless noted.
#pragma once
#include <cstdio>

typedef void* PlatWindow;  // a window handle on Windows, an opaque token on Linux
enum RegRoot { RegClassesRoot, RegCurrentUser, RegLocalMachine };

// Buttons and box types, with the values Windows gives them.
enum { BoxOK = 0, BoxOKCancel = 1, BoxYesNo = 4 };
enum { ButtonOK = 1, ButtonCancel = 2, ButtonYes = 6, ButtonNo = 7 };

// ---- process and files (files_*.cpp)
// Full path of the running program; -1 when it does not fit.
int platProgramPath(char* out, int size);
int platSetCurrentDir(const char* dir);
int platGetCurrentDir(char* out, int size);
// fopen with the path in Windows form. posix: backslashes become slashes, and a
// name that does not exist is looked up again ignoring ASCII case.
FILE* platOpenFile(const char* path, const char* mode);
// 1 when a file or directory matches the pattern ("*" and "?" in the last part).
int platPathMatches(const char* pattern);
// 1 when path names a regular file holding at least one byte.
int platFileNonEmpty(const char* path);
// Creates a new empty file named <first 3 chars of prefix><hex>.tmp in dir and
// writes its full path to out.
int platCreateTempFile(const char* dir, const char* prefix, char* out, int size);
// System, Windows and temporary directories. posix: /usr/lib, /usr, $TMPDIR or /tmp.
void platSystemDir(char* out, int size);
void platWindowsDir(char* out, int size);
void platTempDir(char* out, int size);
// The user's default language as a Windows language identifier
// (primary language in the low 10 bits, sublanguage above).
unsigned platUserLanguage();

// ---- file operations (files_*.cpp)
// Composed paths fit in 260 characters, terminator included.
const int kPathBytes = 260;
// Creates one directory; its parent must exist. 0 when created, 1 when a
// directory of that name exists already, -1 on failure.
int platCreateDir(const char* path);
// Clears read-only, hidden and system. posix: makes the file writable by its owner.
int platClearAttributes(const char* path);
// Deletes a file, never a directory. A read-only file stays (posix: a file its
// owner may not write counts as read-only, even for root).
int platDeleteFile(const char* path);
// Removes an empty directory.
int platRemoveDir(const char* path);
// Removes a symbolic link or junction itself; what it points at is untouched.
int platRemoveLink(const char* path);
// Copies from onto to, replacing it. The copy is made beside the target and
// renamed over it, so a failed copy leaves an existing target as it was.
int platCopyFile(const char* from, const char* to);
// Moves from onto to, replacing it in one step on the same volume; across
// volumes it copies as platCopyFile does, then deletes the source.
int platMoveFile(const char* from, const char* to);
// One entry of a directory listing. isLink: a symbolic link, junction or
// mount point (posix: a directory on another file system), never entered.
struct PlatDirEntry {
    char name[kPathBytes];
    int isDir;
    int isLink;
};
typedef void* PlatDirList;
// Lists every entry of dir ("." and ".." may be among them); nullptr when the
// directory cannot be listed.
PlatDirList platOpenDir(const char* dir);
// Fills entry with the next entry: 1, or 0 at the end.
int platReadDir(PlatDirList list, PlatDirEntry* entry);
void platCloseDir(PlatDirList list);
// Roots of the fixed drives to search, in order (Windows: "c:" and so on, as
// the drive mask and drive types give them; posix: mount points of local disk
// file systems). $SETUP_SEARCH_ROOTS (';'-separated on Windows, ':' on posix)
// replaces the list. Returns the number of roots stored (at most max).
int platFixedDrives(char (*roots)[kPathBytes], int max);

// ---- registry (registry_*.cpp). key is relative to root; name null = default value.
// posix: a .reg file at $SETUP_REGISTRY (default $XDG_DATA_HOME/vexa/registry.reg).
int platRegGetString(RegRoot root, const char* key, const char* name, char* out, int size);
int platRegSetString(RegRoot root, const char* key, const char* name, const char* value);
int platRegDeleteValue(RegRoot root, const char* key, const char* name);
int platRegCreateKey(RegRoot root, const char* key);
// 1 when the value exists, 0 when not, -1 when the key cannot be opened or created.
int platRegValueExists(RegRoot root, const char* key, const char* name);
// Deletes a key that has no subkeys (a key with subkeys stays: -1).
int platRegDeleteKey(RegRoot root, const char* key);

// ---- user interface (ui_*.cpp)
// Message box owned by the main window; title null gives the system's default.
// Returns the button pressed.
int platMessageBox(const char* title, const char* text, int type);
// Progress window of a section run (item 1001 text, item 1003 bar).
PlatWindow platProgressOpen(PlatWindow owner, int visible);
// The WAITER window of a drive search (item 1001 text), created without a
// modal loop as a child of owner; shown only when show is 1.
PlatWindow platWaiterOpen(PlatWindow owner, int show);
// Sets item 1001; repaint (not in silent mode) redraws at once.
void platProgressSetText(PlatWindow window, const char* text, int repaint);
void platProgressStep(PlatWindow window);
// Closing twice, or closing a window already gone, does nothing.
void platProgressClose(PlatWindow window);
// Takes and dispatches at most max pending window messages.
void platPumpMessages(int max);
PlatWindow platMainWindow();
void platUpdateMainWindow();
// Shows (show=1) or hides the main window. posix: prints the product name once.
void platShowMainWindow(int show, const char* productName);
void platInvalidateMainWindow();
void platBroadcastSettingChange();
// Asks the system to restart. posix: never done; a notice is printed at the end.
void platRequestRestart();
// Enables the shutdown privilege; 1 when adjusted, 0 otherwise. posix: nothing to do.
int platEnableShutdownPrivilege();
// Writes a diagnostic line for whoever runs the installer (stderr).
void platDiagnostic(const char* text);
// Writes a line of the run's own output (stdout; posix converts to UTF-8).
void platReport(const char* text);
// Called once when the run ends (posix: closes the status line, prints notices).
void platFinishRun();
