// The shell on Linux: the freedesktop folders and desktop entries, programs
// started with their arguments (never through a shell), shared libraries and
// the user's font folder.
#include "shell.h"
#include "unlogged.h"
#include "../base/log.h"
#include "hostpath_posix.h"
#include "../base/cmdline.h"
#include "../base/text.h"
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {
std::string homeDir() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    if (passwd* pw = getpwuid(getuid())) return pw->pw_dir ? pw->pw_dir : "/";
    return "/";
}

// An XDG base directory: the variable when it holds an absolute path (a
// relative one is ignored, as the base directory specification says), else
// the default below the home directory.
std::string xdgBase(const char* variable, const char* defaultBelowHome) {
    const char* v = std::getenv(variable);
    if (v && v[0] == '/') return v;
    return homeDir() + defaultBelowHome;
}

std::string withoutFinalSlash(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

std::string folderPath(ShellFolder folder) {
    switch (folder) {
    case FolderPrograms: return withoutFinalSlash(xdgBase("XDG_DATA_HOME", "/.local/share")) + "/applications";
    case FolderStartup: return withoutFinalSlash(xdgBase("XDG_CONFIG_HOME", "/.config")) + "/autostart";
    case FolderDesktop: {
        const char* d = std::getenv("XDG_DESKTOP_DIR");
        return withoutFinalSlash(d && d[0] == '/' ? d : homeDir() + "/Desktop");
    }
    }
    return "";
}

std::string absolute(const std::string& p) {
    if (p.empty() || p[0] == '/') return p;
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) return p;
    std::string base = cwd;
    return base == "/" ? "/" + p : base + "/" + p;
}

bool isRegularFile(const std::string& p) {
    struct stat st;
    return stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isProgram(const std::string& p) { return isRegularFile(p) && access(p.c_str(), X_OK) == 0; }

// The executable name found in a directory of PATH, or "".
std::string onPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    if (!path || name.empty() || name.find('/') != std::string::npos) return "";
    std::string list = path;
    size_t i = 0;
    while (i <= list.size()) {
        size_t j = list.find(':', i);
        if (j == std::string::npos) j = list.size();
        std::string dir = list.substr(i, j - i);
        if (!dir.empty() && isProgram(dir + "/" + name)) return dir + "/" + name;
        i = j + 1;
    }
    return "";
}

// Writes text to path through a temporary file renamed over it.
bool writeFileAtomically(const std::string& path, const std::string& text, mode_t mode) {
    std::string temp = path + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back(0);
    int fd = mkstemp(name.data());
    if (fd < 0) return false;
    bool ok = static_cast<size_t>(write(fd, text.data(), text.size())) == text.size();
    ok = fchmod(fd, mode) == 0 && ok;
    ok = close(fd) == 0 && ok;
    if (ok && rename(name.data(), path.c_str()) == 0) return true;
    unlink(name.data());
    return false;
}

std::string xmlText(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

bool endsWith(const std::string& s, const char* end) {
    size_t n = std::strlen(end);
    return s.size() >= n && s.compare(s.size() - n, n, end) == 0;
}

// The <Menu> element of a folder below the applications folder: one Include
// per desktop entry (by its desktop-file id, the path below applications with
// "-" for "/"), one nested menu per subfolder. Links are not followed.
// Returns the number of entries found.
int menuOf(const std::string& dir, const std::string& idPrefix, const std::string& name, const std::string& directory,
           const std::string& indent, int depth, std::string& out) {
    DIR* d = opendir(dir.c_str());
    if (!d) return 0;
    std::vector<std::string> entries, folders;
    while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n == "." || n == "..") continue;
        struct stat st;
        if (lstat((dir + "/" + n).c_str(), &st) != 0) continue;
        if (S_ISREG(st.st_mode) && endsWith(n, ".desktop")) entries.push_back(n);
        else if (S_ISDIR(st.st_mode)) folders.push_back(n);
    }
    closedir(d);
    std::sort(entries.begin(), entries.end());
    std::sort(folders.begin(), folders.end());
    std::string body;
    int count = static_cast<int>(entries.size());
    if (!entries.empty()) {
        body += indent + "  <Include>\n";
        for (const std::string& e : entries) body += indent + "    <Filename>" + xmlText(idPrefix + e) + "</Filename>\n";
        body += indent + "  </Include>\n";
    }
    if (depth < 8)
        for (const std::string& f : folders)
            count += menuOf(dir + "/" + f, idPrefix + f + "-", f, "", indent + "  ", depth + 1, body);
    if (count == 0) return 0;
    out += indent + "<Menu>\n" + indent + "  <Name>" + xmlText(toUtf8(name.c_str())) + "</Name>\n";
    if (!directory.empty()) out += indent + "  <Directory>" + xmlText(directory) + "</Directory>\n";
    out += body + indent + "</Menu>\n";
    return count;
}

// Starts argv[0] with argv in directory, detached from this process (a new
// session, its own child reaped at once). 0 when it was started.
int startDetached(const std::vector<std::string>& args, const std::string& directory) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return -1;
    pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return -1;
    }
    if (child == 0) {
        setsid();
        pid_t grandchild = fork();
        if (grandchild != 0) _exit(grandchild < 0 ? 1 : 0);
        if (!directory.empty() && chdir(directory.c_str()) != 0) {
            // a directory that is not there: the program starts where setup runs
        }
        // nothing of setup's terminal or pipes: whoever reads setup's output
        // would otherwise wait for the started program to end too
        int devnull = open("/dev/null", O_RDWR);
        if (devnull >= 0) {
            dup2(devnull, 0);
            dup2(devnull, 1);
            dup2(devnull, 2);
        }
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        if (std::strchr(argv[0], '/')) execv(argv[0], argv.data());
        else execvp(argv[0], argv.data());
        int error = errno;
        ssize_t written = write(report[1], &error, sizeof error);
        (void)written;
        _exit(127);
    }
    close(report[1]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t n;
    while ((n = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    close(report[0]);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return n > 0 ? -1 : 0;  // the program wrote nothing: exec worked
}

// Runs argv and waits, its output discarded; true when it ended with 0.
bool runQuietly(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return false;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string fontsDir() { return withoutFinalSlash(xdgBase("XDG_DATA_HOME", "/.local/share")) + "/fonts"; }

void refreshFontCache(const std::string& dir) {
    std::string fcCache = onPath("fc-cache");
    if (!fcCache.empty()) runQuietly({fcCache, dir});
}

std::string baseName(const std::string& p) {
    size_t slash = p.find_last_of('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

std::string readLink(const std::string& p) {
    char target[4096];
    ssize_t n = readlink(p.c_str(), target, sizeof target - 1);
    if (n < 0) return "";
    target[n] = 0;
    return target;
}
}  // namespace

int platShellFolder(ShellFolder folder, char* out, int size) {
    std::string path = folderPath(folder);
    if (path.empty() || !makeHostDirs(path) || path.size() + 1 > static_cast<size_t>(size)) return -1;
    std::memcpy(out, path.c_str(), path.size() + 1);
    return 0;
}

const char* platShortcutExtension() { return ".desktop"; }

int unloggedSaveShortcut(const char* file, const ShortcutSpec& shortcut) {
    if (!file || !shortcut.target || !shortcut.title) return -1;
    std::string path = hostPath(file);
    std::string target = absolute(hostPath(shortcut.target));
    struct stat st;
    // a program (or a file not there yet, taken as the program it will be)
    // is started itself; a document or a folder is opened by xdg-open
    bool program = stat(target.c_str(), &st) != 0 || (S_ISREG(st.st_mode) && access(target.c_str(), X_OK) == 0);
    std::string exec;
    if (program) {
        exec = quoteExecArgument(target);
        for (const std::string& a : splitCommandLine(shortcut.arguments)) exec += " " + quoteExecArgument(a);
    } else {
        exec = "xdg-open " + quoteExecArgument(target);
    }
    std::string text = "[Desktop Entry]\nType=Application\nName=" + escapeDesktopValue(toUtf8(shortcut.title)) +
                       "\nExec=" + escapeDesktopValue(exec) + "\n";
    if (shortcut.workDir && *shortcut.workDir)
        text += "Path=" + escapeDesktopValue(withoutFinalSlash(absolute(hostPath(shortcut.workDir)))) + "\n";
    if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return -1;
    return writeFileAtomically(path, text, 0755) ? 0 : -1;
}

void platProgramGroupChanged(const char* groupDir) {
    if (!groupDir) return;
    std::string programs = folderPath(FolderPrograms);
    std::string group = absolute(hostPath(groupDir));
    // the group's first folder below the applications folder: one submenu for it
    if (group.compare(0, programs.size() + 1, programs + "/") != 0) return;
    std::string top = group.substr(programs.size() + 1);
    top = top.substr(0, top.find('/'));
    if (top.empty() || top == "." || top == "..") return;
    std::string config = withoutFinalSlash(xdgBase("XDG_CONFIG_HOME", "/.config"));
    std::string data = withoutFinalSlash(xdgBase("XDG_DATA_HOME", "/.local/share"));
    std::string menuFile = config + "/menus/applications-merged/vexa-" + top + ".menu";
    std::string directoryName = "vexa-" + top + ".directory";
    std::string directoryFile = data + "/desktop-directories/" + directoryName;
    std::string menus;
    if (menuOf(programs + "/" + top, top + "-", top, directoryName, "  ", 0, menus) == 0) {
        // no entry left in the group: no submenu
        if (unlink(menuFile.c_str()) == 0) logChange("file deleted", menuFile.c_str(), nullptr, 0);
        if (unlink(directoryFile.c_str()) == 0) logChange("file deleted", directoryFile.c_str(), nullptr, 0);
        return;
    }
    std::string menu =
        "<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
        " \"http://www.freedesktop.org/standards/menu-spec/menu-1.0.dtd\">\n"
        "<Menu>\n  <Name>Applications</Name>\n" + menus + "</Menu>\n";
    std::string directory = "[Desktop Entry]\nType=Directory\nName=" + escapeDesktopValue(toUtf8(top.c_str())) + "\n";
    bool written = makeHostDirs(data + "/desktop-directories") && writeFileAtomically(directoryFile, directory, 0644);
    logChange("file written", directoryFile.c_str(), nullptr, written ? 0 : -1);
    written = makeHostDirs(config + "/menus/applications-merged") && writeFileAtomically(menuFile, menu, 0644);
    logChange("file written", menuFile.c_str(), nullptr, written ? 0 : -1);
}

int platIsFile(const char* path) { return path && isRegularFile(hostPath(path)) ? 1 : 0; }

char platPathListSeparator() { return ':'; }

int unloggedOpenFile(const char* file, const char* parameters, const char* directory) {
    if (!file || !*file) return -1;
    std::string host = hostPath(file);
    std::string dir = directory ? withoutFinalSlash(hostPath(directory)) : "";
    std::vector<std::string> args;
    std::string found = isProgram(host) ? absolute(host) : onPath(host);
    if (!found.empty()) {
        args.push_back(found);
        for (const std::string& a : splitCommandLine(parameters)) args.push_back(a);
    } else {
        // a document, a folder or an address: the desktop's own choice opens it
        struct stat st;
        args = {"xdg-open", stat(host.c_str(), &st) == 0 ? absolute(host) : std::string(file)};
    }
    return startDetached(args, dir);
}

int unloggedRunAndWait(const char* program, const char* commandLine, int* exitCode) {
    if (!program) return -1;
    std::string path = absolute(hostPath(program));
    std::vector<char*> argv = {const_cast<char*>(path.c_str())};
    std::string line = commandLine ? commandLine : "";
    if (!line.empty()) argv.push_back(const_cast<char*>(line.c_str()));
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    // a program ended by a signal gives 128 and the signal's number, as shells say
    int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    if (exitCode) *exitCode = code;
    return 0;
}

struct PlatLibrary {
    void* handle;
};

namespace {
void* openLibrary(const char* windowsPath) {
    std::string p = hostPath(windowsPath);
    // a bare name is searched by the loader; a file of that name here is this file
    if (p.find('/') == std::string::npos && isRegularFile(p)) p = "./" + p;
    return dlopen(p.c_str(), RTLD_NOW | RTLD_LOCAL);
}
}  // namespace

PlatLibrary* platLoadLibrary(const char* path) {
    if (!path || !*path) return nullptr;
    void* handle = openLibrary(path);
    size_t n = std::strlen(path);
    if (!handle && n > 4 && textEqualNoCase(path + n - 4, ".dll")) {
        std::string so = std::string(path, n - 4) + ".so";
        handle = openLibrary(so.c_str());
    }
    if (!handle) return nullptr;
    return new PlatLibrary{handle};
}

int unloggedCallEntryPoint(PlatLibrary* library, const char* name) {
    if (!library || !name) return 0;
    void* symbol = dlsym(library->handle, name);
    if (!symbol) return 0;
    typedef long (*EntryPoint)();
    EntryPoint entry;
    static_assert(sizeof entry == sizeof symbol, "function and data pointers differ");
    std::memcpy(&entry, &symbol, sizeof entry);
    entry();
    return 1;
}

void platFreeLibrary(PlatLibrary* library) {
    if (!library) return;
    dlclose(library->handle);
    delete library;
}

int unloggedAddFont(const char* path) {
    if (!path || !*path) return -1;
    std::string font = absolute(hostPath(path));
    if (!isRegularFile(font)) return -1;
    std::string dir = fontsDir();
    if (!makeHostDirs(dir)) return -1;
    std::string link = dir + "/" + baseName(font);
    struct stat st;
    if (lstat(link.c_str(), &st) == 0) {
        // there already: this font's link, or something else of that name, left alone
        if (!S_ISLNK(st.st_mode) || readLink(link) != font) return -1;
    } else if (symlink(font.c_str(), link.c_str()) != 0) {
        return -1;
    }
    refreshFontCache(dir);
    return 0;
}

int unloggedRemoveFont(const char* path) {
    if (!path || !*path) return -1;
    std::string font = absolute(hostPath(path));
    std::string dir = fontsDir();
    std::string link = dir + "/" + baseName(font);
    struct stat st;
    // only the link to this font goes, never a font file of that name
    if (lstat(link.c_str(), &st) != 0 || !S_ISLNK(st.st_mode) || readLink(link) != font) return -1;
    if (unlink(link.c_str()) != 0) return -1;
    refreshFontCache(dir);
    return 0;
}
