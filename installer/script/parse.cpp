// The script format: sections, line pieces, command words and arguments.
#include "parse.h"
#include "commands.h"
#include "runstate.h"
#include "store.h"
#include "../base/text.h"
#include <cstring>

// The name of a header line: from after "[" to the first "]" or the line end.
static bool headerName(char* line, char** name) {
    char* p = line;
    while (*p && isScriptBlank(*p)) p++;
    if (*p != '[') return false;
    p++;
    char* end = p;
    while (*end && *end != ']' && *end != '\n') end++;
    *end = 0;
    *name = p;
    return true;
}

void convertUtf8Line(char* line) {
    std::string text = startsWithUtf8Bom(line) ? line + 3 : line;
    copyText(line, kLineBytes, platTextFromUtf8(text).c_str());
}

int FindSection(const char* name, PlatFile* file) {
    if (!name || !file) return 0;
    platFileSeek(file, 0, SEEK_SET);
    // a header of a UTF-8 file is compared as the names its lines give
    bool utf8 = file == run.scriptFile && run.scriptUtf8;
    char line[kLineBytes];
    while (platFileReadPiece(file, line, kLineBytes) > 0) {
        if (utf8) convertUtf8Line(line);
        char* header;
        if (headerName(line, &header) && textEqualNoCase(header, name)) return 1;
    }
    return 0;
}

int lineNumberAt(PlatFile* file, long position) {
    if (!file) return 0;
    long saved = platFileTell(file);
    platFileSeek(file, 0, SEEK_SET);
    int number = 1;
    char piece[kLineBytes];
    while (platFileTell(file) < position) {
        int n = platFileReadPiece(file, piece, kLineBytes);
        if (n <= 0) break;
        if (piece[n - 1] == '\n' && platFileTell(file) <= position) number++;
    }
    platFileSeek(file, saved, SEEK_SET);
    return number;
}

int ReadScriptLine(char* buf, PlatFile* file) {
    if (platFileAtEnd(file)) return 1;
    if (platFileReadPiece(file, buf, kLineBytes) == 0) return 1;  // nothing left
    return buf[0] == '[' ? 1 : 0;
}

// Parses one argument starting at *pp; leaves *pp after it.
static void parseArgument(char** pp, ParsedLine* out, int slot) {
    char* p = *pp;
    while (*p && isScriptBlank(*p)) p++;
    if (*p == '"') {
        // quoted: a literal up to the next quote or the end of the line
        char* start = ++p;
        while (*p && *p != '"') p++;
        if (*p == '"') *p++ = 0;
        out->value[slot] = start;
        out->token[slot] = start;
        out->bare[slot] = false;
    } else {
        // bare word: names a variable
        char* start = p;
        while (*p && !isScriptBlank(*p)) p++;
        if (*p) *p++ = 0;
        out->token[slot] = start;
        out->value[slot] = *start ? GetVariable(start) : nullptr;
        out->bare[slot] = true;
    }
    *pp = p;
}

void parseScriptLine(char* line, ParsedLine* out) {
    out->code = -1;
    out->unknown = false;
    out->word = line;
    out->value[0] = out->value[1] = nullptr;
    out->token[0] = out->token[1] = "";
    out->bare[0] = out->bare[1] = true;
    char* p = line;
    while (*p && isScriptBlank(*p)) p++;
    if (!*p || *p == ';') return;  // blank line or comment
    char* wordStart = p;
    while (*p && !isScriptBlank(*p)) p++;
    char saved = *p;
    *p = 0;
    int code = findCommand(wordStart);
    if (code < 0) {
        out->unknown = true;  // the word stays terminated for the error text
        return;
    }
    out->code = code;
    if (saved) p++;
    parseArgument(&p, out, 0);
    parseArgument(&p, out, 1);
}
