// Inside the platform layer: each platform's own file, shell and font work,
// which logged.cpp wraps with the install log's lines, so that the three
// platforms (Linux, Windows and the recording one of the tests) log alike.
#pragma once
#include "files.h"
#include "shell.h"
#include <string>

PlatFile* unloggedFileOpen(const char* path, const char* mode);
int unloggedCreateTempFile(const char* dir, const char* prefix, char* out, int size);
int unloggedCreateDir(const char* path);
int unloggedDeleteFile(const char* path);
int unloggedRemoveDir(const char* path);
int unloggedRemoveLink(const char* path);
int unloggedCopyFile(const char* from, const char* to);
int unloggedMoveFile(const char* from, const char* to);

int unloggedSaveShortcut(const char* file, const ShortcutSpec& shortcut);
int unloggedOpenFile(const char* file, const char* parameters, const char* directory);
int unloggedRunAndWait(const char* program, const char* commandLine, int* exitCode);
int unloggedCallEntryPoint(PlatLibrary* library, const char* name);
int unloggedAddFont(const char* path);
int unloggedRemoveFont(const char* path);

// How a path that the script names is written in the log: the file the
// host really uses (on Linux the mapped path), taken before the change.
std::string loggedPath(const char* path);
