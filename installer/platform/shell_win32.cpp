// The shell on Windows: special folders, shell links, ShellExecute, process
// creation, libraries and font resources.
#include "shell.h"
#include "unlogged.h"
#include "../base/log.h"
#include "ui_win32.h"
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <cstdint>
#include <cstring>
#include <string>

int platShellFolder(ShellFolder folder, char* out, int size) {
    int csidl = folder == FolderPrograms ? CSIDL_PROGRAMS : folder == FolderStartup ? CSIDL_STARTUP
                                                                                   : CSIDL_DESKTOPDIRECTORY;
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(mainWindow, csidl, &items)) || !items) return -1;
    char path[MAX_PATH];
    BOOL ok = SHGetPathFromIDListA(items, path);
    CoTaskMemFree(items);
    size_t n = std::strlen(path);
    if (!ok || n + 1 > static_cast<size_t>(size)) return -1;
    std::memcpy(out, path, n + 1);
    return 0;
}

const char* platShortcutExtension() { return ".lnk"; }

int unloggedSaveShortcut(const char* file, const ShortcutSpec& shortcut) {
    if (!file || !shortcut.target) return -1;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return -1;
    // exactly three settings: no description, icon, show command or hot key
    link->SetPath(shortcut.target);
    link->SetWorkingDirectory(shortcut.workDir ? shortcut.workDir : "");
    link->SetArguments(shortcut.arguments ? shortcut.arguments : "");
    IPersistFile* persist = nullptr;
    int result = -1;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
        WCHAR wide[MAX_PATH];
        if (MultiByteToWideChar(CP_ACP, 0, file, -1, wide, MAX_PATH) > 0 && SUCCEEDED(persist->Save(wide, TRUE)))
            result = 0;
        persist->Release();
    }
    link->Release();
    return result;
}

void platProgramGroupChanged(const char*) {}  // the shell follows its folders itself

int platIsFile(const char* path) {
    if (!path) return 0;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}

char platPathListSeparator() { return ';'; }

int unloggedOpenFile(const char* file, const char* parameters, const char* directory) {
    if (!file) return -1;
    HINSTANCE result = ShellExecuteA(nullptr, "open", file, parameters, directory, SW_SHOWDEFAULT);
    return reinterpret_cast<INT_PTR>(result) > 32 ? 0 : -1;
}

int unloggedRunAndWait(const char* program, const char* commandLine, int* exitCode) {
    if (!program) return -1;
    // the command line is the script's text alone: nothing of the program's name is put before it
    std::string line = commandLine ? commandLine : "";
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!CreateProcessA(program, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (exitCode) *exitCode = static_cast<int>(code);
    return 0;
}

struct PlatLibrary {
    HMODULE module;
};

PlatLibrary* platLoadLibrary(const char* path) {
    if (!path) return nullptr;
    HMODULE module = LoadLibraryA(path);
    // as old Windows answered, a value below 32 is an error
    if (reinterpret_cast<uintptr_t>(module) < 32) return nullptr;
    return new PlatLibrary{module};
}

int unloggedCallEntryPoint(PlatLibrary* library, const char* name) {
    if (!library || !name) return 0;
    FARPROC symbol = GetProcAddress(library->module, name);
    if (!symbol) return 0;
    typedef HRESULT(WINAPI * EntryPoint)();
    reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(symbol))();
    return 1;
}

void platFreeLibrary(PlatLibrary* library) {
    if (!library) return;
    FreeLibrary(library->module);
    delete library;
}

int unloggedAddFont(const char* path) { return path && AddFontResourceA(path) > 0 ? 0 : -1; }

int unloggedRemoveFont(const char* path) { return path && RemoveFontResourceA(path) ? 0 : -1; }
