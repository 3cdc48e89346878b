// The registry mark of an install in progress.
#pragma once
#include <string>

// Marks the install as started (InstallFailled = "1", Success = "0" under the
// vendor key). Returns 1 when a mark of an earlier run was there, 0 when not,
// -1 when the vendor key cannot be opened.
int MarkInstallStarted();
// Removes the InstallFailled mark; -1 (reported) when it is there and
// cannot be removed.
int ClearFailureMark();
// Marks the install as successful: InstallFailled goes, Success = "1", and
// IE and Netscape hold the version text (APP_VERSION; empty when absent).
// -1 (reported) when the registry could not be written.
int InstallSuccess(const char* version);
// Deletes the runtime's file-class keys (deepest first; a key that keeps
// subkeys of its own stays) and the four values of the vendor key. Keys and
// values that are not there are no failure; -1 (reported) when the vendor
// key cannot be opened.
int CleanRegistry();
// Writes the uninstall entry name (DisplayName = name, UninstallString =
// command); -1 (reported) when the registry cannot be written. An absent
// name or command is refused (reported), and is no failure of the registry.
int SetUninstall(const char* name, const char* command);
// Deletes the uninstall entry name.
void DelUninstall(const char* name);
// The directory of the runtime that the file classes open, in path, and 1;
// 0 (path empty) when none is registered, or when a failure is known.
int DetectVEXA(bool failureKnown, std::string& path);
