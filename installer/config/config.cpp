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

enum StartResult { StartDone, StartBaseUnreadable, StartTempFailed };

// Makes temp anew, as a byte copy of base, or empty without one. Whatever
// has that name first goes: the leftover of an interrupted run, or a link,
// which is never written through.
StartResult startReplacement(const char* temp, const char* base) {
    platClearAttributes(temp);
    platDeleteFile(temp);
    if (base) {
        if (!platFileReadable(base)) return StartBaseUnreadable;
        if (platCopyFile(base, temp) != 0) {
            reportDiagnostic("cannot write %s: %s", temp, platFailureText());
            return StartTempFailed;
        }
        return StartDone;
    }
    PlatFile* f = platFileOpen(temp, "wx");
    if (!f) {
        reportDiagnostic("cannot create %s: %s", temp, platFailureText());
        return StartTempFailed;
    }
    if (platFileClose(f) != 0) {
        platDeleteFile(temp);
        return StartTempFailed;
    }
    return StartDone;
}

// Finishes the new file: written through to the disk, then renamed over
// target in one step. false (reported) when that failed; target is then as
// it was and temp is gone.
bool finishReplacement(PlatFile* f, const char* temp, const char* target) {
    bool written = platFileSync(f) == 0;
    std::string why = platFailureText();
    written = platFileClose(f) == 0 && written;
    if (!written) {
        reportDiagnostic("cannot write %s (%s); %s is left as it was", temp, why.empty() ? "write error" : why.c_str(),
                         target);
        platDeleteFile(temp);
        return false;
    }
    if (platMoveFile(temp, target) != 0) {
        reportDiagnostic("cannot replace %s with %s: %s", target, temp, platFailureText());
        platDeleteFile(temp);
        return false;
    }
    return true;
}

// The whole new text of a file, written as finishReplacement does.
bool replaceWithText(const char* temp, const char* target, const std::string& text) {
    if (startReplacement(temp, nullptr) != StartDone) return false;
    PlatFile* f = platFileOpen(temp, "a+");
    if (!f) {
        reportDiagnostic("cannot write %s: %s", temp, platFailureText());
        platDeleteFile(temp);
        return false;
    }
    putText(f, text);
    return finishReplacement(f, temp, target);
}

// Replaces the update and vexa lines of the text of qolt.ini.
std::string rewriteVersionLines(const std::string& lines, const char* vexaValue, const char* updateValue) {
    std::string out;
    out.reserve(lines.size() + 64);
    size_t pos = 0;
    while (pos < lines.size()) {
        size_t end = lines.find('\n', pos);
        end = end == std::string::npos ? lines.size() : end + 1;
        std::string line = lines.substr(pos, end - pos);
        pos = end;
        const char* text = keywordText(line);
        // the test for update comes first
        if (textStartsWithNoCase(text, "update")) out += formatString("update %s\n", updateValue);
        else if (textStartsWithNoCase(text, "vexa")) out += formatString("vexa %s\n", vexaValue);
        else out += line;
    }
    return out;
}
}  // namespace

int AddPartition(const char* dstdir, const char* dir) {
    char qolt[kPathBytes] = "";
    char temp[kPathBytes] = "";
    if (!dir) {
        reportDiagnostic("AddPartition: no directory given; nothing written");
        return -1;
    }
    bool done = false;
    if (fileIn(qolt, dstdir, "Qolt.ini") && fileIn(temp, dstdir, "qolttemp.ini")) {
        // a missing file starts empty, as appending to it would make it
        bool exists = platPathMatches(qolt) == 1;
        StartResult start = startReplacement(temp, exists ? qolt : nullptr);
        if (start == StartBaseUnreadable) reportDiagnostic("AddPartition: cannot read %s: %s", qolt, platFailureText());
        PlatFile* f = start == StartDone ? platFileOpen(temp, "a+") : nullptr;
        if (f) {
            endOpenLine(f);
            putText(f, formatString("disk %s\\part2\\ 0\n", dir));
            done = finishReplacement(f, temp, qolt);
        } else if (start == StartDone) {
            platDeleteFile(temp);
        }
    }
    if (!done) {
        // the file's name fills the text's %s, as for the settings file: one
        // text serves both, so it must never show a bare "%s"
        std::string name = std::string(dstdir ? dstdir : "") + "\\Qolt.ini";
        const char* args[1] = {*qolt ? qolt : name.c_str()};
        reportBox(UnlessSilent, BoxOK, "ERROR_OPEN_TTL", "ERROR_OPEN_MSG", args, 1);
        reportDiagnostic("AddPartition: cannot add the partition to %s", *qolt ? qolt : "Qolt.ini");
        return -1;
    }
    return 0;
}

ImportResult ImportOldVexa(const char* srcdir, const char* dstdir, const char* vexaValue, const char* updateValue) {
    ImportResult result;
    char qolt[kPathBytes], temp[kPathBytes];
    if (!fileIn(qolt, dstdir, "qolt.ini") || !fileIn(temp, dstdir, "qolttemp.ini")) {
        result.failed = true;
        return result;
    }
    long length = 0;
    if (PlatFile* f = platFileOpen(qolt, "rb")) {
        platFileSeek(f, 0, SEEK_END);
        length = platFileTell(f);
        platFileClose(f);
    }
    if (length > 0) return RewriteVexaLines(srcdir, dstdir, vexaValue, updateValue);
    // a missing or empty qolt.ini: the new release's file, then the old pack
    // lists, built whole beside it
    char source[kPathBytes];
    bool named = composePath(source, ReportWithBox, "%s\\%s", srcdir, "qolt.ini") == 0;
    if (!named) result.failed = true;
    StartResult start = startReplacement(temp, named ? source : nullptr);
    if (start == StartBaseUnreadable) {
        // the copy's question and flags; the pack import still runs
        result.copy = transferFailed(source, qolt, false);
        start = startReplacement(temp, nullptr);
    }
    PlatFile* f = start == StartDone ? platFileOpen(temp, "a+") : nullptr;
    if (!f) {
        if (start == StartDone) platDeleteFile(temp);
        reportDiagnostic("ImportOldVexa: %s cannot be written; it is left as it was", qolt);
        result.unwritten = true;
        return result;
    }
    ImportPackFiles(dstdir, f);
    if (!finishReplacement(f, temp, qolt)) result.unwritten = true;
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
        size_t length = line.size() - (!line.empty() && line.back() == '\n' ? 1 : 0);
        if (line.find_first_not_of(" \t\r\n") == std::string::npos) {
            // only quotes: a disk line without its directory would mean nothing to the runtime
            reportDiagnostic("qoltpack.ini: a partition line that names no directory is left out");
            continue;
        }
        if (length > kPackLineChars) {
            reportDiagnostic("qoltpack.ini: a partition line longer than 1018 characters is left out: %s",
                             line.substr(0, 60).c_str());
            continue;
        }
        return true;
    }
    return false;
}

void ImportPackFiles(const char* dstdir, PlatFile* qolt) {
    char packName[kPathBytes], dllName[kPathBytes];
    if (!fileIn(packName, dstdir, "qoltpack.ini") || !fileIn(dllName, dstdir, "qoltdll.ini")) return;
    PlatFile* pack = platFileOpen(packName, "r");
    endOpenLine(qolt);
    if (!pack) {
        putText(qolt, "disk ./Cache 64000\n");
        putText(qolt, "disk ./Partition 0\n");
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

bool MergePlugins(const char* srcdir, const char* dstdir, std::string& merged, bool& newRead) {
    std::memset(pluginTable, 0, sizeof pluginTable);
    newRead = ReadNewPlugins(srcdir);
    merged.clear();
    char qoltName[kPathBytes];
    if (!fileIn(qoltName, dstdir, "qolt.ini")) return false;
    PlatFile* qolt = platFileOpen(qoltName, "r");
    if (!qolt) {
        reportDiagnostic("cannot read %s to merge the plug-ins", qoltName);
        return false;
    }
    std::string line;
    bool lineOpen = false;  // the last line copied lacks its line end
    while (readLine(qolt, line)) {
        const char* text = keywordText(line);
        if (textStartsWithNoCase(text, "plugin")) {
            text += 6;
            while (*text && isScriptBlank(*text)) text++;
            merged += "plugin " + ended(ChooseNewerPlugin(text));
            lineOpen = false;
        } else {
            merged += line;
            lineOpen = line.back() != '\n';
        }
    }
    platFileClose(qolt);
    if (lineOpen) merged += "\n";  // the new plug-in lines start lines of their own
    for (int i = 0; i < kPluginSlots; i++)
        if (pluginTable[i][0]) merged += "plugin " + ended(pluginTable[i]);
    return true;
}

ImportResult RewriteVexaLines(const char* srcdir, const char* dstdir, const char* vexaValue, const char* updateValue) {
    ImportResult result;
    char qoltName[kPathBytes], tempName[kPathBytes];
    if (!fileIn(qoltName, dstdir, "qolt.ini") || !fileIn(tempName, dstdir, "qolttemp.ini")) {
        result.failed = true;
        return result;
    }
    // the new file must have a place before anything is read
    if (startReplacement(tempName, nullptr) != StartDone) {
        reportDiagnostic("ImportOldVexa: %s cannot be written; it is left as it was", qoltName);
        result.unwritten = true;
        return result;
    }
    std::string merged;
    bool newRead = true;
    if (!MergePlugins(srcdir, dstdir, merged, newRead)) {
        platDeleteFile(tempName);
        result.failed = true;
        return result;
    }
    result.failed = !newRead;
    // an absent value leaves the key with an empty value
    std::string text = rewriteVersionLines(merged, vexaValue ? vexaValue : "", updateValue ? updateValue : "");
    if (!replaceWithText(tempName, qoltName, text)) result.unwritten = true;
    return result;
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
