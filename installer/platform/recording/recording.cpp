// The recording platform: every service of the platform layer, in memory.
#include "recording.h"
#include "../files.h"
#include "../net.h"
#include "../registry.h"
#include "../shell.h"
#include "../system.h"
#include "../ui.h"
#include "../unlogged.h"
#include "../../base/log.h"
#include "../../base/report.h"
#include "../../base/text.h"
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

namespace {
struct Node {
    std::string path;  // as created, case kept
    bool dir = false;
    bool link = false;
    bool linkToDir = false;
    std::string target;
    std::string data;
    bool readOnly = false;
    // what the shell sees in the file
    bool isShortcut = false;
    recording::RecordedShortcut shortcut;
    bool isLibrary = false;
    std::vector<std::string> entryPoints;
    int exitCode = 0;
    bool startable = true;
};

struct RegKeyData {
    std::string path;
    std::map<std::string, std::pair<std::string, std::string>> values;  // lower name -> {name, value}
};

struct Scripted {
    std::string choice;
    std::vector<std::string> fields;
    std::string text;
};

struct State {
    std::map<std::string, Node> nodes;  // key: lower-case full path
    std::set<std::string> failWriteKeys, failOpenKeys;
    std::vector<std::string> fixedDrives{"c:", "d:"};
    std::string currentDir = "C:\\setup";
    std::map<std::string, RegKeyData> registry;  // key: lower-case "ROOT\\path"
    bool failRegistry = false;
    std::map<std::string, std::string> env;
    unsigned language = 0x0409;
    std::vector<Scripted> answers;
    std::vector<Question> asked;
    std::vector<std::string> calls, progress, diagnostics, reports;
    bool restart = false;
    unsigned tempCounter = 0;
    intptr_t nextWindow = 1;
    bool failShellFolders = false;
    std::vector<std::string> fonts;  // full paths as added
    bool socketsThere = true;
    int socketsMajor = 1, socketsMinor = 1;
    std::set<std::string> missingProtocols;
    std::set<int> takenPorts;
    std::map<PlatSocket, int> openSockets;  // open sockets and their bound port (0: none)
    PlatSocket nextSocket = 100;
    std::string failure;  // platFailureText
};
State* state = nullptr;
unsigned long erasures = 0;  // nodes erased (or all of them, by reset): an open file's node may be gone

State& st() {
    if (!state) {
        state = new State;
        recording::reset();
    }
    return *state;
}

// The full path in Windows form: drive, backslashes, "." and ".." resolved.
std::string normal(const std::string& path) {
    std::string p = path;
    std::replace(p.begin(), p.end(), '/', '\\');
    std::string drive;
    if (p.size() >= 2 && p[1] == ':') {
        drive = p.substr(0, 2);
        p = p.substr(2);
        if (p.empty() || p[0] != '\\') p = "\\" + p;  // "c:x": taken from the root
    } else {
        drive = st().currentDir.substr(0, 2);
        if (p.empty() || p[0] != '\\') p = st().currentDir.substr(2) + "\\" + p;
    }
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= p.size()) {
        size_t j = p.find('\\', i);
        if (j == std::string::npos) j = p.size();
        std::string part = p.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    drive[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(drive[0])));
    std::string out = drive;
    for (const std::string& part : parts) out += "\\" + part;
    return parts.empty() ? out + "\\" : out;
}

std::string keyOf(const std::string& path) { return lowerAsciiText(normal(path)); }

void eraseNode(const std::string& key) {
    st().nodes.erase(key);
    erasures++;
}

std::string parentKey(const std::string& key) {
    size_t cut = key.rfind('\\');
    if (cut == std::string::npos || cut <= 2) return key.substr(0, 2) + "\\";
    return key.substr(0, cut);
}

Node* find(const std::string& path) {
    auto it = st().nodes.find(keyOf(path));
    return it == st().nodes.end() ? nullptr : &it->second;
}

bool parentIsDir(const std::string& key) {
    auto it = st().nodes.find(parentKey(key));
    return it != st().nodes.end() && it->second.dir && !it->second.link;
}

int record(int result, const std::string& call) {
    st().calls.push_back(call + " = " + std::to_string(result));
    return result;
}

std::string q(const char* s) { return s ? "\"" + std::string(s) + "\"" : "null"; }

void copyOut(char* out, int size, const std::string& s) {
    if (size <= 0) return;
    copyText(out, static_cast<size_t>(size), s.c_str());
}

std::string regPath(RegRoot root, const char* key) {
    std::string k = key ? key : "";
    while (!k.empty() && k.back() == '\\') k.pop_back();
    return std::string(regRootName(root)) + (k.empty() ? "" : "\\" + k);
}

RegKeyData* regFind(const std::string& path) {
    auto it = st().registry.find(lowerAsciiText(path));
    return it == st().registry.end() ? nullptr : &it->second;
}

RegKeyData& regCreate(const std::string& path) {
    for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1)) {
        std::string parent = path.substr(0, at);
        if (!regFind(parent)) st().registry[lowerAsciiText(parent)].path = parent;
    }
    RegKeyData& k = st().registry[lowerAsciiText(path)];
    if (k.path.empty()) k.path = path;
    return k;
}

std::string valueKey(const char* name) { return name ? lowerAsciiText(name) : std::string("@"); }
}  // namespace

namespace recording {

const char* const kProgramsFolder = "C:\\Users\\user\\Start Menu\\Programs";
const char* const kStartupFolder = "C:\\Users\\user\\Start Menu\\Programs\\Startup";
const char* const kDesktopFolder = "C:\\Users\\user\\Desktop";

void reset() {
    if (!state) state = new State;
    *state = State();
    erasures++;
    for (const char* d : {"C:\\", "D:\\", "C:\\setup", kProgramsFolder, kStartupFolder, kDesktopFolder}) addDir(d);
    regCreate("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion")
        .values["programfilesdir"] = {"ProgramFilesDir", "C:\\Program Files"};
    regCreate("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
}

void addDir(const std::string& path) {
    std::string full = normal(path);
    std::string key = lowerAsciiText(full);
    if (key.size() > 3) addDir(parentKey(full));
    Node& n = st().nodes[key];
    n.path = full;
    n.dir = true;
}

void addFile(const std::string& path, const std::string& data, bool readOnly) {
    std::string full = normal(path);
    addDir(parentKey(full));
    Node& n = st().nodes[lowerAsciiText(full)];
    n = Node();
    n.path = full;
    n.data = data;
    n.readOnly = readOnly;
}

void addLink(const std::string& path, const std::string& target, bool toDirectory) {
    std::string full = normal(path);
    addDir(parentKey(full));
    Node& n = st().nodes[lowerAsciiText(full)];
    n = Node();
    n.path = full;
    n.link = true;
    n.linkToDir = toDirectory;
    n.dir = toDirectory;
    n.target = normal(target);
}

bool exists(const std::string& path) { return find(path) != nullptr; }
bool isDir(const std::string& path) {
    Node* n = find(path);
    return n && n->dir && !n->link;
}
bool isReadOnly(const std::string& path) {
    Node* n = find(path);
    return n && n->readOnly;
}
std::string content(const std::string& path) {
    Node* n = find(path);
    return n ? n->data : "";
}

std::vector<std::string> tree(const std::string& path) {
    std::string key = keyOf(path);
    std::vector<std::string> out;
    for (const auto& kv : st().nodes)
        if (kv.first == key || (kv.first.size() > key.size() && kv.first.compare(0, key.size(), key) == 0 &&
                                kv.first[key.size()] == '\\'))
            out.push_back(kv.second.path + (kv.second.dir && !kv.second.link ? "\\" : ""));
    return out;
}

void failWrites(const std::string& path) { st().failWriteKeys.insert(keyOf(path)); }
void failOpen(const std::string& path) { st().failOpenKeys.insert(keyOf(path)); }
void setFixedDrives(const std::vector<std::string>& roots) { st().fixedDrives = roots; }

std::string registryValue(RegRoot root, const std::string& key, const char* name) {
    RegKeyData* k = regFind(regPath(root, key.c_str()));
    if (!k) return "<absent>";
    auto it = k->values.find(valueKey(name));
    return it == k->values.end() ? "<absent>" : it->second.second;
}

bool registryKeyExists(RegRoot root, const std::string& key) { return regFind(regPath(root, key.c_str())) != nullptr; }
void failRegistryWrites(bool fail) { st().failRegistry = fail; }

void setEnv(const std::string& name, const std::string& value) { st().env[name] = value; }
void setUserLanguage(unsigned languageId) { st().language = languageId; }

void answer(const std::string& choice, const std::vector<std::string>& fields, const std::string& text) {
    st().answers.push_back({choice, fields, text});
}
const std::vector<Question>& asked() { return st().asked; }
const std::vector<std::string>& calls() { return st().calls; }
const std::vector<std::string>& progressTexts() { return st().progress; }
const std::vector<std::string>& diagnostics() { return st().diagnostics; }
const std::vector<std::string>& reports() { return st().reports; }
bool restartRequested() { return st().restart; }

void failShellFolders(bool fail) { st().failShellFolders = fail; }

bool shortcut(const std::string& path, RecordedShortcut& out) {
    Node* n = find(path);
    if (!n || !n->isShortcut) return false;
    out = n->shortcut;
    return true;
}

void addLibrary(const std::string& path, const std::vector<std::string>& entryPoints) {
    addFile(path, "MZ library");
    Node* n = find(path);
    n->isLibrary = true;
    n->entryPoints = entryPoints;
}

void addProgram(const std::string& path, int exitCode, bool startable) {
    addFile(path, "MZ program");
    Node* n = find(path);
    n->exitCode = exitCode;
    n->startable = startable;
}

std::vector<std::string> fonts() { return st().fonts; }

void setSockets(bool available, int major, int minor) {
    st().socketsThere = available;
    st().socketsMajor = major;
    st().socketsMinor = minor;
}
void removeProtocol(const std::string& name) { st().missingProtocols.insert(name); }
void takePort(int port) { st().takenPorts.insert(port); }

}  // namespace recording

// ---- files.h

struct PlatFile {
    std::string key;
    Node* node = nullptr;       // the file's node, valid while no node was erased
    unsigned long erased = 0;
    size_t pos = 0;
    bool canRead = false, canWrite = false, append = false, atEnd = false, failed = false;
};

PlatFile* unloggedFileOpen(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    std::string key = keyOf(path);
    Node* n = find(path);
    bool plus = std::strchr(mode, '+') != nullptr;
    PlatFile f;
    f.key = key;
    if (st().failOpenKeys.count(key) || (n && (n->dir || n->link))) {
        st().failure = n && n->dir ? "a directory, not a file" : "cannot be opened";
        record(-1, std::string("open(") + q(path) + ", " + mode + ")");
        return nullptr;
    }
    if (mode[0] == 'w' && std::strchr(mode, 'x') && n) {
        st().failure = "exists already";
        record(-1, std::string("open(") + q(path) + ", " + mode + ")");
        return nullptr;
    }
    if (mode[0] == 'r') {
        if (!n) return nullptr;
        f.canRead = true;
        f.canWrite = plus;
    } else if (mode[0] == 'w' || mode[0] == 'a') {
        if ((n && n->readOnly) || (!n && !parentIsDir(key))) {
            record(-1, std::string("open(") + q(path) + ", " + mode + ")");
            return nullptr;
        }
        if (!n) recording::addFile(path, "");
        if (mode[0] == 'w') find(path)->data.clear();
        f.canWrite = true;
        f.canRead = plus;
        f.append = mode[0] == 'a';
        record(0, std::string("open(") + q(path) + ", " + mode + ")");
    } else {
        return nullptr;
    }
    return new PlatFile(f);
}

int platFileClose(PlatFile* file) {
    if (!file) return -1;
    int result = file->failed ? -1 : 0;
    if (file->canWrite) record(result, "close(\"" + file->key + "\")");
    delete file;
    return result;
}

int platFileSync(PlatFile* file) {
    if (!file) return -1;
    return record(file->failed ? -1 : 0, "sync(\"" + file->key + "\")");
}

const char* platFailureText() { return st().failure.c_str(); }

static Node* fileNode(PlatFile* f) {
    if (f->node && f->erased == erasures) return f->node;
    auto it = st().nodes.find(f->key);
    f->node = it == st().nodes.end() ? nullptr : &it->second;
    f->erased = erasures;
    return f->node;
}

int platFileGetc(PlatFile* file) {
    Node* n = fileNode(file);
    if (!file->canRead || !n || file->pos >= n->data.size()) {
        file->atEnd = true;
        return -1;
    }
    return static_cast<unsigned char>(n->data[file->pos++]);
}

void platFileUngetc(PlatFile* file, int) {
    if (file->pos > 0) file->pos--;
    file->atEnd = false;
}

size_t platFileRead(PlatFile* file, void* buffer, size_t size) {
    size_t n = 0;
    for (int c; n < size && (c = platFileGetc(file)) >= 0; n++) static_cast<char*>(buffer)[n] = static_cast<char>(c);
    return n;
}

int platFileWrite(PlatFile* file, const char* data, size_t size) {
    Node* n = fileNode(file);
    if (!file->canWrite || !n || st().failWriteKeys.count(file->key)) {
        st().failure = "No space left on device";
        file->failed = true;
        return -1;
    }
    if (file->append) file->pos = n->data.size();
    if (file->pos > n->data.size()) n->data.resize(file->pos);
    n->data.replace(file->pos, std::min(size, n->data.size() - file->pos), data, size);
    file->pos += size;
    return 0;
}

int platFilePuts(PlatFile* file, const char* text) { return platFileWrite(file, text, std::strlen(text)); }

// A line piece straight from the node's bytes: a carriage return before a
// line feed is dropped, as text mode does.
int platFileReadPiece(PlatFile* file, char* buffer, int size) {
    Node* n = fileNode(file);
    int count = 0;
    if (file->canRead && n && size > 1) {
        const std::string& data = n->data;
        while (count < size - 1 && file->pos < data.size()) {
            const char* start = data.data() + file->pos;
            size_t left = data.size() - file->pos;
            size_t room = static_cast<size_t>(size - 1 - count);
            const char* stop = static_cast<const char*>(std::memchr(start, '\n', std::min(left, room)));
            const char* cr = static_cast<const char*>(std::memchr(start, '\r', std::min(left, room)));
            size_t take = stop ? static_cast<size_t>(stop - start) + 1 : std::min(left, room);
            if (cr && (!stop || cr < stop)) take = static_cast<size_t>(cr - start);  // up to the carriage return
            std::memcpy(buffer + count, start, take);
            count += static_cast<int>(take);
            file->pos += take;
            if (stop && !(cr && cr < stop)) break;  // the line feed ends the piece
            if (cr && (!stop || cr < stop)) {
                file->pos++;  // past the carriage return
                if (file->pos < data.size() && data[file->pos] == '\n') {
                    buffer[count++] = '\n';
                    file->pos++;
                    break;
                }
                buffer[count++] = '\r';
            }
        }
    }
    // as a byte-by-byte read meets the end of the file
    if (count == 0 || (n && file->pos >= n->data.size() && buffer[count - 1] != '\n' && count < size - 1))
        file->atEnd = true;
    buffer[size > 0 ? count : 0] = 0;
    return count;
}

int platFileReadable(const char* path) {
    Node* n = path ? find(path) : nullptr;
    return n && !n->dir && !n->link && !st().failOpenKeys.count(keyOf(path)) ? 1 : 0;
}

long platFileTell(PlatFile* file) { return static_cast<long>(file->pos); }

int platFileHasUtf8Bom(PlatFile* file) {
    Node* n = file ? find(file->key) : nullptr;
    return n && startsWithUtf8Bom(n->data.c_str()) ? 1 : 0;
}

int platFileSeek(PlatFile* file, long offset, int whence) {
    Node* n = fileNode(file);
    long base = whence == SEEK_END ? static_cast<long>(n ? n->data.size() : 0) : 0;
    if (base + offset < 0) return -1;
    file->pos = static_cast<size_t>(base + offset);
    file->atEnd = false;
    return 0;
}

int platFileAtEnd(PlatFile* file) { return file->atEnd ? 1 : 0; }

int platPathMatches(const char* pattern) {
    if (!pattern) return 0;
    std::string full = normal(pattern);
    size_t cut = full.rfind('\\');
    std::string last = full.substr(cut + 1);
    if (last.find_first_of("*?") == std::string::npos) return find(full) ? 1 : 0;
    std::string dirKey = lowerAsciiText(cut <= 2 ? full.substr(0, 3) : full.substr(0, cut));
    for (const auto& kv : st().nodes)
        if (kv.first != dirKey && parentKey(kv.first) == dirKey) {
            std::string name = kv.second.path.substr(kv.second.path.rfind('\\') + 1);
            if (wildcardMatchNoCase(last.c_str(), name.c_str())) return 1;
        }
    return 0;
}

int platFileNonEmpty(const char* path) {
    Node* n = path ? find(path) : nullptr;
    return n && !n->dir && !n->link && !n->data.empty();
}

int unloggedCreateTempFile(const char* dir, const char* prefix, char* out, int size) {
    std::string d = dir ? dir : "";
    if (!d.empty() && d.back() != '\\' && d.back() != '/') d += '\\';
    Node* parent = find(dir ? dir : "");
    if (!parent || !parent->dir) return record(-1, std::string("createTempFile(") + q(dir) + ")");
    std::string path;
    do {
        char name[32];
        std::snprintf(name, sizeof name, "%.3s%X.tmp", prefix, ++st().tempCounter);
        path = d + name;
    } while (find(path));
    if (path.size() >= static_cast<size_t>(size)) return -1;
    recording::addFile(path, "");
    copyOut(out, size, path);
    return record(0, "createTempFile(" + q(path.c_str()) + ")");
}

int unloggedCreateDir(const char* path) {
    std::string call = std::string("createDir(") + q(path) + ")";
    std::string key = keyOf(path ? path : "");
    Node* n = find(path ? path : "");
    if (n) return record(n->dir && !n->link ? 1 : -1, call);
    if (!parentIsDir(key)) return record(-1, call);
    recording::addDir(path);
    return record(0, call);
}

int platClearAttributes(const char* path) {
    Node* n = path ? find(path) : nullptr;
    if (!n || n->link) return record(-1, std::string("clearAttributes(") + q(path) + ")");
    n->readOnly = false;
    return record(0, std::string("clearAttributes(") + q(path) + ")");
}

int unloggedDeleteFile(const char* path) {
    std::string call = std::string("deleteFile(") + q(path) + ")";
    Node* n = path ? find(path) : nullptr;
    if (!n || (n->dir && !n->link) || n->readOnly) return record(-1, call);
    eraseNode(keyOf(path));
    return record(0, call);
}

int unloggedRemoveDir(const char* path) {
    std::string call = std::string("removeDir(") + q(path) + ")";
    Node* n = path ? find(path) : nullptr;
    if (!n || !n->dir || n->link) return record(-1, call);
    std::string key = keyOf(path);
    for (const auto& kv : st().nodes)
        if (kv.first != key && parentKey(kv.first) == key) return record(-1, call);
    eraseNode(key);
    return record(0, call);
}

int unloggedRemoveLink(const char* path) {
    std::string call = std::string("removeLink(") + q(path) + ")";
    Node* n = path ? find(path) : nullptr;
    if (!n || !n->link) return record(-1, call);
    eraseNode(keyOf(path));
    return record(0, call);
}

int unloggedCopyFile(const char* from, const char* to) {
    std::string call = std::string("copyFile(") + q(from) + ", " + q(to) + ")";
    Node* source = from ? find(from) : nullptr;
    if (!source || source->dir || source->link || !to) {
        st().failure = source ? "not a regular file" : "No such file or directory";
        return record(-1, call);
    }
    std::string key = keyOf(to);
    Node* target = find(to);
    // a read-only target is replaced too; a failure leaves it as it was
    if ((target && target->dir && !target->link) || !parentIsDir(key) || st().failWriteKeys.count(key)) {
        st().failure = "cannot write the target";
        return record(-1, call);
    }
    Node copy = *source;
    copy.path = target ? target->path : normal(to);
    copy.readOnly = false;  // the copy is writable
    st().nodes[key] = copy;
    return record(0, call);
}

int unloggedMoveFile(const char* from, const char* to) {
    std::string call = std::string("moveFile(") + q(from) + ", " + q(to) + ")";
    Node* source = from ? find(from) : nullptr;
    if (!source || !to) {
        st().failure = "No such file or directory";
        return record(-1, call);
    }
    std::string key = keyOf(to);
    Node* target = find(to);
    if ((target && target->dir && !target->link) || !parentIsDir(key) || st().failWriteKeys.count(key)) {
        st().failure = "cannot write the target";
        return record(-1, call);
    }
    std::string fromKey = keyOf(from);
    std::string toFull = target ? target->path : normal(to);
    // a directory moves with everything below it
    std::vector<std::pair<std::string, Node>> moved;
    for (const auto& kv : st().nodes)
        if (kv.first == fromKey || (kv.first.size() > fromKey.size() &&
                                    kv.first.compare(0, fromKey.size(), fromKey) == 0 && kv.first[fromKey.size()] == '\\'))
            moved.push_back(kv);
    for (auto& m : moved) {
        eraseNode(m.first);
        m.second.path = toFull + m.second.path.substr(normal(from).size());
    }
    for (auto& m : moved) st().nodes[lowerAsciiText(m.second.path)] = m.second;
    return record(0, call);
}

namespace {
// Appends the entries of the folder whose key is given, as a listing gives them.
void appendEntriesOf(const std::string& key, std::vector<PlatDirEntry>& entries) {
    for (const auto& kv : st().nodes) {
        if (kv.first == key || parentKey(kv.first) != key) continue;
        PlatDirEntry e{};
        copyText(e.name, sizeof e.name, kv.second.path.substr(kv.second.path.rfind('\\') + 1).c_str());
        e.isDir = kv.second.dir ? 1 : 0;
        e.isLink = kv.second.link ? 1 : 0;
        entries.push_back(e);
    }
}
}  // namespace

struct PlatDirList {
    std::vector<PlatDirEntry> entries;
    size_t next = 0;
};

PlatDirList* platOpenDir(const char* dir) {
    Node* n = dir ? find(dir) : nullptr;
    if (!n || !n->dir || n->link) return nullptr;
    std::string key = keyOf(dir);
    PlatDirList* list = new PlatDirList;
    PlatDirEntry dots{};
    dots.isDir = 1;
    std::strcpy(dots.name, ".");
    list->entries.push_back(dots);
    std::strcpy(dots.name, "..");
    list->entries.push_back(dots);
    appendEntriesOf(key, list->entries);
    return list;
}

int platReadDir(PlatDirList* list, PlatDirEntry* entry) {
    if (list->next >= list->entries.size()) return 0;
    *entry = list->entries[list->next++];
    return 1;
}

void platCloseDir(PlatDirList* list) { delete list; }

int platFixedDrives(char (*roots)[kPathBytes], int max) {
    int count = 0;
    for (const std::string& r : st().fixedDrives)
        if (count < max) copyText(roots[count++], kPathBytes, r.c_str());
    return count;
}

// ---- tree walks: in memory, by path

struct PlatTreeDir {
    std::string path;
    std::vector<PlatDirEntry> entries;
    size_t next = 0;
    bool listed = false;
};

namespace {
std::string childOf(const PlatTreeDir* dir, const std::string& name) {
    return dir->path + (dir->path.back() == '\\' ? "" : "\\") + name;
}

PlatTreeDir* openTree(const std::string& path, int followLink, bool isRoot, PlatTreeStatus* status) {
    Node* n = find(path);
    std::string where = path;
    if (n && n->link && followLink) {
        where = n->target;
        n = find(where);
    }
    if (!n) *status = isRoot ? TreeMissing : TreeUnreadable;
    else if (n->link) *status = TreeIsLink;
    else if (!n->dir) *status = TreeNotDir;
    else if (st().failOpenKeys.count(keyOf(where))) *status = TreeUnreadable;
    else *status = TreeOpened;
    record(*status == TreeOpened ? 0 : -1, "treeOpen(\"" + path + "\")");
    if (*status != TreeOpened) return nullptr;
    PlatTreeDir* dir = new PlatTreeDir;
    dir->path = normal(where);
    return dir;
}
}  // namespace

PlatTreeDir* platTreeOpen(const char* path, int followLink, PlatTreeStatus* status) {
    if (!path || !*path) {
        *status = TreeMissing;
        return nullptr;
    }
    return openTree(path, followLink, true, status);
}

PlatTreeDir* platTreeOpenSub(PlatTreeDir* dir, const char* name, PlatTreeStatus* status) {
    return openTree(childOf(dir, name), 0, false, status);
}

PlatTreeDir* platTreeMakeSub(PlatTreeDir* dir, const char* name, PlatTreeStatus* status) {
    std::string path = childOf(dir, name);
    if (!find(path)) platCreateDir(path.c_str());
    return openTree(path, 0, false, status);
}

void platTreeClose(PlatTreeDir* dir) { delete dir; }

int platTreeRead(PlatTreeDir* dir, PlatDirEntry* entry) {
    if (!dir->listed) {
        // listed when first read, as a directory handle lists what is there then
        dir->listed = true;
        appendEntriesOf(lowerAsciiText(dir->path), dir->entries);
    }
    if (dir->next >= dir->entries.size()) return 0;
    *entry = dir->entries[dir->next++];
    return 1;
}

int platTreeDeleteFile(PlatTreeDir* dir, const char* name) { return platDeleteFile(childOf(dir, name).c_str()); }
int platTreeRemoveDir(PlatTreeDir* dir, const char* name) { return platRemoveDir(childOf(dir, name).c_str()); }
int platTreeRemoveLink(PlatTreeDir* dir, const char* name) { return platRemoveLink(childOf(dir, name).c_str()); }

int platTreeCopyFile(PlatTreeDir* from, const char* name, PlatTreeDir* to, const char* toName) {
    return platCopyFile(childOf(from, name).c_str(), childOf(to, toName).c_str());
}

// as Windows shows a UTF-8 text: in its ANSI code page
std::string platTextFromUtf8(const std::string& text) { return windows1252FromUtf8(text, false); }

// ---- system.h

int platProgramPath(char* out, int size) {
    copyOut(out, size, "C:\\setup\\setup.exe");
    return 0;
}

int platSetCurrentDir(const char* dir) {
    Node* n = dir ? find(dir) : nullptr;
    if (!n || !n->dir || n->link) return record(-1, std::string("setCurrentDir(") + q(dir) + ")");
    st().currentDir = normal(dir);
    if (st().currentDir.size() == 3) st().currentDir.pop_back();  // "C:" for the root
    return record(0, std::string("setCurrentDir(") + q(dir) + ")");
}

int platGetCurrentDir(char* out, int size) {
    std::string dir = st().currentDir.size() == 2 ? st().currentDir + "\\" : st().currentDir;
    if (dir.size() >= static_cast<size_t>(size)) return -1;
    copyOut(out, size, dir);
    return 0;
}

const char* platEnv(const char* name) {
    auto it = st().env.find(name ? name : "");
    return it == st().env.end() ? nullptr : it->second.c_str();
}

void platSystemDir(char* out, int size) { copyOut(out, size, "C:\\WINDOWS\\system32"); }
void platWindowsDir(char* out, int size) { copyOut(out, size, "C:\\WINDOWS"); }
void platTempDir(char* out, int size) { copyOut(out, size, "C:\\TEMP\\"); }
unsigned platUserLanguage() { return st().language; }
int platEnableShutdownPrivilege() { return 1; }
void platRequestRestart() {
    st().restart = true;
    record(0, "requestRestart()");
}

// ---- registry.h

int platRegGetString(RegRoot root, const char* key, const char* name, char* out, int size) {
    RegKeyData* k = regFind(regPath(root, key));
    if (!k) return -1;
    auto it = k->values.find(valueKey(name));
    if (it == k->values.end() || it->second.second.size() + 1 > static_cast<size_t>(size)) return -1;
    copyOut(out, size, it->second.second);
    return 0;
}

static int unloggedRegSetString(RegRoot root, const char* key, const char* name, const char* value) {
    std::string call = "regSetString(" + regPath(root, key) + ", " + q(name) + ", " + q(value) + ")";
    if (st().failRegistry || !value) return record(-1, call);
    regCreate(regPath(root, key)).values[valueKey(name)] = {name ? name : "", value};
    return record(0, call);
}

static int unloggedRegDeleteValue(RegRoot root, const char* key, const char* name) {
    std::string call = "regDeleteValue(" + regPath(root, key) + ", " + q(name) + ")";
    RegKeyData* k = regFind(regPath(root, key));
    if (st().failRegistry || !k || !k->values.erase(valueKey(name))) return record(-1, call);
    return record(0, call);
}

static int unloggedRegCreateKey(RegRoot root, const char* key) {
    std::string call = "regCreateKey(" + regPath(root, key) + ")";
    if (regFind(regPath(root, key))) return record(0, call);
    if (st().failRegistry) return record(-1, call);
    regCreate(regPath(root, key));
    return record(0, call);
}

int platRegValueExists(RegRoot root, const char* key, const char* name) {
    RegKeyData* k = regFind(regPath(root, key));
    return k && k->values.count(valueKey(name)) ? 1 : 0;
}

static int unloggedRegDeleteKey(RegRoot root, const char* key) {
    std::string path = regPath(root, key);
    std::string call = "regDeleteKey(" + path + ")";
    std::string lowerPath = lowerAsciiText(path);
    if (st().failRegistry || !regFind(path) || path.find('\\') == std::string::npos) return record(-1, call);
    for (const auto& kv : st().registry)
        if (kv.first.size() > lowerPath.size() && kv.first.compare(0, lowerPath.size(), lowerPath) == 0 &&
            kv.first[lowerPath.size()] == '\\')
            return record(-1, call);  // it has subkeys
    st().registry.erase(lowerPath);
    return record(0, call);
}

// ---- ui.h

namespace {
// The choice an answer names: a list entry by number, a choice by its word or
// label, or a choice that takes a text by its kind.
int scriptedChoice(const Question& question, const std::string& answer) {
    if (question.numbered) {
        int n = std::atoi(answer.c_str());
        for (size_t i = 0; i < question.choices.size() && n >= 1; i++)
            if (question.choices[i].word.empty() && --n == 0) return static_cast<int>(i);
    }
    for (size_t i = 0; i < question.choices.size(); i++)
        if ((!question.choices[i].word.empty() && textEqualNoCase(answer, question.choices[i].word)) ||
            textEqualNoCase(answer, question.choices[i].label))
            return static_cast<int>(i);
    for (size_t i = 0; i < question.choices.size(); i++)
        if (question.choices[i].takesText &&
            textEqualNoCase(answer, question.choices[i].kind.empty() ? question.kind : question.choices[i].kind))
            return static_cast<int>(i);
    return -1;
}
}  // namespace

int platAsk(Question& question) {
    int chosen = -1;
    while (chosen < 0) {
        if (st().answers.empty()) {
            // nobody to ask: the default, as without a terminal
            chosen = question.check && !question.check(question, question.defaultChoice).empty() ? -1
                                                                                                  : question.defaultChoice;
            question.answeredBy = AnsweredByDefault;
            break;
        }
        Scripted next = st().answers.front();
        st().answers.erase(st().answers.begin());
        question.answeredBy = AnsweredByPerson;
        if (next.choice == "<no dialog>") return record(kNoDialog, "ask(" + question.kind + ", \"" + question.title + "\")");
        if (next.choice == "<end of input>") {
            st().asked.push_back(question);
            return record(kNoAnswer, "ask(" + question.kind + ", \"" + question.title + "\")");
        }
        for (size_t i = 0; i < next.fields.size() && i < question.fields.size(); i++)
            question.fields[i].value = next.fields[i];
        int picked = scriptedChoice(question, next.choice);
        if (picked >= 0 && question.choices[static_cast<size_t>(picked)].takesText) question.answerText = next.text;
        if (picked >= 0 && question.check && !question.check(question, picked).empty()) picked = -1;
        if (picked >= 0 && question.choices[static_cast<size_t>(picked)].keepsOpen) {
            // the dialog stays open while the choice runs (the intro's chooser)
            std::string why;
            if (!question.act || !question.act(question, picked, why)) break;
            picked = -1;
        }
        chosen = picked;
    }
    st().asked.push_back(question);
    record(chosen, "ask(" + question.kind + ", \"" + question.title + "\")");
    return chosen;
}

PlatWindow platProgressOpen(PlatWindow, int) { return reinterpret_cast<PlatWindow>(st().nextWindow++); }
PlatWindow platWaiterOpen(PlatWindow, int) { return reinterpret_cast<PlatWindow>(st().nextWindow++); }
void platProgressSetText(PlatWindow, const char* text, int) { st().progress.push_back(text ? text : ""); }
void platProgressStep(PlatWindow) {}
void platProgressClose(PlatWindow) {}
void platPumpMessages(int) {}
PlatWindow platMainWindow() { return nullptr; }
void platUpdateMainWindow() {}
void platShowMainWindow(int show, const char* productName) {
    record(0, std::string("showMainWindow(") + (show ? "1" : "0") + ", " + q(productName) + ")");
}
void platInvalidateMainWindow() {}
void platBroadcastSettingChange() { record(0, "broadcastSettingChange()"); }
void platDiagnostic(const char* text) { st().diagnostics.push_back(text ? text : ""); }
void platReport(const char* text) { st().reports.push_back(text ? text : ""); }
void platFinishRun() {}

// ---- shell.h

int platShellFolder(ShellFolder folder, char* out, int size) {
    const char* path = folder == FolderPrograms  ? recording::kProgramsFolder
                       : folder == FolderStartup ? recording::kStartupFolder
                                                 : recording::kDesktopFolder;
    if (st().failShellFolders || std::strlen(path) + 1 > static_cast<size_t>(size)) return -1;
    copyOut(out, size, path);
    return 0;
}

const char* platShortcutExtension() { return ".lnk"; }

int unloggedSaveShortcut(const char* file, const ShortcutSpec& shortcut) {
    std::string call = std::string("saveShortcut(") + q(file) + ", " + q(shortcut.target) + ", " +
                       q(shortcut.workDir) + ", " + q(shortcut.arguments) + ")";
    if (!file || !shortcut.target) return record(-1, call);
    std::string key = keyOf(file);
    Node* old = find(file);
    if ((old && (old->dir || old->readOnly)) || !parentIsDir(key)) return record(-1, call);
    recording::addFile(file, "shortcut");
    Node* n = find(file);
    n->isShortcut = true;
    n->shortcut = {shortcut.target, shortcut.workDir ? shortcut.workDir : "",
                   shortcut.arguments ? shortcut.arguments : "", shortcut.title ? shortcut.title : ""};
    return record(0, call);
}

void platProgramGroupChanged(const char* groupDir) { record(0, std::string("programGroupChanged(") + q(groupDir) + ")"); }

int platIsFile(const char* path) {
    Node* n = path ? find(path) : nullptr;
    return n && !n->dir ? 1 : 0;
}

char platPathListSeparator() { return ';'; }

int unloggedOpenFile(const char* file, const char* parameters, const char* directory) {
    return record(file ? 0 : -1,
                  std::string("openFile(") + q(file) + ", " + q(parameters) + ", " + q(directory) + ")");
}

int unloggedRunAndWait(const char* program, const char* commandLine, int* exitCode) {
    Node* n = program ? find(program) : nullptr;
    std::string call = std::string("runAndWait(") + q(program) + ", " + q(commandLine) + ")";
    if (!n || n->dir || !n->startable) return record(-1, call);
    if (exitCode) *exitCode = n->exitCode;
    return record(0, call);
}

struct PlatLibrary {
    std::string path;
};

PlatLibrary* platLoadLibrary(const char* path) {
    Node* n = path ? find(path) : nullptr;
    std::string call = std::string("loadLibrary(") + q(path) + ")";
    if (!n || !n->isLibrary) {
        record(-1, call);
        return nullptr;
    }
    record(0, call);
    return new PlatLibrary{n->path};
}

int unloggedCallEntryPoint(PlatLibrary* library, const char* name) {
    Node* n = library && name ? find(library->path) : nullptr;
    int found = n && std::find(n->entryPoints.begin(), n->entryPoints.end(), name) != n->entryPoints.end();
    return record(found, "callEntryPoint(" + (library ? library->path : std::string("null")) + ", " + q(name) + ")");
}

void platFreeLibrary(PlatLibrary* library) {
    if (!library) return;
    record(0, "freeLibrary(" + library->path + ")");
    delete library;
}

int unloggedAddFont(const char* path) {
    std::string call = std::string("addFont(") + q(path) + ")";
    Node* n = path ? find(path) : nullptr;
    if (!n || n->dir) return record(-1, call);
    st().fonts.push_back(normal(path));
    return record(0, call);
}

int unloggedRemoveFont(const char* path) {
    std::string call = std::string("removeFont(") + q(path) + ")";
    if (!path) return record(-1, call);
    std::string key = keyOf(path);
    auto& fonts = st().fonts;
    for (auto it = fonts.begin(); it != fonts.end(); ++it)
        if (lowerAsciiText(*it) == key) {
            fonts.erase(it);
            return record(0, call);
        }
    return record(-1, call);
}

// ---- net.h

int platNetStart(int* major, int* minor) {
    if (!st().socketsThere) return record(-1, "netStart()");
    if (major) *major = st().socketsMajor;
    if (minor) *minor = st().socketsMinor;
    return record(0, "netStart()");
}

void platNetStop() { record(0, "netStop()"); }

int platNetProtocolKnown(const char* name) {
    return record(name && !st().missingProtocols.count(name) ? 1 : 0, std::string("protocolKnown(") + q(name) + ")");
}

PlatSocket platNetStreamSocket(int protocol) {
    PlatSocket s = st().nextSocket++;
    st().openSockets[s] = 0;
    record(0, "streamSocket(" + std::to_string(protocol) + ")");
    return s;
}

int platNetBindAnyAddress(PlatSocket socket, int port) {
    std::string call = "bind(" + std::to_string(port) + ")";
    auto it = st().openSockets.find(socket);
    if (it == st().openSockets.end() || st().takenPorts.count(port)) return record(-1, call);
    for (const auto& kv : st().openSockets)
        if (kv.second == port) return record(-1, call);
    it->second = port;
    return record(0, call);
}

int platNetListen(PlatSocket socket, int backlog) {
    return record(st().openSockets.count(socket) ? 0 : -1, "listen(" + std::to_string(backlog) + ")");
}

void platNetClose(PlatSocket socket) {
    st().openSockets.erase(socket);
    record(0, "closeSocket()");
}

// ---- what the install log sees, as the real platforms log it (files, shortcuts,
// programs, libraries and fonts are logged in logged.cpp)

std::string loggedPath(const char* path) { return path; }

int platRegSetString(RegRoot root, const char* key, const char* name, const char* value) {
    bool made = key && !regFind(regPath(root, key));
    int result = unloggedRegSetString(root, key, name, value);
    if (made && result == 0) logRegistryChange("key created", regRootName(root), key, nullptr, nullptr, 0);
    logRegistryChange("value set", regRootName(root), key, name, value ? value : "", result);
    return result;
}

int platRegDeleteValue(RegRoot root, const char* key, const char* name) {
    int result = unloggedRegDeleteValue(root, key, name);
    if (result == 0) logRegistryChange("value deleted", regRootName(root), key, name ? name : "@", nullptr, 0);
    return result;
}

int platRegCreateKey(RegRoot root, const char* key) {
    bool made = key && !regFind(regPath(root, key));
    int result = unloggedRegCreateKey(root, key);
    if (made || result < 0) logRegistryChange("key created", regRootName(root), key, nullptr, nullptr, result);
    return result;
}

int platRegDeleteKey(RegRoot root, const char* key) {
    int result = unloggedRegDeleteKey(root, key);
    if (result == 0) logRegistryChange("key deleted", regRootName(root), key, nullptr, nullptr, 0);
    return result;
}
