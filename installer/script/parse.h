// Script files: sections, line pieces and the parsing of one command line.
#pragma once
#include "../platform/files.h"

const int kLineBytes = 1024;  // one line piece holds at most 1023 characters

// Seeks to the start and reads until the header named name (ignoring case);
// the file is then positioned on the line after it. Returns 1 found, 0 not.
int FindSection(const char* name, PlatFile* file);

// The number, from 1, of the line that starts at position in the file (a
// line read in pieces keeps one number); the file's position is left as it
// was. For the install log and messages: it reads the file from its start.
int lineNumberAt(PlatFile* file, long position);

// Reads the next line of the section into buf (kLineBytes). Returns 1 when the
// section has ended (end of file, or a line starting with "[" in column one).
int ReadScriptLine(char* buf, PlatFile* file);
// A line of a file that starts with the UTF-8 byte-order mark, converted in
// place (within kLineBytes) as platTextFromUtf8 says; a byte-order mark at
// its start goes.
void convertUtf8Line(char* line);

struct ParsedLine {
    int code;               // command code, or -1 for a comment or an unknown word
    bool unknown;           // the first word is no command
    const char* word;       // the line from its start to the end of the command word
    const char* value[2];   // argument values, nullptr for none
    const char* token[2];   // arguments as written ("" when missing)
    bool bare[2];           // written as a bare word
};

// Parses line in place (words are terminated inside it).
void parseScriptLine(char* line, ParsedLine* out);
