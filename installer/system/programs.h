// Programs, libraries and fonts: what the script hands to the system.
#pragma once
#include "../base/window.h"
#include <string>

// Opens file (a program, a document) with parameters in the directory
// dstdir, without waiting. Its result changes nothing.
void RunProgram(const char* file, const char* parameters, const char* dstdir);

// Where RunWait finds program: as written; then, when the name holds no
// forward slash, in each directory of PATH in turn. At each place the name as
// written is tried and, when its last part has no extension, the name with
// .com, .exe, .bat and .cmd after it, in that order. The path, or "".
std::string findProgram(const char* program);
// Starts program with commandLine as its whole command line and waits for
// its end: its exit code, or -1 when it cannot be found or started.
int RunWait(const char* program, const char* commandLine);

enum SelfRegistration {
    SelfRegistered = 0,  // the entry point was called (what it returned is not looked at)
    LibraryNotLoaded,    // ERROR_LOAD_DLL was shown
    EntryPointMissing,   // ERROR_REG_DLL or ERROR_UREG_DLL was shown
    LibraryNotNamed,     // no path could be made: nothing loaded
};
// Shows REGISTERING_MSG with dstdir\file and calls DllRegisterServer of that
// library. Errors are shown in error boxes (not in silent mode).
SelfRegistration RegisterLibrary(PlatWindow progress, const char* dstdir, const char* file);
// Calls DllUnregisterServer of dir\file (of file as written when dir is
// absent or empty), without a progress line.
SelfRegistration UnregisterLibrary(const char* file, const char* dir);
// 1 when the library can be loaded (it is unloaded at once), else 0.
int CheckForDLL(const char* library);

// Adds or removes a font file; nothing is shown either way.
void RegisterFont(const char* path);
void UnregisterFont(const char* path);
