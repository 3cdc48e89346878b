// The script format: sections, line pieces, command words and arguments.
#include "parse.h"
#include "commands.h"
#include "store.h"
#include "text.h"
#include <cstring>

int readTextPiece(char* buf, int size, FILE* file) {
    int n = 0;
    while (n < size - 1) {
        int c = std::fgetc(file);
        if (c == EOF) break;
        if (c == '\r') {
            int c2 = std::fgetc(file);
            if (c2 == '\n') c = '\n';
            else if (c2 != EOF) std::ungetc(c2, file);
        }
        buf[n++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    buf[n] = 0;
    return n;
}

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

int FindSection(const char* name, FILE* file) {
    if (!name || !file) return 0;
    std::fseek(file, 0, SEEK_SET);
    char line[kLineBytes];
    while (readTextPiece(line, kLineBytes, file) > 0) {
        char* header;
        if (headerName(line, &header) && textEqualNoCase(header, name)) return 1;
    }
    return 0;
}

int ReadScriptLine(char* buf, FILE* file) {
    if (std::feof(file)) return 1;
    if (readTextPiece(buf, kLineBytes, file) == 0) return 1;  // nothing left
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
