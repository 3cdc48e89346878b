// The runtime's configuration files in the destination directory.
#include "config.h"
#include "tokens.h"
#include "../base/format.h"
#include "../base/report.h"
#include "../base/text.h"
#include <cstring>
#include <string>

char pluginTable[kPluginSlots][kPluginChars];

namespace {
// Reads one whole line with its line end; false at the end of the file.
bool readLine(PlatFile* f, std::string& line) {
    line.clear();
    for (int c; (c = platFileGetc(f)) >= 0;) {
        line += static_cast<char>(c);
        if (c == '\n') return true;
    }
    return !line.empty();
}

void putText(PlatFile* f, const std::string& text) { platFilePuts(f, text.c_str()); }

// The line's text after its leading blanks (codes below 33 as signed bytes).
const char* keywordText(const std::string& line) {
    const char* p = line.c_str();
    while (*p && isScriptBlank(*p)) p++;
    return p;
}

// A file of a directory; false (reported) when it cannot be named.
bool fileIn(char* out, const char* dir, const char* name) {
    return composePath(out, ReportQuietly, "%s\\%s", dir, name) == 0;
}

// Closes a file written in full; false when a write failed.
bool closeWritten(PlatFile* f) { return platFileClose(f) == 0; }

// Ends the last line of a file opened for appending when it lacks its line
// end, so that the line written next stays a line of its own.
void endOpenLine(PlatFile* f) {
    if (platFileSeek(f, 0, SEEK_END) != 0 || platFileTell(f) <= 0) return;
    platFileSeek(f, -1, SEEK_END);
    int last = platFileGetc(f);
    platFileSeek(f, 0, SEEK_END);
    if (last != '\n') platFilePuts(f, "\n");
}

// A line's text with its line end: a last line of a file may lack one.
std::string ended(std::string text) {
    if (text.empty() || text.back() != '\n') text += '\n';
    return text;
}

// Puts the finished temporary file in place of qolt.ini in one step, so
// qolt.ini is never missing, even after a crash in between.
bool replaceConfig(const char* temp, const char* qolt, bool written) {
    if (!written) {
        reportDiagnostic("cannot write %s; qolt.ini is left as it was", temp);
        platDeleteFile(temp);
        return false;
    }
    if (platMoveFile(temp, qolt) != 0) {
        reportDiagnostic("cannot replace qolt.ini with %s", temp);
        return false;
    }
    return true;
}
}  // namespace

int AddPartition(const char* dstdir, const char* dir) {
    char path[kPathBytes] = "";
    PlatFile* f = nullptr;
    if (!dir) {
        reportDiagnostic("AddPartition: no directory given; nothing written");
        return -1;
    }
    if (fileIn(path, dstdir, "Qolt.ini")) {
        platClearAttributes(path);
        f = platFileOpen(path, "a+");
    }
    if (!f) {
        // the file's name fills the text's %s, as for the settings file: one
        // text serves both, so it must never show a bare "%s"
        std::string name = std::string(dstdir ? dstdir : "") + "\\Qolt.ini";
        const char* args[1] = {path[0] ? path : name.c_str()};
        reportBox(UnlessSilent, BoxOK, "ERROR_OPEN_TTL", "ERROR_OPEN_MSG", args, 1);
        reportDiagnostic("AddPartition: cannot open %s", path);
        return -1;
    }
    endOpenLine(f);
    putText(f, formatString("disk %s\\part2\\ 0\n", dir));
    if (!closeWritten(f)) {
        reportDiagnostic("AddPartition: cannot write %s", path);
        return -1;
    }
    return 0;
}

ImportResult ImportOldVexa(const char* srcdir, const char* dstdir, const char* vexaValue, const char* updateValue) {
    ImportResult result;
    char qolt[kPathBytes];
    if (!fileIn(qolt, dstdir, "qolt.ini")) {
        result.failed = true;
        return result;
    }
    long length = 0;
    if (PlatFile* f = platFileOpen(qolt, "rb")) {
        platFileSeek(f, 0, SEEK_END);
        length = platFileTell(f);
        platFileClose(f);
    }
    if (length > 0) {
        result.failed = !RewriteVexaLines(srcdir, dstdir, vexaValue, updateValue);
        return result;
    }
    // a missing or empty qolt.ini: the new release's file, then the old pack lists
    char source[kPathBytes];
    if (composePath(source, ReportWithBox, "%s\\%s", srcdir, "qolt.ini") == 0)
        result.copy = CopyOneFile(source, qolt);
    else
        result.failed = true;
    ImportPackFiles(dstdir);
    return result;
}

bool ReadPackLine(PlatFile* pack, std::string& line) {
    std::string raw;
    while (readLine(pack, raw)) {
        const char* text = keywordText(raw);
        if (!*text || *text == '#' || std::strlen(text) <= 3) continue;
        line.clear();
        bool quoted = false;
        for (const char* p = text; *p; p++) {
            if (*p == '"') quoted = !quoted;
            else if (*p == '\\') line += '/';
            else if (*p == ' ' && quoted) line += "\\ ";
            else line += *p;
        }
        size_t length = line.size() - (line.back() == '\n' ? 1 : 0);
        if (length > kPackLineChars) {
            reportDiagnostic("qoltpack.ini: a partition line longer than 1018 characters is left out: %s",
                             line.substr(0, 60).c_str());
            continue;
        }
        return true;
    }
    return false;
}

void ImportPackFiles(const char* dstdir) {
    char qoltName[kPathBytes], packName[kPathBytes], dllName[kPathBytes];
    if (!fileIn(qoltName, dstdir, "qolt.ini") || !fileIn(packName, dstdir, "qoltpack.ini") ||
        !fileIn(dllName, dstdir, "qoltdll.ini"))
        return;
    PlatFile* pack = platFileOpen(packName, "r");
    PlatFile* qolt = platFileOpen(qoltName, "a+");
    if (!qolt) {
        reportDiagnostic("cannot add the partitions to %s", qoltName);
        if (pack) platFileClose(pack);
        return;
    }
    endOpenLine(qolt);
    if (!pack) {
        putText(qolt, "disk ./Cache 64000\n");
        putText(qolt, "disk ./Partition 0\n");
        if (!closeWritten(qolt)) reportDiagnostic("cannot write %s", qoltName);
        return;
    }
    std::string line;
    // a last pack line without its line end still ends its disk line
    putText(qolt, ReadPackLine(pack, line) ? "disk " + ended(line) : "disk ./Cache 64000\n");
    putText(qolt, ReadPackLine(pack, line) ? "disk " + ended(line) : "disk ./Partition 0\n");
    while (ReadPackLine(pack, line)) putText(qolt, "disk " + ended(line));
    platFileClose(pack);
    if (PlatFile* dll = platFileOpen(dllName, "r")) {
        while (readLine(dll, line)) {
            const char* text = keywordText(line);
            if (textStartsWithNoCase(text, "frelpdll.dll")) {
                putText(qolt, "plugin " + ended(text));
                break;
            }
        }
        platFileClose(dll);
    }
    if (!closeWritten(qolt)) reportDiagnostic("cannot write %s", qoltName);
}

bool ReadNewPlugins(const char* srcdir) {
    char path[kPathBytes] = "";
    PlatFile* f = nullptr;
    if (composePath(path, ReportQuietly, "%s\\%s", srcdir, "qolt.ini") == 0) f = platFileOpen(path, "r");
    if (!f) {
        reportDiagnostic("cannot read the new plug-ins from %s", path);
        return false;
    }
    std::string line;
    int slot = 0;
    while (readLine(f, line)) {
        const char* text = keywordText(line);
        if (!textStartsWithNoCase(text, "plugin")) continue;
        text += 6;
        while (*text && isScriptBlank(*text)) text++;
        if (slot >= kPluginSlots) {
            reportDiagnostic("more than 256 plug-in lines; left out: %s", text);
            continue;
        }
        if (std::strlen(text) >= static_cast<size_t>(kPluginChars)) {
            reportDiagnostic("a plug-in line longer than 255 characters is left out: %s", text);
            continue;
        }
        std::strcpy(pluginTable[slot++], text);
    }
    platFileClose(f);
    return true;
}
std::string ChooseNewerPlugin(const char* oldEntry) {
    size_t split = std::strcspn(oldEntry, "-.");
    std::string base(oldEntry, split);
    std::string version;
    if (oldEntry[split] == '-') version.assign(oldEntry + split, std::strcspn(oldEntry + split + 1, ".") + 1);
    if (base.empty()) return oldEntry;  // no name to match
    for (int i = 0; i < kPluginSlots; i++) {
        char* slot = pluginTable[i];
        if (!*slot || std::strlen(slot) < base.size() || compareNoCase(slot, base.c_str(), base.size()) != 0)
            continue;
        // textual comparison of the version texts: -2 is newer than -10
        std::string chosen = compareNoCase(version.c_str(), slot + base.size(), version.size()) > 0 ? oldEntry : slot;
        slot[0] = 0;
        return chosen;
    }
    return oldEntry;
}

bool MergePlugins(const char* srcdir, const char* dstdir) {
    std::memset(pluginTable, 0, sizeof pluginTable);
    bool ok = ReadNewPlugins(srcdir);
    char qoltName[kPathBytes], mergedName[kPathBytes];
    if (!fileIn(qoltName, dstdir, "qolt.ini") || !fileIn(mergedName, dstdir, "newqolt.ini")) return false;
    PlatFile* qolt = platFileOpen(qoltName, "r");
    if (!qolt) {
        reportDiagnostic("cannot read %s to merge the plug-ins", qoltName);
        return false;
    }
    PlatFile* merged = platFileOpen(mergedName, "w");
    if (!merged) {
        reportDiagnostic("cannot create %s", mergedName);
        platFileClose(qolt);
        return false;
    }
    std::string line;
    bool lineOpen = false;  // the last line copied lacks its line end
    while (readLine(qolt, line)) {
        const char* text = keywordText(line);
        if (textStartsWithNoCase(text, "plugin")) {
            text += 6;
            while (*text && isScriptBlank(*text)) text++;
            putText(merged, "plugin " + ended(ChooseNewerPlugin(text)));
            lineOpen = false;
        } else {
            putText(merged, line);
            lineOpen = line.back() != '\n';
        }
    }
    if (lineOpen) putText(merged, "\n");  // the new plug-in lines start lines of their own
    for (int i = 0; i < kPluginSlots; i++)
        if (pluginTable[i][0]) putText(merged, "plugin " + ended(pluginTable[i]));
    platFileClose(qolt);
    return replaceConfig(mergedName, qoltName, closeWritten(merged)) && ok;
}

bool RewriteVexaLines(const char* srcdir, const char* dstdir, const char* vexaValue, const char* updateValue) {
    char qoltName[kPathBytes], tempName[kPathBytes];
    if (!fileIn(qoltName, dstdir, "qolt.ini") || !fileIn(tempName, dstdir, "qolttemp.ini")) return false;
    PlatFile* temp = platFileOpen(tempName, "w");
    if (!temp) {
        reportDiagnostic("cannot create %s", tempName);
        return true;  // nothing changed, and nothing is marked
    }
    bool ok = MergePlugins(srcdir, dstdir);
    PlatFile* qolt = platFileOpen(qoltName, "r");
    if (!qolt) {
        reportDiagnostic("cannot read %s to rewrite its version lines", qoltName);
        platFileClose(temp);
        platDeleteFile(tempName);
        return false;
    }
    // an absent value leaves the key with an empty value
    if (!vexaValue) vexaValue = "";
    if (!updateValue) updateValue = "";
    std::string line;
    while (readLine(qolt, line)) {
        const char* text = keywordText(line);
        if (textStartsWithNoCase(text, "update")) putText(temp, formatString("update %s\n", updateValue));
        else if (textStartsWithNoCase(text, "vexa")) putText(temp, formatString("vexa %s\n", vexaValue));
        else putText(temp, line);
    }
    platFileClose(qolt);
    return replaceConfig(tempName, qoltName, closeWritten(temp)) && ok;
}

int IsVexaUpdated(const char* dstdir, bool failureKnown, const char* version) {
    if (failureKnown) return 0;
    if (!version) {
        reportDiagnostic("IsVexaUpdated: no version given");
        return 0;
    }
    char path[kPathBytes];
    if (!fileIn(path, dstdir, "qolt.ini")) return 0;
    PlatFile* f = platFileOpen(path, "rb");
    if (!f) return 0;
    char data[2048];
    size_t size = platFileRead(f, data, 2047);
    platFileClose(f);
    size_t i = 0;
    while (i < size) {
        // a line is a run of printable characters (32 to 127 as signed bytes)
        char line[512];
        size_t n = 0;
        while (i < size && static_cast<signed char>(data[i]) >= 32) {
            if (n >= sizeof line - 1) return 0;  // 512 characters or more end the scan
            line[n++] = data[i++];
        }
        line[n] = 0;
        i++;
        char* tokens[kConfigTokens];
        bool overflow = false;
        int count = SplitConfigTokens(line, tokens, kConfigTokens, &overflow);
        if (count < 2 || !textEqualNoCase(tokens[0], "update")) continue;
        if (textEqualNoCase(tokens[1], "auto")) return 0;
        if (textEqualNoCase(tokens[1], "no")) return 1;
        size_t longer = std::strlen(tokens[1]) > std::strlen(version) ? std::strlen(tokens[1]) : std::strlen(version);
        return compareNoCase(tokens[1], version, longer + 1) >= 0 ? 1 : 0;
    }
    return 0;
}
