// The script checker. Files are read in the pieces setup reads (1023
// characters), lines are parsed by setup's own parser, and If, Else and Endif
// are followed by setup's skip rules (the first Else or Endif line, no nesting
// count, past section headers), so that each message says what setup will do.
#include "check.h"
#include "../base/format.h"
#include "../base/language.h"
#include "../base/text.h"
#include "../platform/files.h"
#include "../script/commands.h"
#include "../script/parse.h"
#include <algorithm>
#include <map>
#include <set>

namespace {

const size_t kNone = static_cast<size_t>(-1);

std::string plural(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// ---- files as setup reads them

struct Piece {
    std::string text;  // at most 1023 characters, with the line feed that ends the line
    int line;          // the line of the file it comes from
    bool tail;         // a later piece of a longer line: setup takes it as a line of its own
};

// What one piece is to setup.
struct LineInfo {
    bool header = false;     // its first non-blank character is "["
    bool columnOne = false;  // "[" in column one: it ends the section above
    std::string headerName;
    std::string firstWord;   // what the skip of If and Else compares
    bool comment = false;    // blank, or ";" first
    bool runs = false;       // inside a section (after a header)
    size_t section = kNone;  // the header of the section it runs in
    int code = -1;           // the command, -1 for none
    bool unknown = false;
    std::string token[2];
    bool bare[2] = {true, true};
    bool given[2] = {false, false};
};

enum FileRole { RoleScript, RoleLanguage, RoleData };

struct ScriptFile {
    std::string name;
    FileRole role = RoleScript;
    std::vector<Piece> pieces;
    std::vector<LineInfo> lines;
    std::set<std::string> loadedSections;  // lower-case names some Include runs (language files)
    bool included = false;                 // some Include loads it (language files)
    bool read = false;                     // its text could be read
    size_t firstCD = kNone;                // its first CD line
    // the first line at or after each line whose first word is Else or Endif,
    // and Endif: where the skips of If and Else stop
    std::vector<size_t> nextElseOrEndif, nextEndif;
    std::map<std::string, size_t> sections;  // lower-case name: its first header line
};

// A variable written by a line: set, Strcat, GetPgmGroup, GetTempFileName.
struct Definition {
    size_t file;
    size_t piece;
    std::string name;
    bool literal;  // set with a quoted text
    std::string text;
};

bool readPieces(const std::string& name, std::vector<Piece>& pieces) {
    PlatFile* f = platFileOpen(name.c_str(), "rb");
    if (!f) return false;
    char buffer[kLineBytes];
    int line = 1;
    bool tail = false;
    int n;
    while ((n = platFileReadPiece(f, buffer, kLineBytes)) > 0) {
        pieces.push_back({std::string(buffer), line, tail});
        bool ended = buffer[n - 1] == '\n';
        if (ended) line++;
        // a full piece without its line feed: the line goes on in the next piece
        tail = !ended && n == kLineBytes - 1;
    }
    platFileClose(f);
    return true;
}

std::string firstWordOf(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && isScriptBlank(text[i])) i++;
    size_t start = i;
    while (i < text.size() && !isScriptBlank(text[i])) i++;
    return text.substr(start, i - start);
}

void describeLines(ScriptFile& file) {
    file.lines.assign(file.pieces.size(), LineInfo());
    file.sections.clear();
    file.firstCD = kNone;
    file.nextElseOrEndif.assign(file.pieces.size() + 1, kNone);
    file.nextEndif.assign(file.pieces.size() + 1, kNone);
    for (size_t i = file.pieces.size(); i-- > 0;) {
        std::string word = firstWordOf(file.pieces[i].text);
        bool endif = textEqualNoCase(word, "Endif");
        file.nextEndif[i] = endif ? i : file.nextEndif[i + 1];
        file.nextElseOrEndif[i] = endif || textEqualNoCase(word, "Else") ? i : file.nextElseOrEndif[i + 1];
    }
    size_t section = kNone;
    for (size_t i = 0; i < file.pieces.size(); i++) {
        const std::string& text = file.pieces[i].text;
        LineInfo& info = file.lines[i];
        info.firstWord = firstWordOf(text);
        size_t p = 0;
        while (p < text.size() && isScriptBlank(text[p])) p++;
        if (p < text.size() && text[p] == '[') {
            info.header = true;
            info.columnOne = p == 0;
            size_t end = text.find_first_of("]\n", p + 1);
            info.headerName = text.substr(p + 1, (end == std::string::npos ? text.size() : end) - p - 1);
            file.sections.insert({lowerAsciiText(info.headerName), i});  // the first of a name stays
            // a header in column one ends the section above; an indented one
            // starts a section only where none runs
            if (info.columnOne || section == kNone) {
                section = i;
                continue;
            }
        }
        info.runs = section != kNone;
        info.section = section;
        if (p >= text.size() || text[p] == ';') {
            info.comment = true;
            continue;
        }
        std::string copy = text;
        ParsedLine parsed;
        parseScriptLine(&copy[0], &parsed);
        info.code = parsed.code;
        info.unknown = parsed.unknown;
        if (parsed.code == CmdCD && file.firstCD == kNone) file.firstCD = i;
        for (int a = 0; a < 2; a++) {
            info.token[a] = parsed.token[a] ? parsed.token[a] : "";
            info.bare[a] = parsed.bare[a];
            info.given[a] = !parsed.bare[a] || !info.token[a].empty();
        }
    }
}

// Where the section that starts after header ends: the next header in column one.
size_t sectionEnd(const ScriptFile& file, size_t header) {
    for (size_t i = header + 1; i < file.lines.size(); i++)
        if (file.lines[i].columnOne) return i;
    return file.lines.size();
}

// The header of the section name, as setup finds it: the first header line of
// that name, ignoring case, indented or not.
size_t findSection(const ScriptFile& file, const std::string& name) {
    auto it = file.sections.find(lowerAsciiText(name));
    return it == file.sections.end() ? kNone : it->second;
}

// A relative path that setup opens from its working directory (the folder
// checked); absolute ones name places on the machine it installs on.
bool isRelativePath(const std::string& path) {
    if (path.empty() || path[0] == '\\' || path[0] == '/') return false;
    return !(path.size() >= 2 && path[1] == ':');
}

// Whether the folder of a relative file name exists here. A file named in a
// folder the medium does not have is taken to be made by the install (a
// copy, a tree copy) and is not looked for.
bool folderExists(const std::string& name) {
    size_t cut = name.find_last_of("\\/");
    if (cut == std::string::npos) return true;
    PlatDirList* list = platOpenDir(name.substr(0, cut).c_str());
    if (list) platCloseDir(list);
    return list != nullptr;
}

std::string sameFileKey(const std::string& name) {
    std::string key = lowerAsciiText(name);
    std::replace(key.begin(), key.end(), '\\', '/');
    while (key.compare(0, 2, "./") == 0) key.erase(0, 2);
    return key;
}

// Edit distance of two words ignoring case, for "did you mean".
size_t distanceNoCase(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); j++) row[j] = j;
    for (size_t i = 1; i <= a.size(); i++) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); j++) {
            size_t above = row[j];
            size_t cost = lowerAscii(a[i - 1]) == lowerAscii(b[j - 1]) ? 0 : 1;
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + cost});
            diagonal = above;
        }
    }
    return row[b.size()];
}

class Checker {
  public:
    CheckReport run();

  private:
    std::vector<ScriptFile> files;
    std::vector<size_t> languages;  // indexes of the language files, by name
    std::vector<Definition> definitions;
    std::map<std::string, std::vector<size_t>> definitionsOf;  // lower-case name: its definitions
    std::set<std::string> written;          // lower-case names of variables some line or command writes
    std::set<std::string> appended;         // files the script writes with AppendFile
    struct Message {
        size_t file;
        int line;
        bool error;
        std::string text;
        size_t order;
    };
    std::vector<Message> messages;
    std::set<std::string> reported;  // one message said twice (a key missing for two languages...) shows once

    void report(size_t file, int line, bool error, const std::string& text) {
        std::string key = std::to_string(file) + ":" + std::to_string(line) + (error ? "e" : "w") + text;
        if (!reported.insert(key).second) return;
        messages.push_back({file, line, error, text, messages.size()});
    }
    void error(size_t file, size_t piece, const std::string& text) {
        report(file, files[file].pieces[piece].line, true, text);
    }
    void warning(size_t file, size_t piece, const std::string& text) {
        report(file, files[file].pieces[piece].line, false, text);
    }
    int lineOf(size_t file, size_t piece) const { return files[file].pieces[piece].line; }

    size_t addFile(const std::string& name, FileRole role);
    size_t fileNamed(const std::string& name) const;
    void findLanguageFiles();
    void discover(size_t file);
    std::vector<size_t> includedFiles(size_t file, size_t piece) const;
    void collectDefinitions();

    void checkPieces(size_t file);
    void checkLine(size_t file, size_t piece);
    void checkArguments(size_t file, size_t piece, const CommandRow& row);
    void checkSections(size_t file);
    void checkBlocks(size_t file, size_t header);
    void checkSkip(size_t file, size_t from, size_t sectionEnd, size_t target, bool fromIf,
                   const std::map<size_t, size_t>& owner);
    bool sameEffect(size_t file, size_t stop, size_t target) const;
    void checkSilentBoxes(size_t file, size_t header);
    void checkKeys();
    void checkConversions();
    void checkSetupTypes();
    void checkText(size_t file, size_t piece, const std::string& subject, const std::string& text, int args);
    bool isDefinedIn(size_t language, const std::string& name) const;
    bool definedInScript(const std::string& name) const;
    const std::vector<size_t>& definitionsNamed(const std::string& name) const;
};

size_t Checker::fileNamed(const std::string& name) const {
    for (size_t i = 0; i < files.size(); i++)
        if (sameFileKey(files[i].name) == sameFileKey(name)) return i;
    return kNone;
}

size_t Checker::addFile(const std::string& name, FileRole role) {
    ScriptFile file;
    file.name = name;
    file.role = role;
    if (!readPieces(name, file.pieces)) return kNone;
    file.read = true;
    if (role != RoleData) describeLines(file);
    files.push_back(file);
    return files.size() - 1;
}

// Every setup.<Language>.txt beside setup.ini, by name.
void Checker::findLanguageFiles() {
    PlatDirList* list = platOpenDir(".");
    if (!list) return;
    std::vector<std::string> names;
    PlatDirEntry entry;
    while (platReadDir(list, &entry)) {
        if (entry.isDir) continue;
        std::string name = entry.name;
        if (name.size() <= 10 || !textEqualNoCase(name.substr(0, 6), "setup.") ||
            !textEqualNoCase(name.substr(name.size() - 4), ".txt"))
            continue;
        names.push_back(name);
    }
    platCloseDir(list);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return compareNoCase(a.c_str(), b.c_str()) < 0;
    });
    for (const std::string& name : names) {
        std::string language = name.substr(6, name.size() - 10);
        const char* chosen = languageChosenFor(language.c_str());
        // names compare ignoring case: setup opens setup.French.txt as setup.french.txt
        if (!chosen || !textEqualNoCase(language, chosen)) {
            size_t stray = addFile(name, RoleData);
            if (stray == kNone) continue;
            std::string why = !chosen ? "no language is named \"" + language + "\""
                                      : "its language code is that of " + std::string(chosen) + ", which comes first";
            report(stray, 0, false, "setup never chooses this file: " + why);
            continue;
        }
        size_t index = addFile(name, RoleLanguage);
        if (index != kNone) languages.push_back(index);
    }
}

// The files an Include line runs a section of: the one it names, or every
// language file for the word languagefile.
std::vector<size_t> Checker::includedFiles(size_t file, size_t piece) const {
    const LineInfo& info = files[file].lines[piece];
    if (info.bare[0]) return textEqualNoCase(info.token[0], "languagefile") ? languages : std::vector<size_t>{};
    size_t index = fileNamed(info.token[0]);
    return index == kNone ? std::vector<size_t>{} : std::vector<size_t>{index};
}

// Reads the files that the lines of file include or parse.
void Checker::discover(size_t file) {
    for (size_t i = 0; i < files[file].lines.size(); i++) {
        const LineInfo info = files[file].lines[i];
        if (!info.runs || (info.code != CmdInclude && info.code != CmdParseFile) || info.bare[0]) continue;
        const std::string& name = info.token[0];
        if (!isRelativePath(name)) continue;
        size_t known = fileNamed(name);
        if (known == kNone) {
            addFile(name, info.code == CmdInclude ? RoleScript : RoleData);
        } else if (info.code == CmdInclude && files[known].role == RoleData) {
            files[known].role = RoleScript;  // a file read as data, or a stray language file, runs as a script
            describeLines(files[known]);
        }
    }
}

void Checker::collectDefinitions() {
    for (size_t f = 0; f < files.size(); f++) {
        const ScriptFile& file = files[f];
        for (size_t i = 0; i < file.lines.size(); i++) {
            const LineInfo& info = file.lines[i];
            if (!info.runs || info.code < 0) continue;
            const CommandRow* row = commandRow(info.code);
            if (row->args[0] == ArgVariable && info.given[0]) {
                bool literal = info.code == CmdSet && info.given[1] && !info.bare[1];
                definitionsOf[lowerAsciiText(info.token[0])].push_back(definitions.size());
                definitions.push_back({f, i, info.token[0], literal, literal ? info.token[1] : ""});
                written.insert(lowerAsciiText(info.token[0]));
            }
            for (const char* const* v = row->sets; *v; v++) written.insert(lowerAsciiText(*v));
            if (info.code == CmdAppendFile && info.given[1] && !info.bare[1]) appended.insert(sameFileKey(info.token[1]));
        }
    }
}

// ---- lines

void Checker::checkPieces(size_t f) {
    const ScriptFile& file = files[f];
    for (size_t i = 0; i < file.pieces.size(); i++) {
        const Piece& piece = file.pieces[i];
        if (piece.tail && !(i > 0 && file.pieces[i - 1].tail) && piece.text != "\n")
            error(f, i,
                  "line longer than 1023 characters: setup reads it in pieces, and takes the text from column 1024 "
                  "on as a line of its own");
    }
    if (file.role == RoleData) return;
    bool headerSeen = false;
    for (size_t i = 0; i < file.lines.size(); i++) {
        const LineInfo& info = file.lines[i];
        if (info.header) {
            if (headerSeen && !info.columnOne) {
                std::string above = file.lines[info.section].headerName;
                error(f, i,
                      "indented section header \"[" + info.headerName + "]\" does not end section \"" + above +
                          "\": setup runs it as a line (an unknown command word) and the lines below it as part of \"" +
                          above + "\"");
            }
            size_t first = findSection(file, info.headerName);
            if (first != i)
                warning(f, i,
                        "section \"" + info.headerName + "\" comes again: setup finds only the first, at line " +
                            std::to_string(lineOf(f, first)));
            headerSeen = true;
            continue;
        }
        if (!info.runs) {
            if (!info.comment) warning(f, i, "this line comes before the first section header, so setup never runs it");
            continue;
        }
        if (file.pieces[i].tail || info.comment) continue;
        checkLine(f, i);
    }
}

void Checker::checkLine(size_t f, size_t i) {
    const LineInfo& info = files[f].lines[i];
    if (info.unknown) {
        std::string word = info.firstWord;
        std::string text = "unknown command word \"" + word + "\"";
        if (word[0] == '#' || word.compare(0, 2, "//") == 0) {
            text += "; a comment line starts with \";\"";
        } else if (word.size() >= 3) {
            const CommandRow* best = nullptr;
            size_t bestDistance = 3;
            for (int r = 0; r < commandCount; r++) {
                size_t d = distanceNoCase(word, commandTable[r].word);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = &commandTable[r];
                }
            }
            if (best) text += std::string("; did you mean \"") + best->word + "\"?";
        }
        error(f, i, text);
        return;
    }
    checkArguments(f, i, *commandRow(info.code));
}

void Checker::checkArguments(size_t f, size_t i, const CommandRow& row) {
    const LineInfo& info = files[f].lines[i];
    // after a CD, relative names are taken from a folder this check does not follow
    bool afterCD = files[f].firstCD < i;
    int given = (info.given[0] ? 1 : 0) + (info.given[1] ? 1 : 0);
    if (given < row.leastArgs) {
        bool optional = row.leastArgs < 2 && row.args[1] != ArgUnused;
        error(f, i,
              std::string(row.word) + " needs " + (optional ? "at least " : "") +
                  plural(row.leastArgs, "argument", "arguments") + ", " + (given ? std::to_string(given) : "none") +
                  " given");
    }
    for (int a = 0; a < 2; a++) {
        ArgKind kind = row.args[a];
        if (kind == ArgUnused || kind == ArgVariable || kind == ArgWord || !info.given[a]) continue;
        const std::string& token = info.token[a];
        if (info.bare[a]) {
            if (!written.count(lowerAsciiText(token)))
                warning(f, i,
                        "the bare word " + token +
                            " names a variable that is never set, so it passes no value; quote it to pass the text");
            continue;
        }
        if (kind == ArgMessage) checkText(f, i, "the message \"" + token + "\"", token, 0);
        if (kind == ArgScript) {
            if (isRelativePath(token) && !afterCD && fileNamed(token) == kNone && !appended.count(sameFileKey(token)))
                error(f, i, std::string(row.word) + " names the file \"" + token + "\", which does not exist");
        }
        if (kind == ArgFile && isRelativePath(token) && !afterCD && !platFileReadable(token.c_str()) &&
            !appended.count(sameFileKey(token)) && folderExists(token)) {
            std::string text = std::string(row.word) + " names the file \"" + token + "\", which does not exist";
            if (info.code == CmdParseFile) error(f, i, text);
            else warning(f, i, text);
        }
        if (kind == ArgSection) {
            std::vector<size_t> targets = info.code == CmdInclude ? includedFiles(f, i) : std::vector<size_t>{f};
            for (size_t t : targets) {
                size_t header = findSection(files[t], token);
                if (info.code == CmdInclude) {
                    files[t].included = true;
                    if (header != kNone) files[t].loadedSections.insert(lowerAsciiText(token));
                }
                if (header == kNone)
                    error(f, i,
                          std::string(row.word) + " names the section \"" + token + "\", which " + files[t].name +
                              " does not have");
            }
        }
    }
    if (info.code == CmdInclude && info.bare[0] && textEqualNoCase(info.token[0], "languagefile")) {
        if (languages.empty())
            error(f, i, "Include languagefile: there is no setup.<Language>.txt beside setup.ini");
        else if (fileNamed("setup.English.txt") == kNone)
            error(f, i,
                  "Include languagefile: setup.English.txt, which setup takes for every language without a file of "
                  "its own, does not exist");
    }
}

// ---- sections, and If, Else and Endif as setup skips them

void Checker::checkSections(size_t f) {
    const ScriptFile& file = files[f];
    for (size_t i = 0; i < file.lines.size(); i++) {
        // a header that starts a section: in column one, or the first of the file
        if (!file.lines[i].header || file.lines[i].section != kNone) continue;
        checkBlocks(f, i);
        checkSilentBoxes(f, i);
    }
}

// Whether stopping at stop instead of target runs the same: only Endif lines
// (and comments) lie between two Endif lines.
bool Checker::sameEffect(size_t f, size_t stop, size_t target) const {
    const ScriptFile& file = files[f];
    if (!textEqualNoCase(file.lines[stop].firstWord, "Endif") || !textEqualNoCase(file.lines[target].firstWord, "Endif"))
        return false;
    for (size_t i = stop + 1; i < target; i++)
        if (!file.lines[i].comment && !textEqualNoCase(file.lines[i].firstWord, "Endif")) return false;
    return true;
}

// The first line after from whose first word is Else or Endif (If) or Endif (Else).
size_t skipTarget(const ScriptFile& file, size_t from, bool fromIf) {
    return fromIf ? file.nextElseOrEndif[from + 1] : file.nextEndif[from + 1];
}

void Checker::checkSkip(size_t f, size_t from, size_t end, size_t target, bool fromIf,
                        const std::map<size_t, size_t>& owner) {
    const ScriptFile& file = files[f];
    size_t stop = skipTarget(file, from, fromIf);
    if (stop == target || stop == kNone) return;  // as meant, or the If without Endif said already
    std::string skip = fromIf ? "when its condition is 0, setup skips from this If" : "setup skips from this Else";
    const std::string& word = file.lines[stop].firstWord;
    std::string what = textEqualNoCase(word, "Else") ? "Else" : "Endif";
    if (stop >= end) {
        warning(f, from,
                skip + " past the section header at line " + std::to_string(lineOf(f, end)) + " to the " + what +
                    " at line " + std::to_string(lineOf(f, stop)) + ", and goes on there");
        return;
    }
    if (target != kNone && stop < target && sameEffect(f, stop, target)) return;
    std::string text = skip + " only to the " + what + " at line " + std::to_string(lineOf(f, stop));
    auto o = owner.find(stop);
    if (o != owner.end()) text += ", which belongs to the If at line " + std::to_string(lineOf(f, o->second));
    warning(f, from, text + ": If blocks do not nest");
}

void Checker::checkBlocks(size_t f, size_t header) {
    const ScriptFile& file = files[f];
    size_t end = sectionEnd(file, header);
    const std::string& name = file.lines[header].headerName;
    struct Block {
        size_t ifLine, elseLine, endifLine;
    };
    std::vector<Block> open, blocks;
    std::map<size_t, size_t> owner;  // an Else or Endif line, and its If line
    for (size_t i = header + 1; i < end; i++) {
        const std::string& w = file.lines[i].firstWord;
        if (file.lines[i].comment) continue;
        if (textEqualNoCase(w, "If")) {
            open.push_back({i, kNone, kNone});
        } else if (textEqualNoCase(w, "Else")) {
            if (open.empty()) {
                error(f, i, "Else without If in section \"" + name + "\"");
            } else if (open.back().elseLine != kNone) {
                error(f, i,
                      "Else after the Else at line " + std::to_string(lineOf(f, open.back().elseLine)) +
                          ": the lines after it never run");
            } else {
                open.back().elseLine = i;
                owner[i] = open.back().ifLine;
            }
        } else if (textEqualNoCase(w, "Endif")) {
            if (open.empty()) {
                error(f, i, "Endif without If in section \"" + name + "\"");
            } else {
                open.back().endifLine = i;
                owner[i] = open.back().ifLine;
                blocks.push_back(open.back());
                open.pop_back();
            }
        }
    }
    for (const Block& b : open) {
        std::string text = "If without Endif before the end of section \"" + name + "\"";
        bool withElse = b.elseLine != kNone;
        if (skipTarget(file, withElse ? b.elseLine : b.ifLine, !withElse) == kNone)
            text += std::string(withElse ? ": after the lines for true, setup finds no Endif"
                                         : ": when its condition is 0, setup finds no Else or Endif") +
                    " before the end of the file, reports ERROR_SYNTAX and ends the section as failed";
        error(f, b.ifLine, text);
        blocks.push_back(b);
    }
    std::sort(blocks.begin(), blocks.end(), [](const Block& a, const Block& b) { return a.ifLine < b.ifLine; });
    for (const Block& b : blocks) {
        checkSkip(f, b.ifLine, end, b.elseLine != kNone ? b.elseLine : b.endifLine, true, owner);
        if (b.elseLine != kNone) checkSkip(f, b.elseLine, end, b.endifLine, false, owner);
    }
}

// A message box in silent mode shows nothing and leaves the condition: an If
// right after it tests an earlier result, unless IsSilent was tested around it.
void Checker::checkSilentBoxes(size_t f, size_t header) {
    const ScriptFile& file = files[f];
    size_t end = sectionEnd(file, header);
    std::vector<int> tests;  // the command before each open If
    int silentTests = 0;     // how many of them are IsSilent
    int previous = -1;
    for (size_t i = header + 1; i < end; i++) {
        const LineInfo& info = file.lines[i];
        if (info.comment || info.header) continue;
        if (info.code == CmdIf) {
            tests.push_back(previous);
            if (previous == CmdIsSilent) silentTests++;
        } else if (info.code == CmdEndif && !tests.empty()) {
            if (tests.back() == CmdIsSilent) silentTests--;
            tests.pop_back();
        }
        const CommandRow* row = info.code >= 0 ? commandRow(info.code) : nullptr;
        bool guarded = previous == CmdIsSilent || silentTests > 0;
        if (row && (row->traits & TraitSilentKeepsCondition) && !guarded) {
            for (size_t j = i + 1; j < end; j++) {
                const LineInfo& next = file.lines[j];
                if (next.comment || next.header || next.code < 0 || next.code == CmdEndif) continue;
                if (next.code == CmdIf) {
                    warning(f, i,
                            std::string("in silent mode ") + row->word +
                                " shows nothing and leaves the condition as it was, so the If at line " +
                                std::to_string(lineOf(f, j)) + " tests an earlier result (test IsSilent first)");
                }
                const CommandRow* nextRow = commandRow(next.code);
                if (next.code == CmdIf || next.code == CmdElse ||
                    (nextRow->traits & (TraitCondition | TraitRunsSection)))
                    break;
            }
        }
        previous = info.code;
    }
}

// ---- message keys

const std::vector<size_t>& Checker::definitionsNamed(const std::string& name) const {
    static const std::vector<size_t> none;
    auto it = definitionsOf.find(lowerAsciiText(name));
    return it == definitionsOf.end() ? none : it->second;
}

bool Checker::definedInScript(const std::string& name) const {
    for (size_t d : definitionsNamed(name))
        if (files[definitions[d].file].role == RoleScript) return true;
    return false;
}

// Defined by a section of the language file that some Include runs.
bool Checker::isDefinedIn(size_t language, const std::string& name) const {
    const ScriptFile& file = files[language];
    for (size_t index : definitionsNamed(name)) {
        const Definition& d = definitions[index];
        if (d.file != language) continue;
        size_t section = file.lines[d.piece].section;
        if (section != kNone && file.loadedSections.count(lowerAsciiText(file.lines[section].headerName))) return true;
    }
    return false;
}

void Checker::checkKeys() {
    // a language file whose included section is missing is said so once, not key by key
    std::vector<size_t> loaded;
    for (size_t l : languages) {
        if (!files[l].included) report(l, 0, false, "setup never loads this file: no Include names languagefile or this file");
        else if (!files[l].loadedSections.empty()) loaded.push_back(l);
    }
    if (loaded.empty()) return;
    // the keys the commands of the script show, at their first use
    struct Use {
        std::string key;
        size_t file, piece;
        const char* command;
    };
    std::map<std::string, Use> needed;  // by lower-case key
    std::vector<std::string> order;
    for (size_t f = 0; f < files.size(); f++) {
        if (files[f].role == RoleData) continue;
        for (size_t i = 0; i < files[f].lines.size(); i++) {
            const LineInfo& info = files[f].lines[i];
            if (!info.runs || info.code < 0) continue;
            const CommandRow* row = commandRow(info.code);
            for (const MessageKey* k = row->keys; k->name; k++) {
                if (k->use != KeyNeeded || needed.count(lowerAsciiText(k->name))) continue;
                needed[lowerAsciiText(k->name)] = {k->name, f, i, row->word};
                order.push_back(lowerAsciiText(k->name));
            }
        }
    }
    // one message per line and language file, naming every key missing there
    for (size_t l : loaded) {
        std::map<std::pair<size_t, size_t>, std::vector<std::string>> missing;
        std::vector<std::pair<size_t, size_t>> lines;
        for (const std::string& key : order) {
            const Use& use = needed[key];
            if (definedInScript(use.key) || isDefinedIn(l, use.key)) continue;
            std::pair<size_t, size_t> at(use.file, use.piece);
            if (!missing.count(at)) lines.push_back(at);
            missing[at].push_back(use.key);
        }
        for (const auto& at : lines) {
            const std::vector<std::string>& keys = missing[at];
            std::string names;
            for (size_t k = 0; k < keys.size(); k++)
                names += (k == 0 ? "" : k + 1 == keys.size() ? " and " : ", ") + keys[k];
            error(at.first, at.second,
                  names + ", which " + needed[lowerAsciiText(keys[0])].command + " shows, " +
                      (keys.size() == 1 ? "is" : "are") + " not defined in " + files[l].name);
        }
    }
    // every text of one language in the others
    std::set<std::string> seen;
    for (size_t l : loaded) {
        for (const Definition& d : definitions) {
            if (d.file != l || !isDefinedIn(l, d.name) || !seen.insert(lowerAsciiText(d.name)).second) continue;
            if (definedInScript(d.name) || needed.count(lowerAsciiText(d.name))) continue;
            for (size_t other : loaded)
                if (other != l && !isDefinedIn(other, d.name))
                    error(d.file, d.piece, d.name + " is defined here but not in " + files[other].name);
        }
    }
}

void Checker::checkText(size_t f, size_t piece, const std::string& subject, const std::string& text, int args) {
    std::vector<TextConversion> found = textConversions(text.c_str());
    for (const TextConversion& c : found) {
        if (c.fillable) continue;
        error(f, piece,
              subject + " has the conversion \"" + c.written + "\", which setup shows as written: it fills only %s" +
                  (args ? "" : " (write %% for a percent sign)"));
        return;
    }
    int count = static_cast<int>(found.size());
    if (count <= args) return;
    if (args == 0)
        error(f, piece, subject + " has the conversion \"" + found[0].written +
                            "\", but setup gives it no text to fill (write %% for a percent sign)");
    else
        error(f, piece,
              subject + " has " + plural(count, "conversion", "conversions") + ", but setup fills only " +
                  std::to_string(args));
}

// Texts that are used as formats: message keys by what they are given, and
// variables shown as messages, which are given nothing.
void Checker::checkConversions() {
    std::map<std::string, int> expected;
    auto expect = [&expected](const std::string& name, int args) {
        if (args == kShownAsWritten) return;
        std::string key = lowerAsciiText(name);
        auto it = expected.find(key);
        if (it == expected.end() || args < it->second) expected[key] = args;
    };
    for (const MessageKey* k = runnerKeys; k->name; k++) expect(k->name, k->args);
    for (int r = 0; r < commandCount; r++)
        for (const MessageKey* k = commandTable[r].keys; k->name; k++) expect(k->name, k->args);
    for (const ScriptFile& file : files)
        for (const LineInfo& info : file.lines)
            if (info.runs && info.code >= 0)
                for (int a = 0; a < 2; a++)
                    if (commandRow(info.code)->args[a] == ArgMessage && info.given[a] && info.bare[a])
                        expect(info.token[a], 0);
    for (const Definition& d : definitions) {
        auto it = expected.find(lowerAsciiText(d.name));
        if (d.literal && it != expected.end()) checkText(d.file, d.piece, "the text of " + d.name, d.text, it->second);
    }
}

// The setup-type list shows SETUPTYPE0, SETUPTYPE1... in order.
void Checker::checkSetupTypes() {
    std::vector<size_t> sets;  // the language files, or the script alone without them
    for (size_t l : languages)
        if (!files[l].loadedSections.empty()) sets.push_back(l);
    if (sets.empty()) sets.push_back(kNone);
    for (size_t language : sets) {
        const Definition* defined[10] = {};
        for (const Definition& d : definitions) {
            bool counts = files[d.file].role == RoleScript || (language != kNone && d.file == language &&
                                                              isDefinedIn(language, d.name));
            if (!counts || d.name.size() != 10 || !textEqualNoCase(d.name.substr(0, 9), "SETUPTYPE")) continue;
            char digit = d.name[9];
            if (digit >= '0' && digit <= '9' && !defined[digit - '0']) defined[digit - '0'] = &d;
        }
        for (int n = 1; n < 10; n++) {
            if (!defined[n] || defined[n - 1]) continue;
            int missing = 0;
            while (defined[missing]) missing++;
            warning(defined[n]->file, defined[n]->piece,
                    defined[n]->name + " is defined but SETUPTYPE" + std::to_string(missing) +
                        " is not: the setup types must be numbered from SETUPTYPE0 without a gap");
        }
    }
}

CheckReport Checker::run() {
    size_t script = addFile("setup.ini", RoleScript);
    if (script == kNone) {
        files.push_back(ScriptFile());
        files.back().name = "setup.ini";
        report(0, 0, true, "there is no setup.ini here, or it cannot be read");
    } else {
        findLanguageFiles();
        for (size_t f = 0; f < files.size(); f++)
            if (files[f].role == RoleScript || files[f].role == RoleLanguage) discover(f);
        collectDefinitions();
        if (findSection(files[script], "Setup") == kNone)
            report(script, 0, true, "there is no section \"Setup\", which setup runs");
        for (size_t f = 0; f < files.size(); f++) {
            checkPieces(f);
            if (files[f].role != RoleData) checkSections(f);
        }
        checkKeys();
        checkConversions();
        checkSetupTypes();
    }
    // setup.ini first, then the files it includes as found, the language
    // files, and the files it parses
    std::vector<size_t> rank(files.size());
    size_t next = 0;
    for (FileRole role : {RoleScript, RoleLanguage, RoleData})
        for (size_t f = 0; f < files.size(); f++)
            if (files[f].role == role) rank[f] = next++;
    std::sort(messages.begin(), messages.end(), [&rank](const Message& a, const Message& b) {
        if (a.file != b.file) return rank[a.file] < rank[b.file];
        if (a.line != b.line) return a.line < b.line;
        return a.order < b.order;
    });
    CheckReport result;
    for (const ScriptFile& file : files)
        if (file.read) result.files++;
    for (const Message& m : messages) {
        result.messages.push_back({files[m.file].name, m.line, m.error, m.text});
        (m.error ? result.errors : result.warnings)++;
    }
    return result;
}

}  // namespace

CheckReport checkSetupScripts() {
    Checker checker;
    return checker.run();
}

std::string formatCheckReport(const CheckReport& report, const std::string& prefix) {
    std::string out;
    for (const CheckMessage& m : report.messages) {
        out += prefix + m.file;
        if (m.line > 0) out += ":" + std::to_string(m.line);
        out += std::string(": ") + (m.error ? "error: " : "warning: ") + m.text + "\n";
    }
    out += "setupcheck: " + plural(report.files, "file", "files") + " checked, " +
           plural(report.errors, "error", "errors") + ", " + plural(report.warnings, "warning", "warnings") + "\n";
    return out;
}
