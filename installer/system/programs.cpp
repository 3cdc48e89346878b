#include "programs.h"
#include "../base/report.h"
#include "../fileops/fileops.h"
#include "../platform/shell.h"
#include "../platform/system.h"
#include <cstring>

void RunProgram(const char* file, const char* parameters, const char* dstdir) {
    if (!file) {
        reportDiagnostic("Run: the file has no value; nothing started");
        return;
    }
    if (platOpenFile(file, parameters, dstdir) != 0) reportDiagnostic("Run: cannot open %s", file);
}

std::string findProgram(const char* program) {
    if (!program || !*program) return "";
    const char* last = program;
    for (const char* p = program; *p; p++)
        if (*p == '\\' || *p == '/') last = p + 1;
    bool hasExtension = std::strchr(last, '.') != nullptr;
    static const char* const extensions[] = {"", ".com", ".exe", ".bat", ".cmd"};
    auto tryAt = [&](const std::string& base, std::string& found) {
        for (const char* extension : extensions) {
            if (*extension && hasExtension) break;
            std::string candidate = base + extension;
            if (candidate.size() < static_cast<size_t>(kPathBytes) && platIsFile(candidate.c_str())) {
                found = candidate;
                return true;
            }
        }
        return false;
    };
    std::string found;
    if (tryAt(program, found)) return found;
    if (std::strchr(program, '/')) return "";
    const char* path = platEnv("PATH");
    if (!path) return "";
    const char separators[2] = {platPathListSeparator(), 0};
    for (const char* dir = path; *dir;) {
        size_t n = std::strcspn(dir, separators);
        if (n > 0) {
            std::string base(dir, n);
            if (base.back() != '\\' && base.back() != '/') base += '\\';
            if (tryAt(base + program, found)) return found;
        }
        dir += n;
        if (*dir) dir++;
    }
    return "";
}

int RunWait(const char* program, const char* commandLine) {
    if (!program) {
        reportDiagnostic("RunWait: the program has no value; nothing started");
        return -1;
    }
    std::string found = findProgram(program);
    if (found.empty()) {
        reportDiagnostic("RunWait: program %s not found", program);
        return -1;
    }
    int code = 0;
    if (platRunAndWait(found.c_str(), commandLine, &code) != 0) {
        reportDiagnostic("RunWait: cannot start %s", found.c_str());
        return -1;
    }
    return code;
}

namespace {
SelfRegistration selfRegister(const char* path, const char* entryPoint, const char* missingKey) {
    const char* args[1] = {path};
    PlatLibrary* library = platLoadLibrary(path);
    if (!library) {
        reportDiagnostic("cannot load the library %s", path);
        reportErrorBox("ERROR_LOAD_DLL", args, 1);
        return LibraryNotLoaded;
    }
    int called = platCallEntryPoint(library, entryPoint);
    platFreeLibrary(library);
    if (called) return SelfRegistered;
    reportDiagnostic("the library %s has no %s", path, entryPoint);
    reportErrorBox(missingKey, args, 1);
    return EntryPointMissing;
}
}  // namespace

SelfRegistration RegisterLibrary(PlatWindow progress, const char* dstdir, const char* file) {
    char path[kPathBytes];
    if (!file || composePath(path, ReportQuietly, "%s\\%s", dstdir, file) != 0) {
        reportDiagnostic("Register: no library path can be made; nothing registered");
        return LibraryNotNamed;
    }
    reportProgress(progress, "REGISTERING_MSG", path);
    return selfRegister(path, "DllRegisterServer", "ERROR_REG_DLL");
}

SelfRegistration UnregisterLibrary(const char* file, const char* dir) {
    char path[kPathBytes];
    int composed = !file ? -1
                   : dir && *dir ? composePath(path, ReportQuietly, "%s\\%s", dir, file)
                                 : composePath(path, ReportQuietly, "%s", file);
    if (composed != 0) {
        reportDiagnostic("Unregister: no library path can be made; nothing unregistered");
        return LibraryNotNamed;
    }
    return selfRegister(path, "DllUnregisterServer", "ERROR_UREG_DLL");
}

int CheckForDLL(const char* library) {
    if (!library) {
        reportDiagnostic("CheckForDLL: the library has no value");
        return 0;
    }
    PlatLibrary* loaded = platLoadLibrary(library);
    if (!loaded) return 0;
    platFreeLibrary(loaded);
    return 1;
}

void RegisterFont(const char* path) {
    if (!path) reportDiagnostic("RegisterFont: the font file has no value");
    else if (platAddFont(path) != 0) reportDiagnostic("RegisterFont: cannot add the font %s", path);
}

void UnregisterFont(const char* path) {
    if (!path) reportDiagnostic("UnregisterFont: the font file has no value");
    else if (platRemoveFont(path) != 0) reportDiagnostic("UnregisterFont: cannot remove the font %s", path);
}
