// Install state in the registry, set and cleared around every run.
#include "installstate.h"
#include "../platform/platform.h"

static const char kVendorKey[] = "Software\\Maroveth";

int MarkInstallStarted() {
    if (platRegCreateKey(RegLocalMachine, kVendorKey) != 0) return -1;
    int existed = platRegValueExists(RegLocalMachine, kVendorKey, "InstallFailled");
    if (existed < 0) return -1;
    platRegSetString(RegLocalMachine, kVendorKey, "InstallFailled", "1");
    platRegSetString(RegLocalMachine, kVendorKey, "Success", "0");
    return existed ? 1 : 0;
}

void ClearFailureMark() {
    if (platRegCreateKey(RegLocalMachine, kVendorKey) != 0) return;
    platRegDeleteValue(RegLocalMachine, kVendorKey, "InstallFailled");
}
