#include "tokens.h"

int SplitConfigTokens(char* line, char** tokens, int maxTokens, bool* overflow) {
    int count = 0;
    *overflow = false;
    char* in = line;
    while (*in) {
        while (*in == ' ') in++;
        if (!*in) break;
        char* out = in;
        char* start = out;
        bool cut = false;  // a backslash-z ended the token's text
        while (*in && *in != ' ') {
            char c = *in++;
            if (c == '\\') {
                if (!*in) break;  // a final backslash ends the line
                char e = *in++;
                if (e >= '0' && e <= '9') {
                    int v = e - '0';
                    for (int k = 0; k < 2 && *in >= '0' && *in <= '9'; k++) v = v * 10 + (*in++ - '0');
                    c = static_cast<char>(v % 256);
                } else if (e == 'n') {
                    c = '\n';
                } else if (e == 'z') {
                    if (!cut) *out = 0;
                    cut = true;
                    continue;
                } else {
                    c = e;
                }
            }
            if (!cut) *out++ = c;
        }
        bool atEnd = !*in;
        if (!cut) *out = 0;
        if (!atEnd) in++;  // past the separating space (out never passes in)
        if (count < maxTokens) tokens[count++] = start;
        else *overflow = true;
        if (atEnd) break;
    }
    return count;
}
