// The shell: the user's special folders and shortcuts, starting programs and
// documents, libraries and their entry points, and fonts. Paths are in
// Windows form, as in files.h.
#pragma once

// ---- special folders and shortcuts
enum ShellFolder {
    FolderPrograms,  // the Programs folder of the Start menu (posix: $XDG_DATA_HOME/applications)
    FolderStartup,   // the user's Startup folder (posix: $XDG_CONFIG_HOME/autostart)
    FolderDesktop,   // the desktop as a file-system folder (posix: $XDG_DESKTOP_DIR, else ~/Desktop)
};
// The folder's path, without a final separator. posix: the folder (and the
// folders above it) is created when missing, as Windows always has them.
// 0, or -1 when the folder cannot be had.
int platShellFolder(ShellFolder folder, char* out, int size);

// The extension of a shortcut file: ".lnk" (posix: ".desktop").
const char* platShortcutExtension();

// What a shortcut holds: exactly these three settings. posix: a desktop entry
// (Type=Application, Name=title, Exec=target and arguments quoted as the
// Desktop Entry Specification says, Path=workDir); a target that is not a
// program (a document, a folder) is opened with xdg-open.
struct ShortcutSpec {
    const char* target;     // the file the shortcut starts
    const char* workDir;    // where it starts
    const char* arguments;  // a Windows command line (tail)
    const char* title;      // the shortcut's name (posix: its Name key)
};
// Writes the shortcut file (its full path, extension included), replacing one
// that is there. 0, or -1 when it cannot be written.
int platSaveShortcut(const char* file, const ShortcutSpec& shortcut);
// A program group (a folder below the Programs folder) was created, changed or
// removed. posix: the desktop menus' submenu for it follows the folder.
void platProgramGroupChanged(const char* groupDir);

// ---- programs
// 1 when path names a file (not a directory) that exists.
int platIsFile(const char* path);
// The separator of the directories of PATH: ';' (posix: ':').
char platPathListSeparator();
// Opens file with its parameters in directory, without waiting: a program is
// started, a document opened by the program the system has for it. posix: an
// executable is started detached, its parameters split as Windows splits a
// command line (never through a shell); anything else goes to xdg-open.
// 0 when started, -1 when not.
int platOpenFile(const char* file, const char* parameters, const char* directory);
// Starts the program file with commandLine as its whole command line (posix:
// its one argument after the program's own name; none when absent or empty),
// waits for its end and gives its exit code. -1 when it cannot be started
// (an exit code can be -1 as well on Windows).
int platRunAndWait(const char* program, const char* commandLine, int* exitCode);

// ---- libraries
struct PlatLibrary;
// Loads a library; nullptr when it cannot be loaded. posix: a name that ends
// in ".dll" and cannot be loaded is tried again ending in ".so"; a bare name
// of a file in the current directory is that file.
PlatLibrary* platLoadLibrary(const char* path);
// Calls the entry point of that exact name, which takes no argument (what it
// returns is not used): 1 when called, 0 when the library has none.
int platCallEntryPoint(PlatLibrary* library, const char* name);
void platFreeLibrary(PlatLibrary* library);

// ---- fonts
// Adds or removes the font file to or from the fonts of the session.
// posix: a symbolic link to the font in $XDG_DATA_HOME/fonts, made or removed
// (only a link to that font is removed), then the font cache is refreshed
// when fc-cache is there. 0, or -1.
int platAddFont(const char* path);
int platRemoveFont(const char* path);
