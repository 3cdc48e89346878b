// Install state in the registry, set and cleared around every run.
#include "installstate.h"
#include "../base/report.h"
#include "../platform/registry.h"
#include <cstring>
#include <string>

static const char kVendorKey[] = "Software\\Maroveth";

// Says that a registry write failed; returns -1.
static int registryFailed(const char* what) {
    reportDiagnostic("the registry cannot be written: %s", what);
    return -1;
}

int MarkInstallStarted() {
    if (platRegCreateKey(RegLocalMachine, kVendorKey) != 0) return registryFailed("the vendor key");
    int existed = platRegValueExists(RegLocalMachine, kVendorKey, "InstallFailled");
    if (existed < 0) return registryFailed("the vendor key");
    if (platRegSetString(RegLocalMachine, kVendorKey, "InstallFailled", "1") != 0 ||
        platRegSetString(RegLocalMachine, kVendorKey, "Success", "0") != 0)
        return registryFailed("the mark of an install in progress");
    return existed ? 1 : 0;
}

int ClearFailureMark() {
    if (platRegCreateKey(RegLocalMachine, kVendorKey) != 0) return registryFailed("the vendor key");
    // a mark that is not there is no failure
    int there = platRegValueExists(RegLocalMachine, kVendorKey, "InstallFailled");
    if (there < 0 || (there == 1 && platRegDeleteValue(RegLocalMachine, kVendorKey, "InstallFailled") != 0))
        return registryFailed("InstallFailled");
    return 0;
}

static const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

int InstallSuccess(const char* version) {
    if (ClearFailureMark() != 0) return -1;
    // the version text with its own length
    if (!version) reportDiagnostic("InstallSuccess: APP_VERSION is not set; IE and Netscape are left empty");
    if (platRegSetString(RegLocalMachine, kVendorKey, "Success", "1") != 0 ||
        platRegSetString(RegLocalMachine, kVendorKey, "IE", version ? version : "") != 0 ||
        platRegSetString(RegLocalMachine, kVendorKey, "Netscape", version ? version : "") != 0)
        return registryFailed("the mark of a successful install");
    return 0;
}

int CleanRegistry() {
    // ORDER: deepest keys first, so each can go once its subkeys are gone
    static const char* const classKeys[] = {
        "vxm_auto_file\\shell\\open\\command", "vxm_auto_file\\shell\\open", "vxm_auto_file\\DefaultIcon",
        "vxm_auto_file\\shell", "vxm_auto_file", ".vxm",
        "vexa_file\\shell\\open\\command", "vexa_file\\shell\\open", "vexa_file\\DefaultIcon",
        "vexa_file\\shell", "vexa_file", ".vexa"};
    for (const char* key : classKeys) platRegDeleteKey(RegClassesRoot, key);
    if (platRegCreateKey(RegLocalMachine, kVendorKey) != 0) return registryFailed("the vendor key");
    static const char* const values[] = {"InstallFailled", "IE", "Netscape", "Success"};
    for (const char* value : values) platRegDeleteValue(RegLocalMachine, kVendorKey, value);
    return 0;
}

// The uninstall entry's key; false (reported) for an absent or empty name,
// which would name the list of entries itself.
static bool uninstallKey(const char* command, const char* name, std::string& key) {
    if (!name || !*name) {
        reportDiagnostic("%s: no entry name given; nothing done", command);
        return false;
    }
    key = std::string(kUninstallKey) + "\\" + name;
    return true;
}

int SetUninstall(const char* name, const char* command) {
    std::string key;
    if (!uninstallKey("SetUninstall", name, key)) return 0;
    if (!command) {
        reportDiagnostic("SetUninstall: no uninstall command given; nothing written");
        return 0;
    }
    if (platRegSetString(RegLocalMachine, key.c_str(), "DisplayName", name) != 0 ||
        platRegSetString(RegLocalMachine, key.c_str(), "UninstallString", command) != 0)
        return registryFailed("the uninstall entry");
    return 0;
}

void DelUninstall(const char* name) {
    std::string key;
    if (uninstallKey("DelUninstall", name, key)) platRegDeleteKey(RegLocalMachine, key.c_str());
}

int DetectVEXA(bool failureKnown, std::string& path) {
    path.clear();
    if (failureKnown) return 0;
    char command[1024];
    if (platRegGetString(RegClassesRoot, "vexa_file\\shell\\open\\command", nullptr, command, sizeof command) != 0 &&
        platRegGetString(RegClassesRoot, "vxm_auto_file\\shell\\open\\command", nullptr, command, sizeof command) != 0)
        return 0;
    if (!std::strstr(command, "qoltwin.exe")) return 0;
    // cut at the last separator of the whole text, arguments included
    char* cut = nullptr;
    for (char* p = command; *p; p++)
        if (*p == '\\' || *p == '/') cut = p;
    // without any separator the runtime's directory is not known: VEXApath stays empty
    if (!cut) return 1;
    *cut = 0;
    path = command[0] == '"' ? command + 1 : command;
    return 1;
}
