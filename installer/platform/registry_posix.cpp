// The registry on Linux: one file in the .reg export format, read on every use
// and replaced atomically (temporary file and rename) under an advisory lock.
//
// The file is kept as its lines: a change rewrites the lines of the values it
// changes, adds lines for what it adds and drops the lines of what it
// deletes; every other line (comments, values of other types, lines it cannot
// read) stays byte for byte. Keys are found through a hash of their
// lower-case paths, so reading and rewriting take time in proportion to the
// size of the file.
#include "registry.h"
#include "hostpath_posix.h"
#include "../base/log.h"
#include "ui.h"
#include "../base/text.h"
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <set>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace {
const char kHeader[] = "Windows Registry Editor Version 5.00";
// How long a writer waits for another one holding the lock.
const int kLockWaitSeconds = 30;

// A value line (with its continuation lines), as bytes of the file.
struct ValueLine {
    size_t begin, end;  // the bytes of the line, line end included
    std::string name;   // "" with isDefault for the default value
    bool isDefault;
    std::string raw;    // the text after "=" as written, without the line end
};

// Bytes of the file, [begin, end).
struct Range {
    size_t begin, end;
};

// A key and where it is in the file; a key may have several sections.
struct KeyEntry {
    std::string path;
    std::vector<Range> lines;       // its header lines, and the blank lines of its sections
    std::vector<ValueLine> values;  // in file order; a later line of a name wins
    size_t insertAt;                // where a new value goes: after its last value or header
};

struct RegFile {
    bool exists = false;
    struct stat status {};
    std::string text;
    std::string eol = "\n";
    std::vector<KeyEntry> keys;
    std::unordered_map<std::string, size_t> index;  // lower-case path -> keys
    std::vector<size_t> brokenLines;                 // line numbers that could not be read
    std::vector<std::string> brokenTexts;
};

std::string registryPath() {
    const char* p = std::getenv("SETUP_REGISTRY");
    if (p && *p) return p;
    const char* data = std::getenv("XDG_DATA_HOME");
    std::string base = (data && *data) ? data : std::string(std::getenv("HOME") ? std::getenv("HOME") : "/tmp") + "/.local/share";
    return base + "/vexa/registry.reg";
}

// The file a registry path names: links are followed to their target, which
// is what a change replaces (a target that does not exist yet is created).
bool resolveLinks(const std::string& path, std::string& out) {
    out = path;
    for (int hops = 0; hops < 40; hops++) {
        struct stat st;
        if (lstat(out.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        std::vector<char> target(PATH_MAX + 1);
        ssize_t n = readlink(out.c_str(), target.data(), PATH_MAX);
        if (n <= 0) return false;
        std::string next(target.data(), static_cast<size_t>(n));
        if (next[0] != '/') {
            size_t slash = out.rfind('/');
            next = (slash == std::string::npos ? std::string() : out.substr(0, slash + 1)) + next;
        }
        out = next;
    }
    errno = ELOOP;
    return false;
}

std::string escaped(const std::string& s) {
    std::string q;
    for (char c : s) {
        if (c == '\\' || c == '"') q += '\\';
        q += c;
    }
    return q;
}
std::string quote(const std::string& s) { return "\"" + escaped(s) + "\""; }

// What every machine has before anything is installed.
std::string defaultText() {
    std::string programs = geteuid() == 0 ? "/opt" : std::string(std::getenv("HOME") ? std::getenv("HOME") : "") + "/.local/opt";
    return std::string(kHeader) + "\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\n" +
           "\"ProgramFilesDir\"=" + quote(programs) +
           "\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall]\n";
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

KeyEntry& keyFor(RegFile& f, const std::string& path) {
    std::string k = lowerAsciiText(path);
    auto it = f.index.find(k);
    if (it != f.index.end()) return f.keys[it->second];
    f.index.emplace(std::move(k), f.keys.size());
    f.keys.push_back(KeyEntry{path, {}, {}, 0});
    return f.keys.back();
}

// Reads the lines of the file's text into keys and values; lines it cannot
// read are noted and kept.
void parse(RegFile& f) {
    const std::string& text = f.text;
    size_t firstEnd = text.find('\n');
    if (firstEnd != std::string::npos && firstEnd > 0 && text[firstEnd - 1] == '\r') f.eol = "\r\n";
    f.index.reserve(text.size() / 48 + 16);
    f.keys.reserve(text.size() / 48 + 16);
    KeyEntry* current = nullptr;
    size_t pos = 0, lineNumber = 0;
    // the end of a line's content: before its line end
    auto contentEnd = [&](size_t begin, size_t end) {
        while (end > begin && (text[end - 1] == '\n' || text[end - 1] == '\r')) end--;
        return end;
    };
    auto broken = [&](size_t begin, size_t end) {
        f.brokenLines.push_back(lineNumber);
        if (f.brokenTexts.size() < 8) f.brokenTexts.push_back(text.substr(begin, end - begin));
    };
    while (pos < text.size()) {
        size_t begin = pos;
        size_t end = text.find('\n', pos);
        end = end == std::string::npos ? text.size() : end + 1;
        pos = end;
        lineNumber++;
        size_t last = contentEnd(begin, end);
        size_t i = begin;
        while (i < last && (text[i] == ' ' || text[i] == '\t')) i++;
        if (i >= last) {
            if (current) current->lines.push_back({begin, end});
            continue;
        }
        if (text[i] == ';' || text.compare(i, sizeof kHeader - 1, kHeader) == 0 || text.compare(i, 8, "REGEDIT4") == 0)
            continue;
        if (text[i] == '[') {
            size_t close = last;
            while (close > i + 1 && text[close - 1] != ']') close--;
            if (close <= i + 1) {
                current = nullptr;  // a header cut short: the values below it belong to no key
                broken(begin, last);
                continue;
            }
            current = &keyFor(f, text.substr(i + 1, close - 1 - (i + 1)));
            current->lines.push_back({begin, end});
            current->insertAt = end;
            continue;
        }
        ValueLine v{begin, end, "", false, ""};
        std::string line = text.substr(i, last - i);
        size_t at = 0;
        bool ok = current != nullptr;
        if (ok && line[0] == '@') {
            v.isDefault = true;
            at = 1;
        } else if (ok) {
            ok = readQuoted(line, at, v.name);
        }
        ok = ok && at < line.size() && line[at] == '=';
        if (!ok) {
            broken(begin, last);
            continue;
        }
        v.raw = line.substr(at + 1);
        // hex values continue on the next line after a final backslash
        while (!v.raw.empty() && v.raw.back() == '\\' && v.raw.compare(0, 3, "hex") == 0 && pos < text.size()) {
            size_t more = text.find('\n', pos);
            more = more == std::string::npos ? text.size() : more + 1;
            v.raw += "\n";
            v.raw.append(text, pos, contentEnd(pos, more) - pos);
            v.end = more;
            pos = more;
            lineNumber++;
        }
        current->insertAt = v.end;
        current->values.push_back(std::move(v));
    }
}

// Says once per file and run which lines cannot be read (they are kept).
void reportBrokenLines(const std::string& path, const RegFile& f) {
    static std::set<std::string> reported;
    if (f.brokenLines.empty() || !reported.insert(path).second) return;
    for (size_t i = 0; i < f.brokenLines.size() && i < 5 && i < f.brokenTexts.size(); i++) {
        std::string text = "setup: registry file " + path + ", line " + std::to_string(f.brokenLines[i]) +
                           ": cannot be read, kept as it is: " + f.brokenTexts[i].substr(0, 80);
        platDiagnostic(text.c_str());
    }
    if (f.brokenLines.size() > 5) {
        std::string text = "setup: registry file " + path + ": " + std::to_string(f.brokenLines.size() - 5) +
                           " more lines cannot be read and are kept as they are";
        platDiagnostic(text.c_str());
    }
}

void cannotUse(const std::string& path, const char* doing, const std::string& why) {
    std::string text = std::string("setup: cannot ") + doing + " the registry file " + path + ": " + why;
    platDiagnostic(text.c_str());
}

// Loads the file; false (said once) when it exists but cannot be read.
// Pipes, devices and directories are refused without waiting on them.
bool load(const std::string& path, RegFile& f) {
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            f.text = defaultText();
            parse(f);
            return true;
        }
        static std::set<std::string> reported;
        if (reported.insert(path).second) cannotUse(path, "read", std::strerror(errno));
        return false;
    }
    if (fstat(fd, &f.status) != 0 || !S_ISREG(f.status.st_mode)) {
        close(fd);
        static std::set<std::string> reported;
        if (reported.insert(path).second) cannotUse(path, "read", "it is not a regular file");
        return false;
    }
    f.exists = true;
    f.text.clear();
    if (f.status.st_size > 0) f.text.reserve(static_cast<size_t>(f.status.st_size));
    char buffer[1 << 16];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            int saved = errno;
            close(fd);
            cannotUse(path, "read", std::strerror(saved));
            return false;
        }
        f.text.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    parse(f);
    reportBrokenLines(path, f);
    return true;
}

std::string fullPath(RegRoot root, const char* key) {
    std::string k = key ? key : "";
    while (!k.empty() && k.back() == '\\') k.pop_back();
    return std::string(regRootName(root)) + (k.empty() ? "" : "\\" + k);
}

const KeyEntry* findKey(const RegFile& f, const std::string& path) {
    auto it = f.index.find(lowerAsciiText(path));
    return it == f.index.end() ? nullptr : &f.keys[it->second];
}

bool sameName(const ValueLine& v, const char* name) {
    return name ? (!v.isDefault && textEqualNoCase(v.name, name)) : v.isDefault;
}

// The line that gives a value: the last one of its name.
const ValueLine* findValue(const KeyEntry& k, const char* name) {
    for (size_t i = k.values.size(); i-- > 0;)
        if (sameName(k.values[i], name)) return &k.values[i];
    return nullptr;
}

// A change of the text: the bytes [begin, end) become text.
struct Splice {
    size_t begin, end;
    std::string text;
};

// The file's text with the splices made (they do not overlap).
std::string applied(const std::string& text, std::vector<Splice> splices) {
    std::sort(splices.begin(), splices.end(), [](const Splice& a, const Splice& b) {
        return a.begin != b.begin ? a.begin < b.begin : a.end < b.end;
    });
    std::string out;
    out.reserve(text.size() + 256);
    size_t at = 0;
    for (const Splice& s : splices) {
        out.append(text, at, s.begin - at);
        out += s.text;
        at = s.end;
    }
    out.append(text, at, std::string::npos);
    return out;
}

// The text that ends the file before lines are added at its end.
std::string endWithLine(const std::string& text, const std::string& eol) {
    if (text.empty() || text.back() == '\n') return "";
    // a last line cut after its carriage return lacks only the line feed
    return (text.back() == '\r' && eol == "\r\n") ? "\n" : eol;
}

// Splices that add the key (and the keys above it that are missing) at the
// end of the file, with the lines after the header.
void addKeyAtEnd(const RegFile& f, const std::string& path, const std::string& lines, std::vector<Splice>& out) {
    std::string added = endWithLine(f.text, f.eol);
    if (f.text.empty()) added += std::string(kHeader) + f.eol;
    for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1)) {
        std::string parent = path.substr(0, at);
        if (parent.find('\\') != std::string::npos && !findKey(f, parent)) added += f.eol + "[" + parent + "]" + f.eol;
    }
    added += f.eol + "[" + path + "]" + f.eol + lines;
    out.push_back({f.text.size(), f.text.size(), added});
}

// Removes temporary files that a writer killed before its rename left next
// to the file (<name>.XXXXXX); called under the lock, while no writer runs.
void removeStaleTemporaries(const std::string& file) {
    size_t slash = file.rfind('/');
    std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : file.substr(0, slash));
    std::string base = slash == std::string::npos ? file : file.substr(slash + 1);
    DIR* d = opendir(dir.c_str());
    if (!d) return;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name.size() != base.size() + 7 || name.compare(0, base.size(), base) != 0 || name[base.size()] != '.')
            continue;
        bool temporary = true;
        for (size_t i = base.size() + 1; i < name.size(); i++)
            if (!std::isalnum(static_cast<unsigned char>(name[i]))) temporary = false;
        struct stat st;
        std::string full = dir + "/" + name;
        if (temporary && lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode)) unlink(full.c_str());
    }
    closedir(d);
}

// Takes the lock of the file, waiting for another writer at most
// kLockWaitSeconds; -1 (said) when it cannot be had.
int takeLock(const std::string& file, bool exclusive) {
    std::string lockPath = file + ".lock";
    int lock = open(lockPath.c_str(), (exclusive ? O_CREAT | O_RDWR : O_RDONLY) | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (lock < 0) {
        if (exclusive) cannotUse(file, "change", std::strerror(errno));
        return -1;
    }
    for (int waited = 0;; waited++) {
        if (flock(lock, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) return lock;
        if (errno != EWOULDBLOCK && errno != EINTR) break;
        if (waited >= kLockWaitSeconds * 100) {
            errno = EWOULDBLOCK;
            break;
        }
        struct timespec pause = {0, 10 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
    int saved = errno;
    close(lock);
    if (exclusive)
        cannotUse(file, "change", saved == EWOULDBLOCK ? "another program has held it locked for too long"
                                                       : std::strerror(saved));
    return -1;
}

// Writes text as the new file, through a temporary file renamed over it; the
// mode and owner of the old file stay.
bool replaceFile(const std::string& file, const RegFile& old, const std::string& text) {
    std::string tmp = file + ".XXXXXX";
    std::vector<char> name(tmp.begin(), tmp.end());
    name.push_back(0);
    int fd = mkstemp(name.data());
    if (fd < 0) {
        cannotUse(file, "change", std::strerror(errno));
        return false;
    }
    bool ok = true;
    for (size_t done = 0; ok && done < text.size();) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ok = false;
        else done += static_cast<size_t>(n);
    }
    ok = ok && fsync(fd) == 0;
    int saved = errno;
    if (ok) {
        fchmod(fd, old.exists ? (old.status.st_mode & 07777) : 0644);
        if (old.exists && (old.status.st_uid != geteuid() || old.status.st_gid != getegid()))
            if (fchown(fd, old.status.st_uid, old.status.st_gid) != 0) {
                // an owner that cannot be kept leaves the writer's own
            }
    }
    if (close(fd) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (ok && rename(name.data(), file.c_str()) == 0) return true;
    if (ok) saved = errno;
    unlink(name.data());
    cannotUse(file, "change", std::strerror(saved));
    return false;
}

// Runs change on the file under the lock, and replaces the file when it
// changed. change returns -1 (failure, nothing written), 0 (done, nothing
// changed) or 1 (write the splices it gave).
template <typename Change>
int modify(Change change) {
    std::string file;
    if (!resolveLinks(registryPath(), file)) {
        cannotUse(registryPath(), "change", std::strerror(errno));
        return -1;
    }
    size_t slash = file.rfind('/');
    if (slash != std::string::npos && slash > 0 && !makeHostDirs(file.substr(0, slash))) {
        cannotUse(file, "change", std::strerror(errno));
        return -1;
    }
    int lock = takeLock(file, true);
    if (lock < 0) return -1;
    removeStaleTemporaries(file);
    int result = -1;
    RegFile f;
    if (load(file, f)) {
        std::vector<Splice> splices;
        int r = change(f, splices);
        if (r == 1) result = replaceFile(file, f, applied(f.text, splices)) ? 0 : -1;
        else result = r;
    }
    flock(lock, LOCK_UN);
    close(lock);
    return result;
}

// Loads under a shared lock when the lock file can be had.
bool loadLocked(RegFile& f) {
    std::string file;
    if (!resolveLinks(registryPath(), file)) return false;
    int lock = takeLock(file, false);
    bool ok = load(file, f);
    if (lock >= 0) {
        flock(lock, LOCK_UN);
        close(lock);
    }
    return ok;
}

// The line end of the line that ends at end: "\r\n", "\n", or none at the end of the file.
std::string lineEndOf(const std::string& text, size_t end) {
    if (end >= 2 && text.compare(end - 2, 2, "\r\n") == 0) return "\r\n";
    if (end >= 1 && text[end - 1] == '\n') return "\n";
    return "";
}

std::string valueLine(const RegFile& f, const char* name, const std::string& raw) {
    return (name ? quote(name) : std::string("@")) + "=" + raw + f.eol;
}
}  // namespace

int platRegGetString(RegRoot root, const char* key, const char* name, char* out, int size) {
    RegFile f;
    if (!loadLocked(f)) return -1;
    const KeyEntry* k = findKey(f, fullPath(root, key));
    if (!k) return -1;
    const ValueLine* v = findValue(*k, name);
    if (!v) return -1;
    size_t i = 0;
    std::string text;
    if (!readQuoted(v->raw, i, text)) return -1;  // not a string value
    if (text.size() + 1 > static_cast<size_t>(size)) return -1;  // does not fit, as on Windows
    std::memcpy(out, text.c_str(), text.size() + 1);
    return 0;
}

namespace {
int setString(RegRoot root, const char* key, const char* name, const char* value, bool& madeKey) {
    std::string v = value ? value : "";
    if (v.find_first_of("\r\n") != std::string::npos) return -1;  // not representable on one line
    std::string path = fullPath(root, key);
    return modify([&](RegFile& f, std::vector<Splice>& splices) {
        std::string raw = quote(v);
        const KeyEntry* k = findKey(f, path);
        if (!k) {
            addKeyAtEnd(f, path, valueLine(f, name, raw), splices);
            madeKey = true;
            return 1;
        }
        const ValueLine* existing = findValue(*k, name);
        if (existing) {
            if (existing->raw == raw && (!name || existing->name == name)) return 0;
            // the line keeps its own line end
            std::string line = (name ? quote(name) : std::string("@")) + "=" + raw + lineEndOf(f.text, existing->end);
            splices.push_back({existing->begin, existing->end, line});
        } else {
            std::string before = k->insertAt == f.text.size() ? endWithLine(f.text, f.eol) : "";
            splices.push_back({k->insertAt, k->insertAt, before + valueLine(f, name, raw)});
        }
        return 1;
    });
}
}  // namespace

int platRegSetString(RegRoot root, const char* key, const char* name, const char* value) {
    bool madeKey = false;
    int result = setString(root, key, name, value, madeKey);
    if (madeKey && result == 0) logRegistryChange("key created", regRootName(root), key, nullptr, nullptr, 0);
    logRegistryChange("value set", regRootName(root), key, name, value ? value : "", result);
    return result;
}

int platRegDeleteValue(RegRoot root, const char* key, const char* name) {
    std::string path = fullPath(root, key);
    int result = modify([&](RegFile& f, std::vector<Splice>& splices) {
        const KeyEntry* k = findKey(f, path);
        if (!k) return -1;
        // every line of that name goes, or an earlier one would show again
        for (const ValueLine& v : k->values)
            if (sameName(v, name)) splices.push_back({v.begin, v.end, ""});
        return splices.empty() ? -1 : 1;
    });
    // a value that was not there is no change
    if (result == 0) logRegistryChange("value deleted", regRootName(root), key, name ? name : "@", nullptr, result);
    return result;
}

int platRegCreateKey(RegRoot root, const char* key) {
    std::string path = fullPath(root, key);
    bool made = false;
    int result = modify([&](RegFile& f, std::vector<Splice>& splices) {
        if (findKey(f, path)) return 0;
        addKeyAtEnd(f, path, "", splices);
        made = true;
        return 1;
    });
    if (made || result < 0) logRegistryChange("key created", regRootName(root), key, nullptr, nullptr, result);
    return result;
}

int platRegValueExists(RegRoot root, const char* key, const char* name) {
    RegFile f;
    if (!loadLocked(f)) return -1;
    const KeyEntry* k = findKey(f, fullPath(root, key));
    if (!k) return 0;  // a missing key holds no value
    return findValue(*k, name) ? 1 : 0;
}

int platRegDeleteKey(RegRoot root, const char* key) {
    std::string path = fullPath(root, key);
    if (path.find('\\') == std::string::npos) return -1;  // a root stays
    int result = modify([&](RegFile& f, std::vector<Splice>& splices) {
        const KeyEntry* k = findKey(f, path);
        if (!k) return -1;
        std::string prefix = lowerAsciiText(path) + "\\";
        for (const auto& entry : f.index)
            if (entry.first.compare(0, prefix.size(), prefix) == 0) return -1;  // it has subkeys
        // its headers, values and blank lines go; comments and lines that
        // cannot be read stay
        for (const Range& r : k->lines) splices.push_back({r.begin, r.end, ""});
        for (const ValueLine& v : k->values) splices.push_back({v.begin, v.end, ""});
        return 1;
    });
    if (result == 0) logRegistryChange("key deleted", regRootName(root), key, nullptr, nullptr, result);
    return result;
}
