// The runtime's configuration files in the destination directory.
#include "config.h"
#include "fileops.h"
#include "../frame/messages.h"
#include "../platform/platform.h"
#include "../script/commands.h"
#include "../script/runstate.h"
#include "../script/store.h"
#include "../script/text.h"
#include <cstring>

char pluginTable[kPluginSlots][kPluginChars];

namespace {
// Reads one whole line with its line end; false at the end of the file.
bool readLine(FILE* f, std::string& line) {
    line.clear();
    char piece[1024];
    while (std::fgets(piece, sizeof piece, f)) {
        line += piece;
        if (!line.empty() && line.back() == '\n') return true;
    }
    return !line.empty();
}

// The line's text after its leading blanks (codes below 33 as signed bytes).
const char* keywordText(const std::string& line) {
    const char* p = line.c_str();
    while (*p && isScriptBlank(*p)) p++;
    return p;
}

bool startsWithNoCase(const char* text, const char* word) {
    return textPrefixNoCase(text, word, std::strlen(word)) && std::strlen(text) >= std::strlen(word);
}

// Compares the first n characters ignoring ASCII case: <0, 0, >0.
int compareNoCase(const char* a, const char* b, size_t n) {
    for (size_t i = 0; i < n; i++) {
        unsigned char x = static_cast<unsigned char>(lowerAscii(a[i]));
        unsigned char y = static_cast<unsigned char>(lowerAscii(b[i]));
        if (x != y) return x < y ? -1 : 1;
        if (!x) return 0;
    }
    return 0;
}

// A file of the destination directory; false (reported) when it cannot be named.
bool destinationFile(char* out, const char* name) {
    return composePath(out, ReportQuietly, "%s\\%s", GetVariable("DSTDIR"), name) == 0;
}

// Closes a file written in full; false when a write failed.
bool closeWritten(FILE* f) {
    bool ok = !std::ferror(f);
    return std::fclose(f) == 0 && ok;
}

// Ends the last line of a file opened for appending when it lacks its line
// end, so that the line written next stays a line of its own.
void endOpenLine(FILE* f) {
    if (std::fseek(f, 0, SEEK_END) != 0 || std::ftell(f) <= 0) return;
    std::fseek(f, -1, SEEK_END);
    int last = std::fgetc(f);
    std::fseek(f, 0, SEEK_END);
    if (last != '\n') std::fputc('\n', f);
}

// A line's text with its line end: a last line of a file may lack one.
std::string ended(std::string text) {
    if (text.empty() || text.back() != '\n') text += '\n';
    return text;
}

// Puts the finished temporary file in place of qolt.ini in one step, so
// qolt.ini is never missing, even after a crash in between.
void replaceConfig(const char* temp, const char* qolt, bool written) {
    if (!written) {
        scriptDiagnostic("cannot write %s; qolt.ini is left as it was", temp);
        platDeleteFile(temp);
        setFailure();
        return;
    }
    if (platMoveFile(temp, qolt) != 0) {
        scriptDiagnostic("cannot replace qolt.ini with %s", temp);
        setFailure();
    }
}
}  // namespace

void AddPartition(const char* dir) {
    char path[kPathBytes];
    FILE* f = nullptr;
    if (!dir) {
        scriptDiagnostic("AddPartition: %s", "no directory given; nothing written");
        return;
    }
    if (destinationFile(path, "Qolt.ini")) {
        platClearAttributes(path);
        f = platOpenFile(path, "a+");
    }
    if (!f) {
        if (!run.silentMode) ShowMessageBox(BoxOK, GetVariable("ERROR_OPEN_TTL"), GetVariable("ERROR_OPEN_MSG"), nullptr, 0);
        scriptDiagnostic("AddPartition: cannot open %s", path);
        return;
    }
    endOpenLine(f);
    std::fprintf(f, "disk %s\\part2\\ 0\n", dir);
    if (!closeWritten(f)) scriptDiagnostic("AddPartition: cannot write %s", path);
}

void ImportOldVexa(const char* vexaValue, const char* updateValue) {
    char qolt[kPathBytes];
    if (!destinationFile(qolt, "qolt.ini")) {
        setFailure();
        return;
    }
    long length = 0;
    if (FILE* f = platOpenFile(qolt, "rb")) {
        std::fseek(f, 0, SEEK_END);
        length = std::ftell(f);
        std::fclose(f);
    }
    if (length > 0) {
        RewriteVexaLines(vexaValue, updateValue);
        return;
    }
    // a missing or empty qolt.ini: the new release's file, then the old pack lists
    char source[kPathBytes];
    if (composePath(source, ReportWithBox, "%s\\%s", GetVariable("SRCDIR"), "qolt.ini") == 0)
        CopyOneFile(source, qolt);
    else
        setFailure();
    ImportPackFiles();
}

bool ReadPackLine(FILE* pack, std::string& line) {
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
            scriptDiagnostic("qoltpack.ini: a partition line longer than 1018 characters is left out: %s",
                             line.substr(0, 60).c_str());
            continue;
        }
        return true;
    }
    return false;
}

void ImportPackFiles() {
    char qoltName[kPathBytes], packName[kPathBytes], dllName[kPathBytes];
    if (!destinationFile(qoltName, "qolt.ini") || !destinationFile(packName, "qoltpack.ini") ||
        !destinationFile(dllName, "qoltdll.ini"))
        return;
    FILE* pack = platOpenFile(packName, "r");
    FILE* qolt = platOpenFile(qoltName, "a+");
    if (!qolt) {
        scriptDiagnostic("cannot add the partitions to %s", qoltName);
        if (pack) std::fclose(pack);
        return;
    }
    endOpenLine(qolt);
    if (!pack) {
        std::fputs("disk ./Cache 64000\n", qolt);
        std::fputs("disk ./Partition 0\n", qolt);
        if (!closeWritten(qolt)) scriptDiagnostic("cannot write %s", qoltName);
        return;
    }
    std::string line;
    // a last pack line without its line end still ends its disk line
    std::fputs(ReadPackLine(pack, line) ? ("disk " + ended(line)).c_str() : "disk ./Cache 64000\n", qolt);
    std::fputs(ReadPackLine(pack, line) ? ("disk " + ended(line)).c_str() : "disk ./Partition 0\n", qolt);
    while (ReadPackLine(pack, line)) std::fputs(("disk " + ended(line)).c_str(), qolt);
    std::fclose(pack);
    if (FILE* dll = platOpenFile(dllName, "r")) {
        while (readLine(dll, line)) {
            const char* text = keywordText(line);
            if (startsWithNoCase(text, "frelpdll.dll")) {
                std::fprintf(qolt, "plugin %s", ended(text).c_str());
                break;
            }
        }
        std::fclose(dll);
    }
    if (!closeWritten(qolt)) scriptDiagnostic("cannot write %s", qoltName);
}

void ReadNewPlugins() {
    char path[kPathBytes];
    FILE* f = nullptr;
    if (composePath(path, ReportQuietly, "%s\\%s", GetVariable("SRCDIR"), "qolt.ini") == 0)
        f = platOpenFile(path, "r");
    if (!f) {
        scriptDiagnostic("cannot read the new plug-ins from %s", path);
        setFailure();
        return;
    }
    std::string line;
    int slot = 0;
    while (readLine(f, line)) {
        const char* text = keywordText(line);
        if (!startsWithNoCase(text, "plugin")) continue;
        text += 6;
        while (*text && isScriptBlank(*text)) text++;
        if (slot >= kPluginSlots || std::strlen(text) >= static_cast<size_t>(kPluginChars)) {
            scriptDiagnostic(slot >= kPluginSlots ? "more than 256 plug-in lines; left out: %s"
                                                  : "a plug-in line longer than 255 characters is left out: %s",
                             text);
            continue;
        }
        std::strcpy(pluginTable[slot++], text);
    }
    std::fclose(f);
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

void MergePlugins() {
    std::memset(pluginTable, 0, sizeof pluginTable);
    ReadNewPlugins();
    char qoltName[kPathBytes], mergedName[kPathBytes];
    if (!destinationFile(qoltName, "qolt.ini") || !destinationFile(mergedName, "newqolt.ini")) {
        setFailure();
        return;
    }
    FILE* qolt = platOpenFile(qoltName, "r");
    if (!qolt) {
        scriptDiagnostic("cannot read %s to merge the plug-ins", qoltName);
        setFailure();
        return;
    }
    FILE* merged = platOpenFile(mergedName, "w");
    if (!merged) {
        scriptDiagnostic("cannot create %s", mergedName);
        std::fclose(qolt);
        setFailure();
        return;
    }
    std::string line;
    bool lineOpen = false;  // the last line copied lacks its line end
    while (readLine(qolt, line)) {
        const char* text = keywordText(line);
        if (startsWithNoCase(text, "plugin")) {
            text += 6;
            while (*text && isScriptBlank(*text)) text++;
            std::fprintf(merged, "plugin %s", ended(ChooseNewerPlugin(text)).c_str());
            lineOpen = false;
        } else {
            std::fputs(line.c_str(), merged);
            lineOpen = line.back() != '\n';
        }
    }
    if (lineOpen) std::fputc('\n', merged);  // the new plug-in lines start lines of their own
    for (int i = 0; i < kPluginSlots; i++)
        if (pluginTable[i][0]) std::fprintf(merged, "plugin %s", ended(pluginTable[i]).c_str());
    std::fclose(qolt);
    replaceConfig(mergedName, qoltName, closeWritten(merged));
}

void RewriteVexaLines(const char* vexaValue, const char* updateValue) {
    char qoltName[kPathBytes], tempName[kPathBytes];
    if (!destinationFile(qoltName, "qolt.ini") || !destinationFile(tempName, "qolttemp.ini")) {
        setFailure();
        return;
    }
    FILE* temp = platOpenFile(tempName, "w");
    if (!temp) {
        scriptDiagnostic("cannot create %s", tempName);
        return;
    }
    MergePlugins();
    FILE* qolt = platOpenFile(qoltName, "r");
    if (!qolt) {
        scriptDiagnostic("cannot read %s to rewrite its version lines", qoltName);
        std::fclose(temp);
        platDeleteFile(tempName);
        setFailure();
        return;
    }
    // an absent value leaves the key with an empty value
    if (!vexaValue) vexaValue = "";
    if (!updateValue) updateValue = "";
    std::string line;
    while (readLine(qolt, line)) {
        const char* text = keywordText(line);
        if (startsWithNoCase(text, "update")) std::fprintf(temp, "update %s\n", updateValue);
        else if (startsWithNoCase(text, "vexa")) std::fprintf(temp, "vexa %s\n", vexaValue);
        else std::fputs(line.c_str(), temp);
    }
    std::fclose(qolt);
    replaceConfig(tempName, qoltName, closeWritten(temp));
}

int IsVexaUpdated(const char* version) {
    if (run.failure) return 0;
    if (!version) {
        scriptDiagnostic("IsVexaUpdated: %s", "no version given");
        return 0;
    }
    char path[kPathBytes];
    if (!destinationFile(path, "qolt.ini")) return 0;
    FILE* f = platOpenFile(path, "rb");
    if (!f) return 0;
    char data[2048];
    size_t size = std::fread(data, 1, 2047, f);
    std::fclose(f);
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
