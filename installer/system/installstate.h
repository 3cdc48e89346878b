// The registry mark of an install in progress.
#pragma once

// Marks the install as started (InstallFailled = "1", Success = "0" under the
// vendor key). Returns 1 when a mark of an earlier run was there, 0 when not,
// -1 when the vendor key cannot be opened.
int MarkInstallStarted();
// Removes the InstallFailled mark.
void ClearFailureMark();
