// What the install log sees of the platform: every file and folder written
// or removed, every shortcut, program, library and font. Logged here, around
// each platform's own work, so that nothing a run changes escapes the log and
// every platform words it the same way. Paths are taken before the change:
// a removed file's host path cannot be found afterwards.
#include "unlogged.h"
#include "../base/log.h"

static std::string shown(const char* path) {
    if (!logEnabled()) return std::string();
    return path ? loggedPath(path) : std::string("(none)");
}

PlatFile* platFileOpen(const char* path, const char* mode) {
    PlatFile* file = unloggedFileOpen(path, mode);
    if (logEnabled() && path && mode && (mode[0] == 'w' || mode[0] == 'a'))
        logChange(mode[0] == 'w' ? "file opened for writing" : "file opened for appending", shown(path).c_str(),
                  nullptr, file ? 0 : -1, platFailureText());
    return file;
}

int platCreateTempFile(const char* dir, const char* prefix, char* out, int size) {
    int result = unloggedCreateTempFile(dir, prefix, out, size);
    if (logEnabled()) logChange("temporary file created", shown(result == 0 ? out : dir).c_str(), nullptr, result);
    return result;
}

int platCreateDir(const char* path) {
    int result = unloggedCreateDir(path);
    if (result != 1) logChange("folder created", shown(path).c_str(), nullptr, result, platFailureText());
    return result;
}

int platDeleteFile(const char* path) {
    std::string before = shown(path);
    int result = unloggedDeleteFile(path);
    logChange("file deleted", before.c_str(), nullptr, result, platFailureText());
    return result;
}

int platRemoveDir(const char* path) {
    std::string before = shown(path);
    int result = unloggedRemoveDir(path);
    logChange("folder removed", before.c_str(), nullptr, result, platFailureText());
    return result;
}

int platRemoveLink(const char* path) {
    std::string before = shown(path);
    int result = unloggedRemoveLink(path);
    logChange("link removed", before.c_str(), nullptr, result, platFailureText());
    return result;
}

int platCopyFile(const char* from, const char* to) {
    std::string source = shown(from), target = shown(to);
    int result = unloggedCopyFile(from, to);
    logChange("file copied", source.c_str(), target.c_str(), result, platFailureText());
    return result;
}

int platMoveFile(const char* from, const char* to) {
    std::string source = shown(from), target = shown(to);
    int result = unloggedMoveFile(from, to);
    logChange("file moved", source.c_str(), target.c_str(), result, platFailureText());
    return result;
}

int platSaveShortcut(const char* file, const ShortcutSpec& shortcut) {
    int result = unloggedSaveShortcut(file, shortcut);
    if (logEnabled()) {
        auto path = [](const char* p) { return p ? logQuoted(shown(p).c_str()) : logQuoted(nullptr); };
        logLine("shortcut written: %s (target %s, folder %s, arguments %s)%s", shown(file).c_str(),
                path(shortcut.target).c_str(), path(shortcut.workDir).c_str(), logQuoted(shortcut.arguments).c_str(),
                result < 0 ? ": failed" : "");
    }
    return result;
}

int platOpenFile(const char* file, const char* parameters, const char* directory) {
    int result = unloggedOpenFile(file, parameters, directory);
    if (logEnabled())
        logLine("started without waiting: %s with %s in %s%s", logQuoted(file).c_str(), logQuoted(parameters).c_str(),
                logQuoted(directory).c_str(), result < 0 ? ": failed" : "");
    return result;
}

int platRunAndWait(const char* program, const char* commandLine, int* exitCode) {
    int code = 0;
    int result = unloggedRunAndWait(program, commandLine, &code);
    if (result == 0 && exitCode) *exitCode = code;
    if (logEnabled()) {
        std::string end = result < 0 ? std::string(": cannot be started") : ": exit code " + std::to_string(code);
        logLine("run and waited for: %s with %s%s", logQuoted(program).c_str(), logQuoted(commandLine).c_str(),
                end.c_str());
    }
    return result;
}

int platCallEntryPoint(PlatLibrary* library, const char* name) {
    int called = unloggedCallEntryPoint(library, name);
    logLine("library entry point %s: %s", name ? name : "(none)", called ? "called" : "not there");
    return called;
}

int platAddFont(const char* path) {
    int result = unloggedAddFont(path);
    logChange("font added", path, nullptr, result);
    return result;
}

int platRemoveFont(const char* path) {
    int result = unloggedRemoveFont(path);
    logChange("font removed", path, nullptr, result);
    return result;
}
