// The registry on Linux: one file in the .reg export format, read on every use
// and replaced atomically (temporary file and rename) under an advisory lock.
#include "registry.h"
#include "ui.h"
#include "../base/text.h"
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
struct RegValue {
    std::string name;  // "" with isDefault for the default value
    bool isDefault;
    std::string raw;   // the text after "=" as written in the file
};
struct RegKey {
    std::string path;
    std::vector<RegValue> values;
};
typedef std::vector<RegKey> RegTree;

const char kHeader[] = "Windows Registry Editor Version 5.00";


std::string registryPath() {
    const char* p = std::getenv("SETUP_REGISTRY");
    if (p && *p) return p;
    const char* data = std::getenv("XDG_DATA_HOME");
    std::string base = (data && *data) ? data : std::string(std::getenv("HOME") ? std::getenv("HOME") : "/tmp") + "/.local/share";
    return base + "/vexa/registry.reg";
}

// What every machine has before anything is installed.
RegTree defaultTree() {
    std::string programs = geteuid() == 0 ? "/opt" : std::string(std::getenv("HOME") ? std::getenv("HOME") : "") + "/.local/opt";
    std::string escaped;
    for (char c : programs) {
        if (c == '\\' || c == '"') escaped += '\\';
        escaped += c;
    }
    RegTree t;
    t.push_back({"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                 {{"ProgramFilesDir", false, "\"" + escaped + "\""}}});
    t.push_back({"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", {}});
    return t;
}

// Reads a quoted text starting at s[i] == '"'; i ends after the closing quote.
bool readQuoted(const std::string& s, size_t& i, std::string& out) {
    if (i >= s.size() || s[i] != '"') return false;
    i++;
    out.clear();
    while (i < s.size() && s[i] != '"') {
        if (s[i] == '\\' && i + 1 < s.size()) i++;
        out += s[i++];
    }
    if (i >= s.size()) return false;
    i++;
    return true;
}

std::string quote(const std::string& s) {
    std::string q = "\"";
    for (char c : s) {
        if (c == '\\' || c == '"') q += '\\';
        q += c;
    }
    return q + "\"";
}

RegTree parse(const std::string& text) {
    RegTree t;
    RegKey* current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        // hex values continue on the next line after a final backslash
        while (!line.empty() && (line.back() == '\r')) line.pop_back();
        while (!line.empty() && line.back() == '\\' && line.find("=hex") != std::string::npos && pos < text.size()) {
            end = text.find('\n', pos);
            if (end == std::string::npos) end = text.size();
            std::string more = text.substr(pos, end - pos);
            pos = end + 1;
            while (!more.empty() && more.back() == '\r') more.pop_back();
            line += "\n" + more;
        }
        size_t i = 0;
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) i++;
        if (i >= line.size() || line[i] == ';') continue;
        if (line[i] == '[') {
            size_t close = line.rfind(']');
            std::string path = line.substr(i + 1, close == std::string::npos || close < i ? std::string::npos : close - i - 1);
            current = nullptr;
            for (RegKey& k : t)
                if (textEqualNoCase(k.path, path)) current = &k;
            if (!current) {
                t.push_back({path, {}});
                current = &t.back();
            }
            continue;
        }
        if (!current) continue;  // the header line, or values before any key
        RegValue v;
        if (line[i] == '@') {
            v.isDefault = true;
            i++;
        } else {
            v.isDefault = false;
            if (!readQuoted(line, i, v.name)) continue;
        }
        if (i >= line.size() || line[i] != '=') continue;
        v.raw = line.substr(i + 1);
        // a later line for the same value replaces the earlier one, as an import does
        bool replaced = false;
        for (RegValue& old : current->values)
            if (old.isDefault == v.isDefault && textEqualNoCase(old.name, v.name)) {
                old = v;
                replaced = true;
            }
        if (!replaced) current->values.push_back(v);
    }
    return t;
}

std::string serialize(const RegTree& t) {
    std::string s = std::string(kHeader) + "\n";
    for (const RegKey& k : t) {
        s += "\n[" + k.path + "]\n";
        for (const RegValue& v : k.values) s += (v.isDefault ? std::string("@") : quote(v.name)) + "=" + v.raw + "\n";
    }
    return s;
}

std::string rootName(RegRoot root) {
    switch (root) {
    case RegClassesRoot: return "HKEY_CLASSES_ROOT";
    case RegCurrentUser: return "HKEY_CURRENT_USER";
    case RegLocalMachine: return "HKEY_LOCAL_MACHINE";
    }
    return "";
}

std::string fullPath(RegRoot root, const char* key) {
    std::string k = key ? key : "";
    while (!k.empty() && k.back() == '\\') k.pop_back();
    return k.empty() ? rootName(root) : rootName(root) + "\\" + k;
}

// Loads the tree; false when the file exists but cannot be read.
bool load(RegTree& t) {
    FILE* f = std::fopen(registryPath().c_str(), "rb");
    if (!f) {
        if (errno != ENOENT) return false;
        t = defaultTree();
        return true;
    }
    std::string text;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    std::fclose(f);
    t = parse(text);
    return true;
}

RegKey* findKey(RegTree& t, const std::string& path) {
    for (RegKey& k : t)
        if (textEqualNoCase(k.path, path)) return &k;
    return nullptr;
}

RegValue* findValue(RegKey& k, const char* name) {
    for (RegValue& v : k.values)
        if (name ? (!v.isDefault && textEqualNoCase(v.name, name)) : v.isDefault) return &v;
    return nullptr;
}

// Creates the key and every missing key above it.
RegKey* createKey(RegTree& t, const std::string& path) {
    size_t at = path.find('\\');
    while (at != std::string::npos) {
        std::string parent = path.substr(0, at);
        if (parent.find('\\') != std::string::npos && !findKey(t, parent)) t.push_back({parent, {}});
        at = path.find('\\', at + 1);
    }
    RegKey* k = findKey(t, path);
    if (!k) {
        t.push_back({path, {}});
        k = &t.back();
    }
    return k;
}

bool makeDirs(const std::string& file) {
    size_t slash = file.rfind('/');
    if (slash == std::string::npos || slash == 0) return true;
    std::string dir = file.substr(0, slash);
    for (size_t i = 1; i <= dir.size(); i++)
        if (i == dir.size() || dir[i] == '/') {
            std::string part = dir.substr(0, i);
            if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
        }
    return true;
}

// Runs change on the tree under the lock and replaces the file when it changed.
// change returns -1 (failure, nothing written), 0 (done, nothing changed) or 1 (write).
void cannotWrite(const std::string& path, const char* why) {
    std::string text = "setup: cannot change the registry file " + path + ": " + why;
    platDiagnostic(text.c_str());
}

template <typename Change>
int modify(Change change) {
    std::string path = registryPath();
    if (!makeDirs(path)) {
        cannotWrite(path, std::strerror(errno));
        return -1;
    }
    int lock = open((path + ".lock").c_str(), O_CREAT | O_RDWR, 0644);
    if (lock < 0 || flock(lock, LOCK_EX) != 0) {
        cannotWrite(path, std::strerror(errno));
        if (lock >= 0) close(lock);
        return -1;
    }
    int result = -1;
    RegTree t;
    if (!load(t)) {
        cannotWrite(path, "it cannot be read");
    } else {
        int r = change(t);
        if (r == 1) {
            std::string tmp = path + ".XXXXXX";
            std::vector<char> name(tmp.begin(), tmp.end());
            name.push_back(0);
            int fd = mkstemp(name.data());
            if (fd >= 0) {
                std::string text = serialize(t);
                bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
                ok = fsync(fd) == 0 && ok;
                fchmod(fd, 0644);
                close(fd);
                if (ok && rename(name.data(), path.c_str()) == 0) {
                    result = 0;
                } else {
                    cannotWrite(path, std::strerror(errno));
                    unlink(name.data());
                }
            } else {
                cannotWrite(path, std::strerror(errno));
            }
        } else {
            result = r;
        }
    }
    flock(lock, LOCK_UN);
    close(lock);
    return result;
}

// Loads under a shared lock when the lock file can be had.
bool loadLocked(RegTree& t) {
    std::string path = registryPath();
    int lock = open((path + ".lock").c_str(), O_RDONLY);
    if (lock >= 0) flock(lock, LOCK_SH);
    bool ok = load(t);
    if (lock >= 0) {
        flock(lock, LOCK_UN);
        close(lock);
    }
    return ok;
}
}  // namespace

int platRegGetString(RegRoot root, const char* key, const char* name, char* out, int size) {
    RegTree t;
    if (!loadLocked(t)) return -1;
    RegKey* k = findKey(t, fullPath(root, key));
    if (!k) return -1;
    RegValue* v = findValue(*k, name);
    if (!v) return -1;
    size_t i = 0;
    std::string text;
    if (!readQuoted(v->raw, i, text)) return -1;  // not a string value
    if (text.size() + 1 > static_cast<size_t>(size)) return -1;  // does not fit, as on Windows
    std::memcpy(out, text.c_str(), text.size() + 1);
    return 0;
}

int platRegSetString(RegRoot root, const char* key, const char* name, const char* value) {
    std::string v = value ? value : "";
    if (v.find_first_of("\r\n") != std::string::npos) return -1;  // not representable on one line
    std::string path = fullPath(root, key);
    return modify([&](RegTree& t) {
        RegKey* k = createKey(t, path);
        std::string raw = quote(v);
        RegValue* existing = findValue(*k, name);
        if (existing) {
            if (existing->raw == raw && (!name || existing->name == name)) return 0;
            existing->raw = raw;
            if (name) existing->name = name;
        } else {
            k->values.push_back({name ? name : "", name == nullptr, raw});
        }
        return 1;
    });
}

int platRegDeleteValue(RegRoot root, const char* key, const char* name) {
    std::string path = fullPath(root, key);
    return modify([&](RegTree& t) {
        RegKey* k = findKey(t, path);
        if (!k) return -1;
        for (size_t i = 0; i < k->values.size(); i++) {
            RegValue& v = k->values[i];
            if (name ? (!v.isDefault && textEqualNoCase(v.name, name)) : v.isDefault) {
                k->values.erase(k->values.begin() + static_cast<long>(i));
                return 1;
            }
        }
        return -1;
    });
}

int platRegCreateKey(RegRoot root, const char* key) {
    std::string path = fullPath(root, key);
    return modify([&](RegTree& t) {
        if (findKey(t, path)) return 0;
        createKey(t, path);
        return 1;
    });
}

int platRegValueExists(RegRoot root, const char* key, const char* name) {
    RegTree t;
    if (!loadLocked(t)) return -1;
    RegKey* k = findKey(t, fullPath(root, key));
    if (!k) return 0;  // a missing key holds no value
    return findValue(*k, name) ? 1 : 0;
}

int platRegDeleteKey(RegRoot root, const char* key) {
    std::string path = fullPath(root, key);
    if (path.find('\\') == std::string::npos) return -1;  // a root stays
    return modify([&](RegTree& t) {
        int at = -1;
        for (size_t i = 0; i < t.size(); i++) {
            if (textEqualNoCase(t[i].path, path)) at = static_cast<int>(i);
            else if (t[i].path.size() > path.size() && t[i].path[path.size()] == '\\' &&
                     textEqualNoCase(t[i].path.substr(0, path.size()), path))
                return -1;  // it has subkeys
        }
        if (at < 0) return -1;
        t.erase(t.begin() + at);
        return 1;
    });
}
