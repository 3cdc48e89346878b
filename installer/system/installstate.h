// The registry mark of an install in progress.
#pragma once

// Marks the install as started (InstallFailled = "1", Success = "0" under the
// vendor key). Returns 1 when a mark of an earlier run was there, 0 when not,
// -1 when the vendor key cannot be opened.
int MarkInstallStarted();
// Removes the InstallFailled mark.
void ClearFailureMark();
// Marks the install as successful: InstallFailled goes, Success = "1", and
// IE and Netscape hold the text of APP_VERSION.
void InstallSuccess();
// Deletes the runtime's file-class keys (deepest first; a key that keeps
// subkeys of its own stays) and the four values of the vendor key.
void CleanRegistry();
// Writes the uninstall entry name (DisplayName = name, UninstallString = command).
void SetUninstall(const char* name, const char* command);
// Deletes the uninstall entry name.
void DelUninstall(const char* name);
// Sets VEXApath to the directory of the runtime that the file classes open,
// and returns 1; 0 (VEXApath empty) when none is registered, or after a failure.
int DetectVEXA();
